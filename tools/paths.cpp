// kestrune-paths: shows people who record camera paths what the demo will make of them.
// Reads each path file with the demo's own reader, plays it with the demo's own
// playback at 60 frames per second, and writes a PNG beside it (top view and side view
// of the eye and look-at splines, the played segments bright, node numbers) and a
// summary line.
#include <IL/il.h>
#include <tinyxml.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "campath/campath.h"

namespace {

const int kPanel = 640; // each view is a square panel
const int kWidth = 2 * kPanel, kHeight = kPanel;
const int kMaxFrames = 60 * 60 * 30; // half an hour of playback is more than any scene

struct Rgb {
    uint8_t r, g, b;
};

struct Image {
    std::vector<uint8_t> pixels = std::vector<uint8_t>(kWidth * kHeight * 3, 0);
    void put(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
            return;
        uint8_t* p = &pixels[(size_t(y) * kWidth + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
    void dot(int x, int y, int radius, Rgb c) {
        for (int dy = -radius; dy <= radius; dy++)
            for (int dx = -radius; dx <= radius; dx++)
                if (dx * dx + dy * dy <= radius * radius)
                    put(x + dx, y + dy, c);
    }
    void line(float x0, float y0, float x1, float y1, Rgb c) {
        int steps = int(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
        for (int i = 0; i <= steps; i++) {
            float t = float(i) / float(steps);
            put(int(std::lround(x0 + (x1 - x0) * t)), int(std::lround(y0 + (y1 - y0) * t)), c);
        }
    }
    // Digits in a 3x5 pixel font, scaled by two: enough for node numbers.
    void number(int x, int y, int value, Rgb c) {
        static const char* glyphs[10] = {"111101101101111", "010110010010111", "111001111100111",
                                         "111001111001111", "101101111001001", "111100111001111",
                                         "111100111101111", "111001001001001", "111101111101111",
                                         "111101111001111"};
        std::string text = std::to_string(value);
        for (size_t k = 0; k < text.size(); k++) {
            const char* g = glyphs[text[k] - '0'];
            for (int row = 0; row < 5; row++)
                for (int col = 0; col < 3; col++)
                    if (g[row * 3 + col] == '1')
                        for (int s = 0; s < 4; s++)
                            put(x + int(k) * 8 + col * 2 + s % 2, y + row * 2 + s / 2, c);
        }
    }
};

struct Node {
    Vec3 pos, view;
};

// Every pos/view pair the file holds, in order, for drawing (the demo reads them lazily).
std::vector<Node> heldNodes(TiXmlDocument& document) {
    std::vector<Node> nodes;
    TiXmlElement* root = document.RootElement();
    TiXmlElement* points = root ? root->FirstChildElement("points") : nullptr;
    if (!points)
        return nodes;
    Node node = {};
    for (TiXmlElement* e = points->FirstChildElement(); e; e = e->NextSiblingElement()) {
        e->QueryFloatAttribute("x", &node.pos.x);
        e->QueryFloatAttribute("y", &node.pos.y);
        e->QueryFloatAttribute("z", &node.pos.z);
        TiXmlElement* view = e->NextSiblingElement();
        if (!view)
            break;
        view->QueryFloatAttribute("xv", &node.view.x);
        view->QueryFloatAttribute("yv", &node.view.y);
        view->QueryFloatAttribute("zv", &node.view.z);
        nodes.push_back(node);
        e = view;
    }
    return nodes;
}

// Runs the demo's reader with its messages captured; returns what it printed.
std::string readQuietly(const char* fileName, CameraPath& path, TiXmlDocument& document) {
    fflush(stdout);
    char capture[] = "/tmp/kestrune-paths-XXXXXX";
    int fd = mkstemp(capture);
    int saved = dup(1);
    if (fd >= 0)
        dup2(fd, 1);
    readCameraPath(fileName, path, document);
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string text;
    if (fd >= 0) {
        lseek(fd, 0, SEEK_SET);
        char buffer[4096];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, size_t(n));
        close(fd);
        unlink(capture);
    }
    return text;
}

// Maps world coordinates into one panel, the same scale on both axes.
struct Panel {
    int left;
    float minA, minB, scale;
    float x(float a) const { return float(left) + 20 + (a - minA) * scale; }
    float y(float b) const { return float(kHeight) - 20 - (b - minB) * scale; }
};

Panel fitPanel(int left, const std::vector<Vec3>& points, float Vec3::*a, float Vec3::*b) {
    float minA = 1e30f, maxA = -1e30f, minB = 1e30f, maxB = -1e30f;
    for (const Vec3& p : points) {
        minA = std::min(minA, p.*a);
        maxA = std::max(maxA, p.*a);
        minB = std::min(minB, p.*b);
        maxB = std::max(maxB, p.*b);
    }
    float span = std::max({maxA - minA, maxB - minB, 1e-3f});
    Panel panel = {left, minA, minB, float(kPanel - 40) / span};
    // Centre the shorter extent.
    panel.minA -= ((span - (maxA - minA)) / 2);
    panel.minB -= ((span - (maxB - minB)) / 2);
    return panel;
}

bool savePng(const Image& image, const std::string& fileName) {
    ILuint name;
    ilGenImages(1, &name);
    ilBindImage(name);
    // DevIL's rows run bottom-up; flip while handing the picture over.
    std::vector<uint8_t> flipped(image.pixels.size());
    for (int y = 0; y < kHeight; y++)
        memcpy(&flipped[size_t(y) * kWidth * 3],
               &image.pixels[size_t(kHeight - 1 - y) * kWidth * 3], size_t(kWidth) * 3);
    ilTexImage(kWidth, kHeight, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, flipped.data());
    ilEnable(IL_FILE_OVERWRITE);
    bool ok = ilSaveImage(fileName.c_str());
    ilDeleteImages(1, &name);
    return ok;
}

// One path file: returns false when the demo could not play it.
bool plotPath(const char* fileName) {
    CameraPath path = {};
    TiXmlDocument document;
    resetPlayback();
    std::string messages = readQuietly(fileName, path, document);
    std::vector<Node> nodes = heldNodes(document);

    std::string problem;
    if (!path.usable) {
        size_t start = messages.rfind('\n', messages.find("not usable"));
        problem = messages.substr(start == std::string::npos ? 0 : start + 1);
        while (!problem.empty() && (problem.back() == '\n' || problem.back() == '.'))
            problem.pop_back();
        printf("%s: cannot be played: %s\n", fileName, problem.c_str());
        return false;
    }
    if (path.amount > int(nodes.size()))
        problem = "declares " + std::to_string(path.amount) + " nodes but holds " +
                  std::to_string(nodes.size()) + "; playback ends at the last node held";
    else if (path.amount < int(nodes.size()))
        problem = "holds " + std::to_string(nodes.size()) + " nodes but declares " +
                  std::to_string(path.amount) + "; the rest are never played";

    // Play it as the demo does at 60 frames per second, until the last segment is reached
    // and finished once; after that the demo only repeats that segment.
    std::vector<Vec3> eyes, looks;
    int playable = std::min(path.amount, int(nodes.size()));
    int lastSegment = std::max(playable - 3, 1);
    int frames = 0;
    while (frames < kMaxFrames) {
        playbackStep(path);
        if (path.nodeIndex >= lastSegment)
            break;
        eyes.push_back(pathEye);
        looks.push_back(pathLookAt);
        pathParam += 0.01f;
        frames++;
    }
    double seconds = frames / 60.0;

    // Draw.
    Image image;
    std::vector<Vec3> all;
    for (const Node& n : nodes) {
        all.push_back(n.pos);
        all.push_back(n.view);
    }
    all.insert(all.end(), eyes.begin(), eyes.end());
    all.insert(all.end(), looks.begin(), looks.end());
    // The top view looks down with -z up the picture, so it is fitted on -z.
    std::vector<Vec3> seenFromAbove = all;
    for (Vec3& v : seenFromAbove)
        v.z = -v.z;
    Panel top = fitPanel(0, seenFromAbove, &Vec3::x, &Vec3::z);
    Panel side = fitPanel(kPanel, all, &Vec3::x, &Vec3::y);
    for (int y = 0; y < kHeight; y++)
        image.put(kPanel, y, {90, 90, 90});
    const Rgb eyeColour = {255, 200, 60}, lookColour = {80, 180, 255}, dim = {70, 70, 70},
              nodeColour = {240, 240, 240}, sight = {60, 90, 60};
    for (const Panel* p : {&top, &side}) {
        bool isTop = p == &top;
        auto pa = [&](const Vec3& v) { return p->x(v.x); };
        auto pb = [&](const Vec3& v) { return p->y(isTop ? -v.z : v.y); };
        // Unplayed: straight lines between held nodes, dim.
        for (size_t i = 1; i < nodes.size(); i++)
            image.line(pa(nodes[i - 1].pos), pb(nodes[i - 1].pos), pa(nodes[i].pos),
                       pb(nodes[i].pos), dim);
        // Sight lines every half second, then the played splines.
        for (size_t i = 0; i < eyes.size(); i += 30)
            image.line(pa(eyes[i]), pb(eyes[i]), pa(looks[i]), pb(looks[i]), sight);
        for (size_t i = 1; i < eyes.size(); i++) {
            image.line(pa(looks[i - 1]), pb(looks[i - 1]), pa(looks[i]), pb(looks[i]), lookColour);
            image.line(pa(eyes[i - 1]), pb(eyes[i - 1]), pa(eyes[i]), pb(eyes[i]), eyeColour);
        }
        for (size_t i = 0; i < nodes.size(); i++) {
            int x = int(pa(nodes[i].pos)), y = int(pb(nodes[i].pos));
            image.dot(x, y, 2, nodeColour);
            image.number(x + 4, y + 4, int(i), nodeColour);
        }
    }
    // The top view is seen from above with -z up the picture; the side view from the front.
    std::string out = fileName;
    size_t dot = out.rfind(".xml");
    out = (dot != std::string::npos ? out.substr(0, dot) : out) + ".png";
    bool saved = savePng(image, out);

    printf("%s: %zu nodes held, amount %d, plays segments 1-2 to %d-%d (%d segments), "
           "%.1f s at 60 frames per second%s%s; %s %s\n",
           fileName, nodes.size(), path.amount, lastSegment, lastSegment + 1,
           std::max(lastSegment, 1), seconds, problem.empty() ? "" : "; ", problem.c_str(),
           saved ? "plot:" : "could not write", out.c_str());
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: kestrune-paths FILE.xml [FILE.xml ...]\n");
        return 1;
    }
    ilInit();
    bool allPlayable = true;
    for (int i = 1; i < argc; i++)
        allPlayable = plotPath(argv[i]) && allPlayable;
    return allPlayable ? 0 : 1;
}
