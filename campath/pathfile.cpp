// Reading a camera path file: the declared node count and the first four nodes, which
// fill the playback window. The document stays loaded; playback reads on from the cursor.
#include <tinyxml.h>

#include <cstdio>

#include "campath/campath.h"

// The last value read per axis: a missing or unreadable attribute keeps it. A "pos" and a
// "view" share them. They start at 0 for every file.
static float readX, readY, readZ;

static void readAxes(const TiXmlElement* element, const char* x, const char* y, const char* z) {
    element->QueryFloatAttribute(x, &readX);
    element->QueryFloatAttribute(y, &readY);
    element->QueryFloatAttribute(z, &readZ);
}

static void markUnusable(const char* fileName, CameraPath& path, const char* reason) {
    path.usable = false;
    printf("\ncamera path %s not usable: %s; the view follows the user camera.", fileName, reason);
}

void readCameraPath(const char* fileName, CameraPath& path, TiXmlDocument& document) {
    path.usable = false;
    path.cursor = nullptr;
    bool loaded = document.LoadFile(fileName);
    printf(loaded ? "\nxml file loaded." : "\nxml file not found.");
    if (!loaded) {
        markUnusable(fileName, path, "missing or not well-formed XML");
        fflush(stdout);
        return;
    }
    readLoadedCameraPath(fileName, path, document);
}

void readLoadedCameraPath(const char* fileName, CameraPath& path, TiXmlDocument& document) {
    path.usable = false;
    path.cursor = nullptr;
    readX = readY = readZ = 0;

    TiXmlElement* root = nullptr;
    for (TiXmlNode* node = document.FirstChild(); node && !root; node = node->NextSibling())
        root = node->ToElement();
    path.nodeIndex = 0;

    TiXmlNode* pointsNode = root ? root->FirstChild("points") : nullptr;
    TiXmlElement* points = pointsNode ? pointsNode->ToElement() : nullptr;
    if (!points) {
        markUnusable(fileName, path, "no \"points\" element");
        fflush(stdout);
        return;
    }
    points->QueryIntAttribute("amount", &path.amount);
    if (path.amount < 0) {
        // Playback compares against amount - 3; a count below zero means no nodes.
        printf("\ncamera path %s: amount %d is negative; taken as 0", fileName, path.amount);
        path.amount = 0;
    }
    printf("\nnumber of points: %d", path.amount);

    TiXmlNode* first = points->FirstChild();
    path.cursor = first ? first->ToElement() : nullptr;
    for (int i = 0; i < 4; i++) {
        if (!path.cursor)
            break;
        readAxes(path.cursor, "x", "y", "z");
        printf("\npos values x='%f', y='%f', z='%f'", readX, readY, readZ);
        path.posWindow[i] = {readX, readY, readZ};

        TiXmlElement* view = path.cursor->NextSiblingElement();
        if (!view) {
            path.cursor = nullptr;
            break;
        }
        path.cursor = view;
        readAxes(view, "xv", "yv", "zv");
        path.viewWindow[i] = {readX, readY, readZ};
        printf("\nview values x='%f', y='%f', z='%f'", readX, readY, readZ);
        if (i == 3) {
            path.usable = true;
            break;
        }
        // The next node's "pos"; when it is missing the path holds fewer than four nodes.
        path.cursor = path.cursor->NextSiblingElement();
    }
    if (!path.usable)
        markUnusable(fileName, path, "fewer than four pos/view pairs");
    fflush(stdout);
}
