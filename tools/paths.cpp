// kestrune-paths: shows people who record camera paths what the demo will make of them.
// Reads each path file with the demo's own reader, plays it with the demo's own playback
// at 60 frames per second, checks the eye against the scene the path belongs to, and
// writes a PNG beside the file (the path over the scene, top view and side view) and a
// summary line with warnings.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "campath/campath.h"
#include "campath/format.h"
#include "model/model.h"
#include "model/reader3ds.h"
#include "show/show.h"
#include "tools/paths.h"

namespace {

const int kMaxFrames = 60 * 60 * 30; // half an hour of playback is more than any scene

struct Options {
    int scene = -1;          // -1: by the file's name; 0: none
    std::string modelsDir;   // empty: "models" beside the path file
    bool labelBoxes = false; // print the laid-out node labels (for checks)
};

// Every node the file holds, in order, each attribute the file lacks keeping the value
// read last on its axis, as the demo's reader does.
std::vector<PlotNode> heldNodes(const PathFile& file) {
    std::vector<PlotNode> nodes;
    Vec3 last = {0, 0, 0};
    for (const ReadNode& node : file.nodes) {
        Vec3 pos = keepLastValue(node.pos, last);
        nodes.push_back({pos, keepLastValue(node.view, last), false});
    }
    return nodes;
}

bool finite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Names the first coordinate that is not a finite number, or returns "".
std::string nonFinite(const PlayedPath& path) {
    char text[160];
    for (size_t i = 0; i < path.nodes.size(); i++)
        for (int k = 0; k < 2; k++) {
            const Vec3& v = k == 0 ? path.nodes[i].pos : path.nodes[i].view;
            const float values[3] = {v.x, v.y, v.z};
            for (int axis = 0; axis < 3; axis++)
                if (!std::isfinite(values[axis])) {
                    snprintf(text, sizeof text, "node %zu: %s %s is not a finite number (%f)", i,
                             nodeElementName(k == 1), nodeAttributeName(k == 1, axis),
                             double(values[axis]));
                    return text;
                }
        }
    for (size_t i = 0; i < path.eyes.size(); i++)
        if (!finite(path.eyes[i]) || !finite(path.looks[i])) {
            snprintf(text, sizeof text,
                     "the spline leaves the range of numbers in segment %d-%d: coordinates are "
                     "too large",
                     path.segment[i], path.segment[i] + 1);
            return text;
        }
    return "";
}

std::string baseName(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The models of the scene the path belongs to, placed as in the demo's active scene: at
// translation 0 and rotation 0, so their vertices are world coordinates. The sky box is
// left out. Models that cannot be read are reported and left out.
Scene loadScene(int number, const std::string& modelsDir, std::string& problems) {
    Scene scene;
    scene.number = number;
    if (number != 1 && number != 2)
        return scene;
    const char* const* files = number == 1 ? show::kSceneOneModels : show::kSceneTwoModels;
    size_t count =
        number == 1 ? std::size(show::kSceneOneModels) : std::size(show::kSceneTwoModels);
    for (size_t f = 1; f < count; f++) {
        std::string file = modelsDir + "/" + baseName(files[f]);
        Model model;
        if (!readModelFile(model, file.c_str())) {
            problems += "; " + file + " left out: " + model.error;
            continue;
        }
        scene.models.push_back(baseName(file));
        for (const ModelObject& object : model.objects) {
            int index = int(scene.objects.size());
            scene.objects.push_back(std::string(object.name) + " (" + baseName(file) + ")");
            int n = int(object.vertices.size());
            for (const ModelFace& face : object.faces) {
                if (face.a < 0 || face.b < 0 || face.c < 0 || face.a >= n || face.b >= n ||
                    face.c >= n)
                    continue;
                SceneTriangle t = {object.vertices[face.a], object.vertices[face.b],
                                   object.vertices[face.c], index};
                if (finite(t.a) && finite(t.b) && finite(t.c))
                    scene.triangles.push_back(t);
            }
        }
    }
    return scene;
}

int sceneByName(const std::string& fileName) {
    std::string name = baseName(fileName);
    if (name == kLevelOnePathFile)
        return 1;
    if (name == kLevelTwoPathFile)
        return 2;
    return 0;
}

std::string segmentName(int first) {
    return std::to_string(first) + "-" + std::to_string(first + 1);
}

// The longest stretch in which the camera looks more than 35 degrees up or down, where a
// picture shows mostly sky, ceiling or floor: seconds at 60 frames per second, and the
// segment it begins in.
std::pair<double, int> longestSteepLook(const PlayedPath& path) {
    const double limit = std::sin(35.0 * M_PI / 180.0);
    size_t best = 0, bestStart = 0, run = 0;
    for (size_t i = 0; i < path.eyes.size(); i++) {
        Vec3 d = {path.looks[i].x - path.eyes[i].x, path.looks[i].y - path.eyes[i].y,
                  path.looks[i].z - path.eyes[i].z};
        double length = std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
        run = length > 0 && std::fabs(d.y) > limit * length ? run + 1 : 0;
        if (run > best) {
            best = run;
            bestStart = i + 1 - run;
        }
    }
    return {double(best) / 60.0, best ? path.segment[bestStart] : 0};
}

// The warnings of the summary line, in the order a recorder would look at them.
std::vector<std::string> warnings(const PathReport& report, const Scene& scene) {
    std::vector<std::string> out;
    char text[400];
    if (!report.crossings.empty()) {
        std::string list;
        size_t shown = std::min<size_t>(report.crossings.size(), 6);
        for (size_t i = 0; i < shown; i++) {
            const Crossing& c = report.crossings[i];
            list +=
                (i ? ", " : "") + scene.objects[c.object] + " in segment " + segmentName(c.segment);
        }
        if (report.crossings.size() > shown)
            list += " and " + std::to_string(report.crossings.size() - shown) + " more";
        out.push_back("WARNING: the eye passes through " + list);
    } else if (report.closestObject >= 0) {
        out.push_back("eye clear of the scene");
        snprintf(text, sizeof text, "closest approach %.2f units to %s", report.closest,
                 scene.objects[report.closestObject].c_str());
        out.push_back(text);
    }
    std::string still;
    size_t shown = std::min<size_t>(report.standstills.size(), 6);
    for (size_t i = 0; i < shown; i++) {
        const Standstill& s = report.standstills[i];
        std::string where = segmentName(s.firstSegment);
        if (s.lastSegment != s.firstSegment)
            where += " to " + segmentName(s.lastSegment);
        snprintf(text, sizeof text, "%s%s (%.1f s)", i ? ", " : "", where.c_str(), s.seconds);
        still += text;
    }
    if (report.standstills.size() > shown)
        still += " and " + std::to_string(report.standstills.size() - shown) + " more";
    if (!still.empty())
        out.push_back("WARNING: the eye stands still in segment " + still);
    return out;
}

// A path file as the demo reads and plays it.
struct Playback {
    PlayedPath played;
    int amount = 0;      // as the demo takes it
    size_t held = 0;     // pos/view pairs the file holds
    int lastSegment = 1; // the node the last played segment starts at
    double seconds = 0;  // until the last segment has played once
    std::string problem; // what the demo makes of a mismatch, or "" when there is none
};

// What "amount" does with the nodes held.
std::string amountProblem(int amount, size_t held) {
    if (amount > int(held))
        return "declares " + std::to_string(amount) + " nodes but holds " + std::to_string(held) +
               "; playback ends at the last node held";
    if (amount < int(held))
        return "holds " + std::to_string(held) + " nodes but declares " + std::to_string(amount) +
               "; the rest are never played";
    return "";
}

// Reads the file with the demo's reader and plays it with the demo's playback at 60 frames
// per second until its last segment has been played once; after that the demo only
// repeats it. Nodes come from the playback window as the demo reads them. Returns "" or
// why the demo cannot play the file.
std::string playPath(const char* fileName, Playback& out) {
    CameraPath path = {};
    resetPlayback();
    PathFile file = readPathFile(fileName);
    PathReading reading = readLoadedCameraPath(path, file);
    if (!path.usable)
        return unusableMessage(fileName, reading.reason);
    std::vector<PlotNode> held = heldNodes(file);

    PlayedPath& played = out.played;
    played.name = baseName(fileName);
    for (int i = 0; i < 4; i++)
        played.nodes.push_back({path.posWindow[i], path.viewWindow[i], true});
    out.amount = path.amount;
    out.held = held.size();
    out.problem = amountProblem(path.amount, held.size());

    int playable = std::max(0, std::min(path.amount, int(held.size())));
    out.lastSegment = std::max(playable - 3, 1);
    int frames = 0;
    for (;;) {
        size_t before = path.nextNode;
        playbackStep(path);
        if (path.nextNode != before)
            played.nodes.push_back({path.posWindow[3], path.viewWindow[3], true});
        if (path.nodeIndex >= out.lastSegment)
            break;
        if (frames == kMaxFrames) {
            out.problem += std::string(out.problem.empty() ? "" : "; ") + "plays longer than " +
                           std::to_string(kMaxFrames / 3600) + " minutes; the rest is not checked";
            break;
        }
        played.eyes.push_back(pathPlayback.pathEye);
        played.looks.push_back(pathPlayback.pathLookAt);
        played.segment.push_back(path.nodeIndex + 1);
        advancePathParam(1.0f);
        frames++;
    }
    for (size_t i = played.nodes.size(); i < held.size(); i++)
        played.nodes.push_back(held[i]);
    played.firstNode = 1;
    played.lastNode = out.lastSegment + 1;
    out.seconds = frames / 60.0;
    return nonFinite(played);
}

// The plot's title: the file and its scene, the facts, then one line per warning.
std::vector<std::string> plotTitle(const Playback& playback, const Scene& scene,
                                   const std::vector<std::string>& notes) {
    std::string heading = playback.played.name;
    if (scene.number) {
        heading += ": camera path of scene " + std::to_string(scene.number) + " (";
        for (size_t i = 0; i < scene.models.size(); i++)
            heading += (i ? ", " : "") + scene.models[i];
        heading += scene.models.empty() ? "no models read)" : ")";
    }
    char text[400];
    snprintf(text, sizeof text,
             "%zu nodes \u00b7 plays segments 1-2 to %s (%d segments) \u00b7 %.1f s at 60 frames "
             "per second",
             playback.held, segmentName(playback.lastSegment).c_str(), playback.lastSegment,
             playback.seconds);
    std::vector<std::string> title = {heading, text};
    if (!playback.problem.empty())
        title.push_back("WARNING: " + playback.problem);
    std::string clear; // the notes that are no warnings share a line
    for (const std::string& note : notes)
        if (note.rfind("WARNING", 0) == 0)
            title.push_back(note);
        else
            clear += (clear.empty() ? "" : " \u00b7 ") + note;
    if (!clear.empty())
        title.push_back(clear);
    return title;
}

// The summary line: the facts, the problem, the scene, the warnings and the plot.
std::string summaryLine(const char* fileName, const Playback& playback, const Scene& scene,
                        const std::string& sceneSource, const std::vector<std::string>& notes) {
    char text[400];
    snprintf(text, sizeof text,
             "%zu nodes held, amount %d, plays segments 1-2 to %s (%d segments), %.1f s at 60 "
             "frames per second",
             playback.held, playback.amount, segmentName(playback.lastSegment).c_str(),
             playback.lastSegment, playback.seconds);
    std::string line = std::string(fileName) + ": " + text;
    if (!playback.problem.empty())
        line += "; " + playback.problem;
    if (scene.number == 0)
        line += "; no scene (name it with --scene 1 or --scene 2)";
    else
        line += "; scene " + std::to_string(scene.number) + ": " +
                std::to_string(scene.triangles.size()) + " triangles from " + sceneSource;
    for (const std::string& note : notes)
        line += "; " + note;
    return line;
}

// One path file: returns false when the demo could not play it or the plot failed.
bool plotPath(const char* fileName, const Options& options) {
    Playback playback;
    std::string broken = playPath(fileName, playback);
    if (!broken.empty()) {
        printf("%s: cannot be played: %s\n", fileName, broken.c_str());
        return false;
    }

    int sceneNumber = options.scene >= 0 ? options.scene : sceneByName(fileName);
    std::string modelsDir =
        options.modelsDir.empty() ? folderOf(fileName) + "/models" : options.modelsDir;
    std::string sceneProblems;
    Scene scene = loadScene(sceneNumber, modelsDir, sceneProblems);
    PathReport report = checkPath(playback.played, scene);
    std::vector<std::string> notes = warnings(report, scene);
    auto [steep, steepSegment] = longestSteepLook(playback.played);
    std::string from = steep > 0 ? " (from segment " + segmentName(steepSegment) + ")" : "";
    char text[160];
    snprintf(text, sizeof text, "%slooks more than 35 degrees up or down for %.1f s at most%s",
             steep > 2.0 ? "WARNING: " : "", steep, from.c_str());
    notes.push_back(text);

    std::string out = fileName;
    size_t dot = out.rfind(".xml");
    out = (dot != std::string::npos ? out.substr(0, dot) : out) + ".png";
    std::vector<LabelBox> labels;
    bool saved =
        drawPlot(out, playback.played, scene, report, plotTitle(playback, scene, notes), labels);

    std::string line = summaryLine(fileName, playback, scene, modelsDir + sceneProblems, notes);
    printf("%s; %s %s\n", line.c_str(), saved ? "plot:" : "could not write", out.c_str());
    if (options.labelBoxes)
        for (const LabelBox& b : labels)
            printf("label view %d node %d box %.1f %.1f %.1f %.1f\n", b.view, b.node, b.x, b.y,
                   b.width, b.height);
    return saved;
}

const char* kUsage =
    "usage: kestrune-paths [--scene 1|2|none] [--models DIR] [--label-boxes] FILE.xml ...\n"
    "  Plots each camera path over its scene into FILE.png and prints a summary line.\n"
    "  --scene    the scene the paths belong to (default: by name, campath2.xml is scene 1,\n"
    "             campath.xml scene 2; other names get no scene)\n"
    "  --models   the folder of the scene's models (default: models/ beside each file)\n"
    "  --label-boxes  also print the node label boxes laid out on the plot\n";

} // namespace

int main(int argc, char** argv) {
    modelWarningStream = stderr; // stdout carries the summary lines
    Options options;
    std::vector<const char*> files;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if ((arg == "--scene" || arg == "--models") && i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "--models")
                options.modelsDir = value;
            else if (value == "1" || value == "2" || value == "none")
                options.scene = value == "none" ? 0 : std::stoi(value);
            else {
                printf("kestrune-paths: --scene takes 1, 2 or none, not \"%s\"\n%s", value.c_str(),
                       kUsage);
                return 1;
            }
        } else if (arg == "--label-boxes") {
            options.labelBoxes = true;
        } else if (arg.rfind("--", 0) == 0) {
            printf("kestrune-paths: unknown option %s\n%s", arg.c_str(), kUsage);
            return 1;
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        printf("%s", kUsage);
        return 1;
    }
    bool allPlayable = true;
    for (const char* file : files)
        allPlayable = plotPath(file, options) && allPlayable;
    return allPlayable ? 0 : 1;
}
