// The material textures of the models, and the neon program's fixed textures.
#pragma once
#include <string>

// Writes textures/F and textures/normal_F for the named material texture.
bool writeMaterialTexture(const std::string& outDir, const std::string& file);
bool writeFixedTextures(const std::string& outDir); // base.bmp, glow.bmp
