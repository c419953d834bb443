// The camera path file's names, its one reader and its one writer.
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

ReadAxes readAxes(const TiXmlElement* element, const char* const axes[3]) {
    ReadAxes read = {};
    for (int i = 0; i < 3; i++)
        read.given[i] = element->QueryFloatAttribute(axes[i], &read.value[i]) == TIXML_SUCCESS;
    return read;
}

// The root is the document's first element; its first child named "points" holds the
// nodes, which are taken pairwise in element order from its first child on.
PathFile readDocument(const TiXmlDocument& document) {
    PathFile file;
    file.loaded = true;
    const TiXmlElement* root = nullptr;
    for (const TiXmlNode* node = document.FirstChild(); node && !root; node = node->NextSibling())
        root = node->ToElement();
    const TiXmlNode* pointsNode = root ? root->FirstChild(kPoints) : nullptr;
    const TiXmlElement* points = pointsNode ? pointsNode->ToElement() : nullptr;
    if (!points)
        return file;
    file.pointsFound = true;
    file.amountGiven = points->QueryIntAttribute(kAmount, &file.amount) == TIXML_SUCCESS;
    if (!file.amountGiven)
        file.amount = 0;

    // A first child that is no element (a comment, text) leaves the path without nodes.
    const TiXmlNode* first = points->FirstChild();
    const TiXmlElement* pos = first ? first->ToElement() : nullptr;
    while (pos) {
        const TiXmlElement* view = pos->NextSiblingElement();
        if (!view) {
            file.lonePos = true;
            file.lastPos = readAxes(pos, kPosAxes);
            break;
        }
        file.nodes.push_back({readAxes(pos, kPosAxes), readAxes(view, kViewAxes)});
        pos = view->NextSiblingElement();
    }
    return file;
}

} // namespace

PathFile readPathFile(const char* fileName) {
    TiXmlDocument document;
    if (!document.LoadFile(fileName))
        return {};
    return readDocument(document);
}

PathFile parsePathText(const char* text) {
    TiXmlDocument document;
    document.Parse(text);
    if (document.Error())
        return {};
    return readDocument(document);
}

Vec3 keepLastValue(const ReadAxes& axes, Vec3& last) {
    float* lastAxes[3] = {&last.x, &last.y, &last.z};
    for (int i = 0; i < 3; i++)
        if (axes.given[i])
            *lastAxes[i] = axes.value[i];
    return last;
}

namespace {

// TinyXML's plain print into an opened file (no byte order mark for a document built in
// memory), under a temporary name renamed over fileName once it is whole.
std::string saveDocument(const TiXmlDocument& document, const char* fileName) {
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

} // namespace

std::string writePathFile(const char* fileName, const std::vector<PathNode>& nodes) {
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    TiXmlElement* root = new TiXmlElement(kRoot);
    document.LinkEndChild(root);
    TiXmlElement* points = new TiXmlElement(kPoints);
    root->LinkEndChild(points);
    points->SetAttribute(kAmount, int(nodes.size()));
    for (const PathNode& node : nodes) {
        const float eye[3] = {node.pos.x, node.pos.y, node.pos.z};
        const float look[3] = {node.view.x, node.view.y, node.view.z};
        points->LinkEndChild(newNodeElement(kPos, kPosAxes, eye));
        points->LinkEndChild(newNodeElement(kView, kViewAxes, look));
    }
    return saveDocument(document, fileName);
}

const char* nodeElementName(bool view) {
    return view ? kView : kPos;
}

const char* nodeAttributeName(bool view, int axis) {
    return (view ? kViewAxes : kPosAxes)[axis];
}
