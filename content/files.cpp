// Output files of the generator.
#include <cstdio>
#include <memory>

#include "content/files.h"

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) {
        std::printf("kestrune-content: cannot write %s\n", path.c_str());
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        std::printf("kestrune-content: short write to %s\n", path.c_str());
        return false;
    }
    return true;
}
