// Helpers for the tests that write and read files and run the tools: a private folder,
// whole-file writes and reads, a command's output, camera path files.
#pragma once
#include <sys/wait.h>
#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "math/vecmath.h"

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
