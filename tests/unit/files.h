// Helpers for the tests that write and read files and run the tools: a private folder,
// whole-file writes and reads, a command's output, camera path files, 3DS files built byte
// by byte from their chunks.
#pragma once
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "math/vecmath.h"

// The folders ctest names: the run folder (KESTRUNE_RUN_DIR) and the build (KESTRUNE_BIN_DIR).
inline std::string envFolder(const char* name) {
    return getenv(name) ? getenv(name) : ".";
}

// A fresh folder under the temporary directory, removed with everything in it.
struct TempFolder {
    std::string path =
        mkdtemp((std::filesystem::temp_directory_path() / "kestrune-XXXXXX").string().data());
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

inline void writeText(const std::string& fileName, const std::string& text) {
    std::ofstream(fileName, std::ios::binary) << text;
}

inline std::string readText(const std::string& fileName) {
    std::stringstream text;
    text << std::ifstream(fileName, std::ios::binary).rdbuf();
    return text.str();
}

// What a shell command writes to its standard output; its exit status goes to *status.
inline std::string commandOutput(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    int result = pipe ? pclose(pipe) : -1;
    if (status)
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return out;
}

// A camera path file: an eye at each point, looking at the point + (1, 0, -5); the first
// `views` eyes have their "view" after them, and the file declares `amount` nodes.
inline std::string pathXml(const std::vector<Vec3>& eyes, size_t views, int amount) {
    std::string text =
        "<?xml version=\"1.0\" ?>\n<camerapath><points amount=\"" + std::to_string(amount) + "\">";
    char node[200];
    for (size_t i = 0; i < eyes.size(); i++) {
        const Vec3& e = eyes[i];
        snprintf(node, sizeof node, "<pos x=\"%g\" y=\"%g\" z=\"%g\"/>", e.x, e.y, e.z);
        text += node;
        snprintf(node, sizeof node, "<view xv=\"%g\" yv=\"%g\" zv=\"%g\"/>", e.x + 1, e.y, e.z - 5);
        text += i < views ? node : "";
    }
    return text + "</points></camerapath>\n";
}

using Bytes = std::vector<uint8_t>;

template <class T> inline void put(Bytes& b, T v) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&v); // little-endian, as in the file
    b.insert(b.end(), p, p + sizeof v);
}
inline Bytes str(const std::string& s) {
    return Bytes(s.c_str(), s.c_str() + s.size() + 1);
}
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
inline Bytes chunk(uint16_t id, std::initializer_list<Bytes> parts) {
    Bytes data = cat(parts), out;
    put(out, id);
    put(out, uint32_t(data.size() + 6));
    return cat({out, data});
}
inline Bytes vertices(std::initializer_list<Vec3> points, size_t extraBytes = 0) {
    Bytes b;
    put(b, uint16_t(points.size()));
    for (Vec3 p : points)
        put(b, p.x), put(b, p.y), put(b, p.z);
    b.resize(b.size() + extraBytes, 0xEE);
    return chunk(0x4110, {b});
}
inline Bytes faces(std::initializer_list<std::array<uint16_t, 4>> list,
                   std::initializer_list<Bytes> children = {}) {
    Bytes b;
    put(b, uint16_t(list.size()));
    for (auto f : list)
        put(b, f);
    return chunk(0x4120, {b, cat(children)});
}
inline Bytes oneFace(std::initializer_list<Bytes> children = {}) {
    return faces({{0, 1, 2, 0}}, children);
}
inline Bytes group(const std::string& material) {
    return chunk(0x4130, {str(material), {1, 0, 0, 0}});
}
inline const Bytes triangle = vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
inline Bytes object(const std::string& name, std::initializer_list<Bytes> meshParts) {
    return chunk(0x4000, {str(name), chunk(0x4100, {cat(meshParts)})});
}
inline Bytes material(const std::string& name, const std::string& map1 = "") {
    Bytes m = chunk(0xA000, {str(name)});
    if (!map1.empty())
        m = cat({m, chunk(0xA200, {chunk(0xA300, {str(map1)})})});
    return chunk(0xAFFF, {m});
}
inline const Bytes meshVersion = chunk(0x3D3E, {{3, 0, 0, 0}});
inline Bytes file(std::initializer_list<Bytes> editorParts) {
    return chunk(0x4D4D, {chunk(0x3D3D, {meshVersion, cat(editorParts)})});
}
