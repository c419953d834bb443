// Helpers for the camera path tests: a private folder, path files written from text, and
// whole-file reads.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "math/vecmath.h"

// A fresh folder under the temporary directory, removed with everything in it.
struct TempFolder {
    std::string path;
    TempFolder() {
        char pattern[] = "/tmp/kestrune-path-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::string command = "chmod -R u+w '" + path + "' && rm -rf '" + path + "'";
        if (system(command.c_str()) != 0)
            fprintf(stderr, "could not remove %s\n", path.c_str());
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
};

inline void writeText(const std::string& fileName, const std::string& text) {
    std::ofstream out(fileName, std::ios::binary);
    out << text;
}

inline std::string readText(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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
    text += "    </points>\n</camerapath>\n";
    return text;
}
