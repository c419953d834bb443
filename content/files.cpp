// Output files of the generator.
#include <cstdio>

#include "content/files.h"

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::printf("kestrune-content: cannot write %s\n", path.c_str());
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    // A full disk may show only when the last buffer is flushed, at the close.
    if (std::fclose(f) != 0 || !written) {
        std::printf("kestrune-content: short write to %s\n", path.c_str());
        return false;
    }
    return true;
}
