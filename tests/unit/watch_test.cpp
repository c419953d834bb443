// The run folder's watch (inotify): what an author's saves look like to the show. The
// kernel queues an event before the call that caused it returns, so a poll right after a
// write sees it; nothing here waits.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "files.h"
#include "platform/platform.h"

namespace {

// One watch per process: every case works in the same folder, started once.
TempFolder& folder() {
    static TempFolder shared;
    static bool started = [] {
        std::filesystem::create_directory(shared.file("shader"));
        writeText(shared.file("shader/flat.fs"), "old");
        return startWatching(shared.path.c_str());
    }();
    EXPECT_TRUE(started);
    return shared;
}

bool has(const std::vector<std::string>& files, const std::string& name) {
    return std::find(files.begin(), files.end(), name) != files.end();
}

TEST(Watch, CompletedWritesOnlyEachOnceRelativeToTheFolder) {
    TempFolder& f = folder();
    pollChangedFiles();
    EXPECT_TRUE(pollChangedFiles().empty()); // nothing written: an empty list, at once

    // Written in place, in pieces: seen once it is closed, not while it is open.
    int fd = open(f.file("campath.xml").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "<a", 2), 2);
    EXPECT_TRUE(pollChangedFiles().empty());
    ASSERT_EQ(write(fd, "/>", 2), 2);
    close(fd);
    EXPECT_EQ(pollChangedFiles(), std::vector<std::string>{"campath.xml"});

    // Read only: not a change.
    readText(f.file("campath.xml"));
    EXPECT_TRUE(pollChangedFiles().empty());

    // Saved three times before the show looks: one change. In a subfolder, named with it.
    for (int i = 0; i < 3; i++)
        writeText(f.file("shader/flat.fs"), "new " + std::to_string(i));
    writeText(f.file("campath.xml"), "<b/>");
    EXPECT_EQ(pollChangedFiles(), (std::vector<std::string>{"shader/flat.fs", "campath.xml"}));
}

TEST(Watch, AnEditorsRenameIsAChange) {
    TempFolder& f = folder();
    pollChangedFiles();
    writeText(f.file("shader/.flat.fs.swp"), "new");
    ASSERT_EQ(rename(f.file("shader/.flat.fs.swp").c_str(), f.file("shader/flat.fs").c_str()), 0);
    std::vector<std::string> changed = pollChangedFiles();
    EXPECT_TRUE(has(changed, "shader/flat.fs"));
    // The temporary file was written too; the show ignores names it does not use.
    EXPECT_LE(changed.size(), 2u);
}

TEST(Watch, FoldersMadeOrMovedInLaterAreWatched) {
    TempFolder& f = folder();
    pollChangedFiles();
    std::filesystem::create_directory(f.file("textures"));
    pollChangedFiles(); // the folder is watched from here
    writeText(f.file("textures/floor.bmp"), "pixels");
    EXPECT_EQ(pollChangedFiles(), std::vector<std::string>{"textures/floor.bmp"});

    // A whole folder moved into place: its files are all new.
    TempFolder outside;
    std::filesystem::create_directory(outside.file("models"));
    writeText(outside.file("models/room.3ds"), "chunks");
    std::filesystem::rename(outside.file("models"), f.file("models"));
    EXPECT_EQ(pollChangedFiles(), std::vector<std::string>{"models/room.3ds"});
    writeText(f.file("models/room.3ds"), "chunks again");
    EXPECT_EQ(pollChangedFiles(), std::vector<std::string>{"models/room.3ds"});
}

TEST(Watch, QueuedChangesComeWithTheWatchedOnesOnce) {
    TempFolder& f = folder();
    pollChangedFiles();
    noteChangedFile("campath2.xml"); // a file dropped on a browser page goes this way
    writeText(f.file("campath2.xml"), "<c/>");
    EXPECT_EQ(pollChangedFiles(), std::vector<std::string>{"campath2.xml"});
}

} // namespace
