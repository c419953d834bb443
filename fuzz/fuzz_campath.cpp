// libFuzzer entry for camera paths: any text, read as a path file and played for many
// segments, must end in a usable path or a marked unusable one, without reading outside
// the document; a usable path keeps its cursor on an element of it.
#include <tinyxml.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "campath/campath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error())
        return 0; // the demo reports this as "xml file not found." and reads nothing

    CameraPath path = {};
    path.amount = INT_MIN; // whatever an earlier read left must not matter
    resetPlayback();
    PathReading reading = readLoadedCameraPath(path, document);
    // Usable exactly when no reason is given; a usable path has its four nodes.
    if (path.usable != reading.reason.empty())
        abort();
    if (path.usable && (path.amount < 0 || !path.cursor || reading.viewRead != 4))
        abort();
    // Every wrap may read one more node: play far more segments than a short input holds.
    for (int segment = 0; segment < 64; segment++) {
        pathParam = 1.5f;
        playbackStep(path);
        if (path.usable && (!path.cursor || path.cursor->GetDocument() != &document))
            abort();
    }
    pathParam = 0.5f;
    playbackStep(path);
    return 0;
}
