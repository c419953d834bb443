// The camera path file's names, its writer, and the reading of its parts.
#include "campath/format.h"

#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kRoot = "camerapath";
const char* const kPoints = "points";
const char* const kAmount = "amount";
const char* const kPos = "pos";
const char* const kView = "view";
const char* const kPosAxes[3] = {"x", "y", "z"};
const char* const kViewAxes[3] = {"xv", "yv", "zv"};

// Coordinates are written with "%f"; this TinyXML's double setter would use "%g".
void setFixedAttribute(TiXmlElement* element, const char* name, float value) {
    char text[64];
    snprintf(text, sizeof text, "%f", double(value));
    element->SetAttribute(name, text);
}

TiXmlElement* newNodeElement(const char* name, const char* const axes[3], const float xyz[3]) {
    TiXmlElement* element = new TiXmlElement(name);
    for (int i = 0; i < 3; i++)
        setFixedAttribute(element, axes[i], xyz[i]);
    return element;
}

void readAxes(const TiXmlElement* element, const char* const axes[3], float xyz[3]) {
    for (int i = 0; i < 3; i++)
        element->QueryFloatAttribute(axes[i], &xyz[i]);
}

} // namespace

TiXmlElement* startPathDocument(TiXmlDocument& document) {
    document.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    TiXmlElement* root = new TiXmlElement(kRoot);
    document.LinkEndChild(root);
    TiXmlElement* points = new TiXmlElement(kPoints);
    root->LinkEndChild(points);
    return points;
}

void appendPathNode(TiXmlElement* points, const float eye[3], const float look[3]) {
    points->LinkEndChild(newNodeElement(kPos, kPosAxes, eye));
    points->LinkEndChild(newNodeElement(kView, kViewAxes, look));
}

void setPathAmount(TiXmlElement* points, int amount) {
    points->SetAttribute(kAmount, amount);
}

std::string savePathDocument(const TiXmlDocument& document, const char* fileName) {
    std::string temp = std::string(fileName) + ".XXXXXX";
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
    bool written = document.SaveFile(file);
    written = fflush(file) == 0 && written;
    written = fsync(fileno(file)) == 0 && written;
    std::string error = written ? "" : strerror(errno ? errno : EIO);
    // A full disk may show only when the last buffer is flushed, at the close.
    if (fclose(file) != 0 && written) {
        written = false;
        error = strerror(errno);
    }
    if (written && rename(temp.c_str(), fileName) != 0) {
        written = false;
        error = strerror(errno);
    }
    if (!written)
        remove(temp.c_str());
    return error;
}

TiXmlElement* pathPoints(TiXmlDocument& document) {
    TiXmlElement* root = nullptr;
    for (TiXmlNode* node = document.FirstChild(); node && !root; node = node->NextSibling())
        root = node->ToElement();
    TiXmlNode* points = root ? root->FirstChild(kPoints) : nullptr;
    return points ? points->ToElement() : nullptr;
}

bool readPathAmount(const TiXmlElement* points, int& amount) {
    return points->QueryIntAttribute(kAmount, &amount) == TIXML_SUCCESS;
}

void readPosAxes(const TiXmlElement* pos, float xyz[3]) {
    readAxes(pos, kPosAxes, xyz);
}

void readViewAxes(const TiXmlElement* view, float xyz[3]) {
    readAxes(view, kViewAxes, xyz);
}

const char* nodeElementName(bool view) {
    return view ? kView : kPos;
}

const char* nodeAttributeName(bool view, int axis) {
    return (view ? kViewAxes : kPosAxes)[axis];
}
