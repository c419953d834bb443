// kestrune-inspect: JSON for a good file (names escaped), the reader's message and status 1
// for a bad one.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the tool; returns its stdout and sets the exit status.
std::string inspect(const std::string& file, int& status) {
    std::string command =
        std::string(getenv("KESTRUNE_BIN_DIR")) + "/kestrune-inspect '" + file + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    status = WEXITSTATUS(pclose(pipe));
    return out;
}

} // namespace

TEST(Inspect, PrintsObjectsAndMaterialsAsJson) {
    const char* bin = getenv("KESTRUNE_BIN_DIR");
    if (!bin || access((std::string(bin) + "/kestrune-inspect").c_str(), X_OK) != 0)
        GTEST_SKIP() << "kestrune-inspect is not built in KESTRUNE_BIN_DIR";
    Lib3dsFile* file = lib3ds_file_new();
    Lib3dsMesh* mesh = lib3ds_mesh_new("say \"hi\"\\\t");
    lib3ds_mesh_new_point_list(mesh, 3);
    lib3ds_file_insert_mesh(file, mesh);
    char path[] = "/tmp/kestrune-inspect-XXXXXX";
    close(mkstemp(path));
    ASSERT_TRUE(lib3ds_file_save(file, path));
    lib3ds_file_free(file);

    int status = -1;
    std::string out = inspect(path, status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("{\"objects\": [\n  {\"name\": \"say \\\"hi\\\"\\\\\\t\", \"vertexCount\": "
                       "3, \"faceCount\": 0, \"texCoordCount\": 0, \"materialIndex\": 0, "
                       "\"hasTexture\": false}\n], \"materials\": []}\n"),
              std::string::npos)
        << out;

    truncate(path, 20);
    out = inspect(path, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, std::string("Corrupt 3DS file: ") + path + "! (file cut short)\n");
    remove(path);
}
