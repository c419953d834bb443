// Helpers for the camera path tests: a private folder, path files written from text, and
// whole-file reads.
#pragma once
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "campath/campath.h"
#include "math/vecmath.h"

// A fresh folder under the temporary directory, removed with everything in it.
struct TempFolder {
    std::string path;
    TempFolder() {
        char pattern[] = "/tmp/kestrune-path-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ignored;
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

// count points {10 i + dx, 2, z}: evenly spaced along a straight line.
inline std::vector<Vec3> alongX(int count, float dx = 0, float z = 0) {
    std::vector<Vec3> points;
    for (int i = 0; i < count; i++)
        points.push_back({10.0f * i + dx, 2.0f, z});
    return points;
}

// A path document with one pos/view pair per node; amount < 0 leaves the attribute out.
inline std::string pathXml(const std::vector<Vec3>& eyes, const std::vector<Vec3>& views,
                           int amount) {
    std::string text = "<?xml version=\"1.0\" ?>\n<camerapath>\n    <points";
    if (amount >= 0)
        text += " amount=\"" + std::to_string(amount) + "\"";
    text += ">\n";
    char line[256];
    for (size_t i = 0; i < eyes.size(); i++) {
        snprintf(line, sizeof line, "        <pos x=\"%f\" y=\"%f\" z=\"%f\" />\n",
                 double(eyes[i].x), double(eyes[i].y), double(eyes[i].z));
        text += line;
        if (i < views.size()) {
            snprintf(line, sizeof line, "        <view xv=\"%f\" yv=\"%f\" zv=\"%f\" />\n",
                     double(views[i].x), double(views[i].y), double(views[i].z));
            text += line;
        }
    }
    return text + "    </points>\n</camerapath>\n";
}

// Reads path files into one path; what the reader printed is returned.
class PathReading : public ::testing::Test {
  protected:
    TempFolder folder;
    CameraPath path = {};
    TiXmlDocument document;

    // Empty text reads a file that does not exist.
    std::string read(const std::string& text) {
        std::string name = folder.file(text.empty() ? "nothere.xml" : "path.xml");
        if (!text.empty())
            writeText(name, text);
        testing::internal::CaptureStdout();
        readCameraPath(name.c_str(), path, document);
        return testing::internal::GetCapturedStdout();
    }
};
