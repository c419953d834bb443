// The camera paths of both scenes, in the recorder's XML format.
#pragma once
#include <string>

bool writeCameraPaths(const std::string& outDir);
