// Output files of the generator.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to path; on failure prints why and returns false.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
