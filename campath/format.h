// The camera path file: an XML declaration, a root element "camerapath", under it
// "points" with the node count "amount", then per node a "pos" (eye: "x", "y", "z") and a
// "view" (look-at point: "xv", "yv", "zv"), strictly alternating. Element and attribute
// names are spelled in campath/format.cpp and nowhere else.
//
// This header and campath/format.cpp make the small library kestrune_pathformat, which
// needs only TinyXML: the demo's recorder, reader and playback use it, and so does the
// content generator, which links nothing else of the demo.
#pragma once
#include <string>

class TiXmlDocument;
class TiXmlElement;

// --- writing ---
// Adds the declaration, the root and its "points" element to an empty document; returns
// "points", to which the nodes are appended.
TiXmlElement* startPathDocument(TiXmlDocument& document);
// One node: its eye and its look-at point, each written with "%f".
void appendPathNode(TiXmlElement* points, const float eye[3], const float look[3]);
void setPathAmount(TiXmlElement* points, int amount);
// Writes the document (TinyXML's plain print) beside fileName under a temporary name and
// renames it over fileName, so a failed write never leaves a truncated file. Returns ""
// or the reason it could not be written.
std::string savePathDocument(const TiXmlDocument& document, const char* fileName);

// --- reading ---
// The "points" element: the first child named "points" of the document's first element;
// null when there is none.
TiXmlElement* pathPoints(TiXmlDocument& document);
// The declared node count into amount; false (amount untouched) when missing or not a
// whole number.
bool readPathAmount(const TiXmlElement* points, int& amount);
// A node's eye ("pos") or look-at point ("view") into xyz. A missing or unreadable
// attribute leaves its axis as it was: callers keep the value read last.
void readPosAxes(const TiXmlElement* pos, float xyz[3]);
void readViewAxes(const TiXmlElement* view, float xyz[3]);
// The names, for messages about a node: "pos" or "view", and the attribute of an axis.
const char* nodeElementName(bool view);
const char* nodeAttributeName(bool view, int axis);
