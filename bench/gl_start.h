// Where the GL benchmarks find the content they draw: KESTRUNE_RUN_DIR, else the demo/
// folder of the build the benchmark was built in.
#pragma once
#include <cstdlib>
#include <string>
#include <unistd.h>

inline std::string runFolder() {
    if (const char* dir = getenv("KESTRUNE_RUN_DIR"))
        return dir;
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return ".";
    exe[n] = '\0';
    std::string path(exe);
    path = path.substr(0, path.rfind('/')); // <build>/bench
    path = path.substr(0, path.rfind('/')); // <build>
    return path + "/demo";
}
