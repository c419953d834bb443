// Reading a camera path file: the declared node count and the first four nodes, which
// fill the playback window. The document stays loaded; playback reads on from the cursor.
// Reading prints nothing: it returns what it found, and the demo prints that.
#include <tinyxml.h>

#include <cstdio>

#include "campath/campath.h"
#include "campath/format.h"

namespace {

// The last value read per axis: a missing or unreadable attribute keeps it. A "pos" and a
// "view" share them. They start at 0 for every file.
float readAxes[3];

Vec3 lastRead() {
    return {readAxes[0], readAxes[1], readAxes[2]};
}

} // namespace

PathReading readCameraPath(const char* fileName, CameraPath& path, TiXmlDocument& document) {
    path.usable = false;
    path.cursor = nullptr;
    if (!document.LoadFile(fileName)) {
        PathReading reading;
        reading.reason = "missing or not well-formed XML";
        return reading;
    }
    return readLoadedCameraPath(path, document);
}

PathReading readLoadedCameraPath(CameraPath& path, TiXmlDocument& document) {
    PathReading reading;
    reading.loaded = true;
    path.usable = false;
    path.cursor = nullptr;
    readAxes[0] = readAxes[1] = readAxes[2] = 0;
    path.nodeIndex = 0;

    TiXmlElement* points = pathPoints(document);
    if (!points) {
        reading.reason = "no \"points\" element";
        return reading;
    }
    reading.pointsFound = true;
    readPathAmount(points, path.amount);
    if (path.amount < 0) {
        // Playback compares against amount - 3; a count below zero means no nodes.
        reading.negativeAmount = path.amount;
        path.amount = 0;
    }

    TiXmlNode* first = points->FirstChild();
    path.cursor = first ? first->ToElement() : nullptr;
    for (int i = 0; i < 4; i++) {
        if (!path.cursor)
            break;
        readPosAxes(path.cursor, readAxes);
        path.posWindow[i] = lastRead();
        reading.posRead++;

        TiXmlElement* view = path.cursor->NextSiblingElement();
        if (!view) {
            path.cursor = nullptr;
            break;
        }
        path.cursor = view;
        readViewAxes(view, readAxes);
        path.viewWindow[i] = lastRead();
        reading.viewRead++;
        if (i == 3) {
            path.usable = true;
            return reading;
        }
        // The next node's "pos"; when it is missing the path holds fewer than four nodes.
        path.cursor = path.cursor->NextSiblingElement();
    }
    reading.reason = "fewer than four pos/view pairs";
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
