// The sky boxes of both scenes: the day sky of the hall and the dawn sky of the harbour.
#pragma once
#include <string>

#include "content/mesh.h"

Scene buildSkybox(bool dawn);
// Writes the six face textures and their flat normal maps.
bool writeSkyTextures(const std::string& outDir, bool dawn);
