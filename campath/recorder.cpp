// The camera path recorder: "q" starts a document, "w" appends the user camera as a node,
// "e" writes the document as the new path file.
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "camera/camera.h"
#include "campath/campath.h"
#include "show/show.h"

TiXmlDocument recorderDocument;
TiXmlElement* recordPoints = nullptr;
int recordNodeCount = 0;
bool recordingStarted = false;
bool recordingFinished = false;
const char* recordFileName = show::kLevelTwoPathFile;

// Coordinates are written with "%f"; this TinyXML's double setter would use "%g".
static void setFixedAttribute(TiXmlElement* element, const char* name, float value) {
    char text[64];
    snprintf(text, sizeof text, "%f", double(value));
    element->SetAttribute(name, text);
}

void startRecording() {
    recordingStarted = true;
    recordNodeCount = 0;
    recorderDocument.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    TiXmlElement* root = new TiXmlElement("camerapath");
    recorderDocument.LinkEndChild(root);
    recordPoints = new TiXmlElement("points");
    root->LinkEndChild(recordPoints);
    printf("\ncam path started!");
    fflush(stdout);
}

void addRecordNode() {
    if (!recordPoints)
        return; // not started: the keys never get here, other callers might
    TiXmlElement* pos = new TiXmlElement("pos");
    setFixedAttribute(pos, "x", camera.eye.x);
    setFixedAttribute(pos, "y", camera.eye.y);
    setFixedAttribute(pos, "z", camera.eye.z);
    recordPoints->LinkEndChild(pos);
    TiXmlElement* view = new TiXmlElement("view");
    setFixedAttribute(view, "xv", camera.view.x);
    setFixedAttribute(view, "yv", camera.view.y);
    setFixedAttribute(view, "zv", camera.view.z);
    recordPoints->LinkEndChild(view);
    recordNodeCount += 1;
    printf("\ncam node added!");
    fflush(stdout);
}

// Writes the document beside the target under a temporary name, then renames it over the
// target, so a failed write never leaves a truncated path file. Returns an error text or
// an empty string.
static std::string writeAtomically(const char* target) {
    std::string temp = std::string(target) + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return strerror(errno);
    // mkstemp creates the file private; give it the mode a plain fopen would.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    FILE* file = fdopen(fd, "w");
    if (!file) {
        std::string error = strerror(errno);
        close(fd);
        remove(temp.c_str());
        return error;
    }
    bool written = recorderDocument.SaveFile(file);
    written = fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    std::string error = written ? "" : strerror(errno ? errno : EIO);
    if (fclose(file) != 0 && written) {
        written = false;
        error = strerror(errno);
    }
    if (written && rename(temp.c_str(), target) != 0) {
        written = false;
        error = strerror(errno);
    }
    if (!written)
        remove(temp.c_str());
    return error;
}

void finishRecording() {
    if (!recordPoints)
        return;
    recordingFinished = true;
    recordPoints->SetAttribute("amount", recordNodeCount);
    std::string error = writeAtomically(recordFileName);
    if (!error.empty())
        printf("\ncam path not written to %s: %s", recordFileName, error.c_str());
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
