// The camera path recorder: "q" starts a document, "w" appends the user camera as a node,
// "e" writes the document as the new path file.
#include <tinyxml.h>

#include <cstdio>
#include <string>

#include "camera/camera.h"
#include "campath/campath.h"
#include "campath/format.h"
#include "platform/platform.h"
#include "show/show.h"

TiXmlDocument recorderDocument;
TiXmlElement* recordPoints = nullptr;
int recordNodeCount = 0;
bool recordingStarted = false;
bool recordingFinished = false;
const char* recordFileName = show::kLevelTwoPathFile;

void startRecording() {
    recordingStarted = true;
    recordNodeCount = 0;
    recordPoints = startPathDocument(recorderDocument);
    printf("\ncam path started!");
    fflush(stdout);
}

void addRecordNode() {
    if (!recordPoints)
        return; // not started: the keys never get here, other callers might
    const float eye[3] = {camera.eye.x, camera.eye.y, camera.eye.z};
    const float look[3] = {camera.view.x, camera.view.y, camera.view.z};
    appendPathNode(recordPoints, eye, look);
    recordNodeCount += 1;
    printf("\ncam node added!");
    fflush(stdout);
}

void finishRecording() {
    if (!recordPoints)
        return;
    recordingFinished = true;
    setPathAmount(recordPoints, recordNodeCount);
    std::string error = savePathDocument(recorderDocument, recordFileName);
    if (!error.empty())
        printf("\ncam path not written to %s: %s", recordFileName, error.c_str());
    else
        offerFile(recordFileName);
    printf("\ncam path finished!");
    fflush(stdout);
}

void resetRecorder() {
    recorderDocument.Clear();
    recordPoints = nullptr;
    recordNodeCount = 0;
    recordingStarted = false;
    recordingFinished = false;
}
