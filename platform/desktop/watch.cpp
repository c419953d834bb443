// Changed files on the desktop: inotify on the run folder and on each of its subfolders
// (shader/, models/, textures/, and any made later). Only completed writes count: a file
// closed after writing, or one renamed into place, as editors that save through a
// temporary file do; the writes in between are never seen half done.
#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/platform.h"

namespace {

struct Watch {
    int fd = -1;
    std::string dir;                     // the watched folder, as given
    std::map<int, std::string> prefixes; // watch descriptor -> "" or "shader/"
};
Watch watch;

const uint32_t kFileEvents = IN_CLOSE_WRITE | IN_MOVED_TO;
const uint32_t kFolderEvents = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;

void watchFolder(const std::string& prefix);

// Every regular file of a folder that came into place whole (renamed in): all new.
void noteFolderContents(const std::string& prefix) {
    DIR* folder = opendir((watch.dir + "/" + prefix).c_str());
    if (!folder)
        return;
    while (dirent* entry = readdir(folder)) {
        if (entry->d_type == DT_REG || entry->d_type == DT_LNK)
            noteChangedFile(prefix + entry->d_name);
    }
    closedir(folder);
}

void watchFolder(const std::string& prefix) {
    std::string path = watch.dir + "/" + prefix;
    uint32_t mask = kFileEvents | (prefix.empty() ? kFolderEvents : 0);
    int wd = inotify_add_watch(watch.fd, path.c_str(), mask);
    if (wd < 0) {
        printf("\ncannot watch %s: %s", path.c_str(), strerror(errno));
        return;
    }
    watch.prefixes[wd] = prefix; // a folder watched again keeps its descriptor
}

void takeEvent(const inotify_event& event) {
    if (event.mask & IN_IGNORED) {
        watch.prefixes.erase(event.wd); // the folder went away
        return;
    }
    auto found = watch.prefixes.find(event.wd);
    if (found == watch.prefixes.end() || event.len == 0)
        return;
    std::string path = found->second + event.name;
    if (event.mask & IN_ISDIR) {
        // A subfolder of the run folder made, or moved in whole: watched from now on.
        if (found->second.empty()) {
            watchFolder(path + "/");
            if (event.mask & IN_MOVED_TO)
                noteFolderContents(path + "/");
        }
        return;
    }
    if (event.mask & kFileEvents)
        noteChangedFile(path);
}

} // namespace

bool startWatching(const char* dir) {
    if (watch.fd >= 0)
        return true;
    watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.fd < 0) {
        printf("\ncannot watch %s for changes: %s", dir, strerror(errno));
        return false;
    }
    watch.dir = dir;
    watchFolder("");
    DIR* folder = opendir(dir);
    if (folder) {
        while (dirent* entry = readdir(folder)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            // A data folder may be a link to a shared copy (the tests' run folders).
            struct stat info;
            if (stat((watch.dir + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                watchFolder(name + "/");
        }
        closedir(folder);
    }
    return true;
}

std::vector<std::string> pollChangedFiles() {
    if (watch.fd >= 0) {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t got = read(watch.fd, buffer, sizeof buffer);
            if (got <= 0)
                break; // EAGAIN: nothing more for now
            for (char* at = buffer; at < buffer + got;) {
                const inotify_event& event = *reinterpret_cast<inotify_event*>(at);
                takeEvent(event);
                at += sizeof(inotify_event) + event.len;
            }
        }
    }
    return takeChangedFiles();
}
