// libFuzzer entry for camera paths: any text, read as a path file and played for many
// segments, must end in a usable path or a marked unusable one, and playback must walk
// the path's list of nodes without stepping past its end.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "campath/campath.h"
#include "campath/format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    PathFile file = parsePathText(text.c_str());
    if (!file.loaded)
        return 0; // the demo reports this as "xml file not found." and reads nothing

    CameraPath path = {};
    path.amount = INT_MIN; // whatever an earlier read left must not matter
    resetPlayback();
    PathReading reading = readLoadedCameraPath(path, file);
    // Usable exactly when no reason is given; a usable path has its four nodes and more.
    if (path.usable != reading.reason.empty())
        abort();
    if (path.usable && (path.amount < 0 || reading.viewRead != 4 || path.nextNode != 4 ||
                        path.nodes.size() != file.nodes.size()))
        abort();
    if (reading.posRead > 4 || reading.viewRead > reading.posRead)
        abort();
    // Every wrap may read one more node: play far more segments than a short input holds.
    for (int segment = 0; segment < 64; segment++) {
        pathPlayback.pathParam = 1.5f;
        size_t before = path.nextNode;
        playbackStep(path);
        if (path.nextNode > path.nodes.size() || path.nextNode - before > 1)
            abort();
    }
    pathPlayback.pathParam = 0.5f;
    playbackStep(path);
    return 0;
}
