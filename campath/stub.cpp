// Placeholder until camera paths land.
#include "campath/campath.h"
float pathParam;
Vec3 pathEye, pathLookAt;
TiXmlDocument recorderDocument;
TiXmlElement* recordPoints;
int recordNodeCount;
bool recordingStarted, recordingFinished;
const char* recordFileName = "campath.xml";
void readCameraPath(const char*, CameraPath& path, TiXmlDocument&) { path.usable = false; }
void startRecording() {}
void addRecordNode() {}
void finishRecording() {}
void advancePath(CameraPath&) {}
void evaluatePath(CameraPath&, float) {}
void playbackStep(CameraPath&) {}
