// Reading a camera path file: the declared node count and every node, the first four of
// which fill the playback window; playback reads on in the list. Reading prints nothing:
// it returns what it found, and the demo prints that.
#include <cstdio>

#include "campath/campath.h"
#include "campath/format.h"

PathReading readCameraPath(const char* fileName, CameraPath& path) {
    return readLoadedCameraPath(path, readPathFile(fileName));
}

PathReading readLoadedCameraPath(CameraPath& path, const PathFile& file) {
    PathReading reading;
    path.usable = false;
    path.nodes.clear();
    path.nextNode = 0;
    if (!file.loaded) {
        reading.reason = "missing or not well-formed XML";
        return reading;
    }
    reading.loaded = true;
    path.nodeIndex = 0;
    if (!file.pointsFound) {
        reading.reason = "no \"points\" element";
        return reading;
    }
    reading.pointsFound = true;
    if (file.amountGiven)
        path.amount = file.amount; // otherwise it keeps its value: 0 for a path read once
    if (path.amount < 0) {
        // Playback compares against amount - 3; a count below zero means no nodes.
        reading.negativeAmount = path.amount;
        path.amount = 0;
    }

    // The last value per axis starts at 0 for every file; a "pos" and a "view" share it.
    Vec3 last = {0, 0, 0};
    for (size_t i = 0; i < 4 && i < file.nodes.size(); i++) {
        path.posWindow[i] = keepLastValue(file.nodes[i].pos, last);
        path.viewWindow[i] = keepLastValue(file.nodes[i].view, last);
        reading.posRead++;
        reading.viewRead++;
    }
    if (file.nodes.size() < 4) {
        // The reader got as far as a last "pos" without its "view".
        if (file.lonePos)
            path.posWindow[reading.posRead++] = keepLastValue(file.lastPos, last);
        reading.reason = "fewer than four pos/view pairs";
        return reading;
    }
    path.nodes = file.nodes;
    path.nextNode = 4;
    path.usable = true;
    return reading;
}

std::string unusableMessage(const char* fileName, const std::string& reason) {
    return std::string("camera path ") + fileName + " not usable: " + reason +
           "; the view follows the user camera";
}

void printPathReading(const char* fileName, const CameraPath& path, const PathReading& reading) {
    printf(reading.loaded ? "\nxml file loaded." : "\nxml file not found.");
    if (reading.pointsFound) {
        if (reading.negativeAmount < 0)
            printf("\ncamera path %s: amount %d is negative; taken as 0", fileName,
                   reading.negativeAmount);
        printf("\nnumber of points: %d", path.amount);
        for (int i = 0; i < reading.posRead; i++) {
            const Vec3& pos = path.posWindow[i];
            printf("\npos values x='%f', y='%f', z='%f'", pos.x, pos.y, pos.z);
            if (i < reading.viewRead) {
                const Vec3& view = path.viewWindow[i];
                printf("\nview values x='%f', y='%f', z='%f'", view.x, view.y, view.z);
            }
        }
    }
    if (!reading.reason.empty())
        printf("\n%s.", unusableMessage(fileName, reading.reason).c_str());
    fflush(stdout);
}
