// libFuzzer entry for camera paths: any text, read as a path file and played for many
// segments, must end in a usable path or a marked unusable one, without reading outside
// the document; a usable path keeps its cursor on an element of it.
#include <tinyxml.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "campath/campath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* quiet = freopen("/dev/null", "w", stdout); // the reader's messages
    (void)quiet;
    std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error())
        return 0; // the demo reports this as "xml file not found." and reads nothing

    CameraPath path = {};
    path.amount = INT_MIN; // whatever an earlier read left must not matter
    resetPlayback();
    readLoadedCameraPath("fuzz.xml", path, document);
    if (path.usable && (path.amount < 0 || !path.cursor))
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
