// The queue of changed files that the platform's watch fills (inotify on the desktop, files
// dropped on a browser page) and the show drains once a frame.
#include <algorithm>

#include "platform/platform.h"

namespace {
// Paths in the order first seen; a file written again before the queue is drained is
// listed once, so a burst of writes (an editor's save, a copy of several files) is taken
// in one go.
std::vector<std::string> changedFiles;
} // namespace

void noteChangedFile(const std::string& path) {
    if (std::find(changedFiles.begin(), changedFiles.end(), path) == changedFiles.end())
        changedFiles.push_back(path);
}

std::vector<std::string> takeChangedFiles() {
    std::vector<std::string> taken;
    taken.swap(changedFiles);
    return taken;
}
