// Camera paths: the XML path format, the recorder that writes "campath.xml" from the
// user camera, and Catmull-Rom playback through a four-node window of a loaded path.
#pragma once
#include <string>

#include "math/vecmath.h"

// Only the files that read or write the XML include TinyXML itself.
class TiXmlDocument;
class TiXmlElement;

struct CameraPath {
    Vec3 posWindow[4];    // eye positions of the four nodes in use
    Vec3 viewWindow[4];   // look-at points of the same nodes
    int amount;           // nodes the file declares
    int nodeIndex;        // segments completed
    TiXmlElement* cursor; // the element read last; playback continues from it
    bool usable;          // false: missing, malformed or fewer than four nodes; not played
};

// Playback outputs, written by playbackStep (campath/playback.cpp); and the segment
// parameter both paths share, written only here: playbackStep wraps it, the frame advances
// it through advancePathParam and the scene switch restarts it through restartSegment.
extern float pathParam;
extern Vec3 pathEye;
extern Vec3 pathLookAt;

// Recorder state, written by the recorder (campath/recorder.cpp) on the keys q, w and e.
extern TiXmlDocument recorderDocument;
extern TiXmlElement* recordPoints;
extern int recordNodeCount;
extern bool recordingStarted;
extern bool recordingFinished;
extern const char* recordFileName; // scene 2's path file; tests point it elsewhere

// What reading a path file found, for the demo's messages and the tools' reports.
struct PathReading {
    bool loaded = false;      // the file was there and is well-formed XML
    bool pointsFound = false; // it has the "points" element
    int negativeAmount = 0;   // an "amount" below zero, as written; it is taken as 0
    int posRead = 0;          // eye positions read into the window (up to 4)
    int viewRead = 0;         // look-at points read into the window
    std::string reason;       // why the path cannot be played; empty when it is usable
};

// Loads fileName into document (which must outlive the path) and fills the window; the
// path is usable, or the result says why not. Prints nothing.
PathReading readCameraPath(const char* fileName, CameraPath& path, TiXmlDocument& document);
// The same from a document already loaded or parsed.
PathReading readLoadedCameraPath(CameraPath& path, TiXmlDocument& document);
// The demo's messages for a reading: the file, the count and the nodes read, and why the
// path is not usable, as "camera path FILE not usable: REASON; ..." (unusableMessage).
void printPathReading(const char* fileName, const CameraPath& path, const PathReading& reading);
std::string unusableMessage(const char* fileName, const std::string& reason);

void startRecording();
void addRecordNode();
void finishRecording();
void resetRecorder(); // back to idle with an empty document (tests record more than once)

void advancePath(CameraPath& path);
void evaluatePath(CameraPath& path, float t);
void playbackStep(CameraPath& path);
void advancePathParam(float frameFactor); // after every frame: 0.01 x frameFactor
void restartSegment();                    // pathParam back to 0: the segment plays anew
void resetPlayback();                     // pathParam and the per-axis playback values back to 0
