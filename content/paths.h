// The camera paths of both scenes, in the demo's path format (campath/format.h).
#pragma once
#include <string>

bool writeCameraPaths(const std::string& outDir);
