// Camera paths: the path read from its file (campath/format.h) into a list of nodes, the
// recorder that writes "campath.xml" from the user camera, and Catmull-Rom playback
// through a four-node window that walks the list.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "campath/format.h"
#include "math/vecmath.h"

struct CameraPath {
    Vec3 posWindow[4];           // eye positions of the four nodes in use
    Vec3 viewWindow[4];          // look-at points of the same nodes
    int amount;                  // nodes the file declares
    int nodeIndex;               // segments completed
    std::vector<ReadNode> nodes; // every node the file holds, as read
    size_t nextNode;             // the node playback reads next into the window
    bool usable;                 // false: missing, malformed or fewer than four nodes; not played
};

// Playback (campath/playback.cpp), shared by both paths.
struct PathPlayback {
    // The segment parameter, written only here: playbackStep wraps it, the frame advances
    // it through advancePathParam, the scene switch restarts it through restartSegment.
    float pathParam;
    Vec3 pathEye;    // written by every playbackStep
    Vec3 pathLookAt; // likewise
    // The last value per axis of the nodes playback reads on, kept by a node that lacks
    // an attribute; 0 at load, apart from the reader's.
    Vec3 lastPlayed;
};
extern PathPlayback pathPlayback;

// The recorder, written on the keys q, w and e (campath/recorder.cpp).
struct PathRecorder {
    bool recordingStarted;
    bool recordingFinished;
    std::vector<PathNode> nodes;                    // recorded so far
    const char* recordFileName = kLevelTwoPathFile; // tests point it elsewhere
};
extern PathRecorder pathRecorder;

// What reading a path file found, for the demo's messages and the tools' reports.
struct PathReading {
    bool loaded = false;      // the file was there and is well-formed XML
    bool pointsFound = false; // it has the "points" element
    int negativeAmount = 0;   // an "amount" below zero, as written; it is taken as 0
    int posRead = 0;          // eye positions read into the window (up to 4)
    int viewRead = 0;         // look-at points read into the window
    std::string reason;       // why the path cannot be played; empty when it is usable
};

// Reads fileName into the path: its nodes, and the first four into the window; the path
// is usable, or the result says why not. Prints nothing.
PathReading readCameraPath(const char* fileName, CameraPath& path);
// The same from a file already read.
PathReading readLoadedCameraPath(CameraPath& path, const PathFile& file);
// The demo's messages for a reading: the file, the count and the nodes read, and why the
// path is not usable, as "camera path FILE not usable: REASON; ..." (unusableMessage).
void printPathReading(const char* fileName, const CameraPath& path, const PathReading& reading);
std::string unusableMessage(const char* fileName, const std::string& reason);

// Reads the file again for a path in play: when the file is usable it replaces the path,
// moved on by the segments the path had completed (and asLoaded, if given, gets it as
// read); otherwise the path stays and the result says why.
PathReading reloadCameraPath(const char* fileName, CameraPath& path,
                             CameraPath* asLoaded = nullptr);
// What playbackStep does at each of that many segment ends, at once.
void followSegments(CameraPath& path, int segments);

void startRecording();
void addRecordNode();
void finishRecording();
void resetRecorder(); // back to idle without nodes (tests record more than once)

void advancePath(CameraPath& path);
void evaluatePath(CameraPath& path, float t);
void playbackStep(CameraPath& path);
void advancePathParam(float frameFactor); // after every frame: 0.01 x frameFactor
void restartSegment();                    // pathParam back to 0: the segment plays anew
void resetPlayback();                     // pathParam and the per-axis playback values back to 0
