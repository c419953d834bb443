// The music of both scenes, synthesized and encoded as MP3.
#pragma once
#include <string>

bool writeMusic(const std::string& outDir, bool level2);
