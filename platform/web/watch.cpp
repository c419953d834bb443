// Changed files in a browser: the page has no folder to watch, but a file dropped on it
// is stored in the file system where the demo reads it (web/shell.html) and queued here
// as a changed file.
#include <emscripten.h>

#include "platform/platform.h"

bool startWatching(const char*) {
    return true;
}

std::vector<std::string> pollChangedFiles() {
    return takeChangedFiles();
}

// Called by the page once the dropped file is in place, with its path in the run folder.
extern "C" EMSCRIPTEN_KEEPALIVE void kestrune_file_dropped(const char* path) {
    noteChangedFile(path);
}
