// The music of both scenes: two original pieces synthesized note by note, with a reverb
// and an echo, then encoded as MP3.
#pragma once
#include <string>
#include <vector>

// Scene 1's piece, or scene 2's when level2: interleaved stereo at sampleRate.
std::vector<float> synthesizeMusic(bool level2, int sampleRate);
// Writes the piece to its file in outDir under the name the demo plays.
bool writeMusic(const std::string& outDir, bool level2);
