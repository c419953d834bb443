// The camera path file: an XML declaration, a root element "camerapath", under it
// "points" with the node count "amount", then per node a "pos" (eye: "x", "y", "z") and a
// "view" (look-at point: "xv", "yv", "zv"), strictly alternating. Element and attribute
// names are spelled in campath/format.cpp and nowhere else, and only there is the file an
// XML document: it is read once into a list of nodes and written from one.
//
// This header and campath/format.cpp make the small library kestrune_pathformat, which
// needs only TinyXML: the demo's reader, recorder and playback use it, and so does the
// content generator, which links nothing else of the demo.
#pragma once
#include <string>
#include <vector>

#include "math/vecmath.h"

// The path files in the working directory: scene 1's, and scene 2's, which is also the
// file the recorder writes.
inline constexpr const char* kLevelOnePathFile = "campath2.xml";
inline constexpr const char* kLevelTwoPathFile = "campath.xml";

// One node of a path: the eye and the point it looks at.
struct PathNode {
    Vec3 pos, view;
};

// One element's coordinates as the file gives them. An attribute that is missing or not a
// number is not given: whoever takes the node keeps the value read last on that axis
// (keepLastValue).
struct ReadAxes {
    float value[3];
    bool given[3];
};

struct ReadNode {
    ReadAxes pos, view;
};

// A path file as read. Only the order of the children of "points" counts, not their
// names: the first child, if it is an element, is node 0's "pos", the next element its
// "view", the next node 1's "pos", and so on.
struct PathFile {
    bool loaded = false;         // the file was there and is well-formed XML
    bool pointsFound = false;    // the root's first child named "points"
    bool amountGiven = false;    // "amount" is there and a whole number
    int amount = 0;              // as written; 0 unless given
    std::vector<ReadNode> nodes; // every "pos" with the element after it
    bool lonePos = false;        // a last "pos" without an element after it
    ReadAxes lastPos = {};       // its coordinates
};

// Reads and parses fileName; loaded is false when it is missing or malformed.
PathFile readPathFile(const char* fileName);
// The same from text in memory.
PathFile parsePathText(const char* text);

// The rule for what a node does not give: each given axis replaces last's, and the
// result is last. A "pos" and a "view" read in turn share one last.
Vec3 keepLastValue(const ReadAxes& axes, Vec3& last);

// Writes the nodes as a path file, "amount" their number, coordinates with "%f", in
// TinyXML's plain print: beside fileName under a temporary name, then renamed over it, so
// a failed write never leaves a truncated file. Returns "" or why it could not be written.
std::string writePathFile(const char* fileName, const std::vector<PathNode>& nodes);

// The names, for messages about a node: "pos" or "view", and the attribute of an axis.
const char* nodeElementName(bool view);
const char* nodeAttributeName(bool view, int axis);
