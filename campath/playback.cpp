// Camera path playback: a uniform Catmull-Rom spline through a four-node window of the
// path, which moves on by one node of the path's list per finished segment.
#include <cstdint>

#include "camera/camera.h"
#include "campath/campath.h"
#include "campath/format.h"

PathPlayback pathPlayback = {};

void advancePathParam(float frameFactor) {
    pathPlayback.pathParam += 0.01f * frameFactor;
}

void restartSegment() {
    pathPlayback.pathParam = 0;
}

void resetPlayback() {
    pathPlayback.pathParam = 0;
    pathPlayback.lastPlayed = {0, 0, 0};
}

void advancePath(CameraPath& path) {
    // A file may declare more nodes than it holds: the path then ends at the last node
    // held and the window stays where it is.
    if (path.nextNode >= path.nodes.size())
        return;
    for (int i = 0; i < 3; i++) {
        path.posWindow[i] = path.posWindow[i + 1];
        path.viewWindow[i] = path.viewWindow[i + 1];
    }
    const ReadNode& node = path.nodes[path.nextNode++];
    path.posWindow[3] = keepLastValue(node.pos, pathPlayback.lastPlayed);
    path.viewWindow[3] = keepLastValue(node.view, pathPlayback.lastPlayed);
}

static float catmullRom(float p0, float p1, float p2, float p3, float t) {
    return 0.5f * (2.0f * p1 + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t * t +
                   (-p0 + 3.0f * p1 - 3.0f * p2 + p3) * t * t * t);
}

static Vec3 curvePoint(const Vec3* w, float t) {
    return {catmullRom(w[0].x, w[1].x, w[2].x, w[3].x, t),
            catmullRom(w[0].y, w[1].y, w[2].y, w[3].y, t),
            catmullRom(w[0].z, w[1].z, w[2].z, w[3].z, t)};
}

void evaluatePath(CameraPath& path, float t) {
    pathPlayback.pathEye = curvePoint(path.posWindow, t);
    pathPlayback.pathLookAt = curvePoint(path.viewWindow, t);
}

void playbackStep(CameraPath& path) {
    if (!path.usable) {
        // Nothing to follow: the view stays with the user camera.
        pathPlayback.pathEye = camera.eye;
        pathPlayback.pathLookAt = camera.view;
        return;
    }
    float& pathParam = pathPlayback.pathParam;
    if (pathParam > 1.0f) {
        path.nodeIndex += 1;
        pathParam = 0; // the overshoot is dropped, not carried into the next segment
        if (int64_t(path.nodeIndex) < int64_t(path.amount) - 3) // no overflow near INT_MIN
            advancePath(path);
    }
    evaluatePath(path, pathParam);
}
