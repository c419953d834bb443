// Helpers for the tests that write and read path files: a private folder, whole-file
// writes and reads.
#pragma once
#include <tinyxml.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
