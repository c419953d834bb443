// The camera path recorder: "q" starts a recording, "w" appends the user camera as a node,
// "e" writes the nodes as the new path file.
#include <cstdio>
#include <string>

#include "camera/camera.h"
#include "campath/campath.h"
#include "campath/format.h"
#include "platform/platform.h"

PathRecorder pathRecorder;

void startRecording() {
    pathRecorder.recordingStarted = true;
    pathRecorder.nodes.clear();
    printf("\ncam path started!");
    fflush(stdout);
}

void addRecordNode() {
    if (!pathRecorder.recordingStarted)
        return; // not started: the keys never get here, other callers might
    pathRecorder.nodes.push_back({camera.eye, camera.view});
    printf("\ncam node added!");
    fflush(stdout);
}

void finishRecording() {
    if (!pathRecorder.recordingStarted)
        return;
    pathRecorder.recordingFinished = true;
    const char* fileName = pathRecorder.recordFileName;
    std::string error = writePathFile(fileName, pathRecorder.nodes);
    if (!error.empty())
        printf("\ncam path not written to %s: %s", fileName, error.c_str());
    else
        offerFile(fileName);
    printf("\ncam path finished!");
    fflush(stdout);
}

void resetRecorder() {
    pathRecorder.nodes.clear();
    pathRecorder.recordingStarted = false;
    pathRecorder.recordingFinished = false;
}
