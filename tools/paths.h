// kestrune-paths: the pieces shared by its reading and playback (paths.cpp), the checks
// of the eye against the scene (paths_check.cpp) and the plot (paths_plot.cpp).
#pragma once
#include <string>
#include <vector>

#include "math/vecmath.h"

struct PlotNode {
    Vec3 pos, view;
    bool played; // read by the demo's playback; false for nodes past "amount"
};

// A path as the demo plays it at 60 frames per second, up to the end of its last segment.
struct PlayedPath {
    std::string name; // the file's name, for titles
    std::vector<PlotNode> nodes;
    std::vector<Vec3> eyes, looks;   // one per frame
    std::vector<int> segment;        // per frame: the node the playing segment starts at
    int firstNode = 1, lastNode = 2; // where playback starts and where it ends
};

struct SceneTriangle {
    Vec3 a, b, c;
    int object; // index into Scene::objects
};

// The models of one scene as the demo places them in its active scene.
struct Scene {
    int number = 0;                   // 0: no scene
    std::vector<std::string> models;  // the files read
    std::vector<std::string> objects; // "object (model file)"
    std::vector<SceneTriangle> triangles;
};

// Where the eye passes through a triangle: the segment's first node and the object.
struct Crossing {
    int segment, object;
    Vec3 where;
};

// A stretch of at least half a second in which the eye hardly moves.
struct Standstill {
    int firstSegment, lastSegment;
    double seconds;
    Vec3 where;
};

struct PathReport {
    double closest = -1; // closest approach of the eye to the scene; -1 without a scene
    int closestFrame = 0, closestObject = -1;
    Vec3 closestPoint = {0, 0, 0}; // the eye there
    std::vector<Crossing> crossings;
    std::vector<Standstill> standstills;
};

PathReport checkPath(const PlayedPath& path, const Scene& scene);

// One node label as laid out on the plot, in pixels; view 0 is the top view, 1 the side view.
struct LabelBox {
    int view, node;
    double x, y, width, height;
    bool leader; // set apart from its node, joined to it by a line
};

// Draws the plot into a PNG; returns false when it could not be written. The label boxes
// laid out are returned for checking.
bool drawPlot(const std::string& fileName, const PlayedPath& path, const Scene& scene,
              const PathReport& report, const std::vector<std::string>& title,
              std::vector<LabelBox>& labels);
