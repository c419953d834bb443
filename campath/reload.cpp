// A camera path file read again while the show runs. The path goes on from where the show
// stands: playback has completed the same number of segments whatever the file holds, so
// the new path's window is moved on by as many, as a fresh start with the file would have.
#include <cstdint>

#include "campath/campath.h"

PathReading reloadCameraPath(const char* fileName, CameraPath& path, CameraPath* asLoaded) {
    CameraPath fresh = {};
    PathReading reading = readCameraPath(fileName, fresh);
    if (!fresh.usable)
        return reading;
    if (asLoaded)
        *asLoaded = fresh;
    followSegments(fresh, path.nodeIndex);
    path = fresh;
    return reading;
}

void followSegments(CameraPath& path, int segments) {
    for (int i = 0; i < segments; i++) {
        path.nodeIndex += 1;
        if (int64_t(path.nodeIndex) < int64_t(path.amount) - 3)
            advancePath(path);
    }
}
