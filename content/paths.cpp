// Camera paths for both scenes, written in the recorder's XML format. Each path is a
// hand-placed list of key views, smoothed by a Catmull-Rom spline and resampled so that
// the nodes are evenly spaced: playback spends the same time on every segment.
#include <tinyxml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "campath/format.h"
#include "content/paths.h"
#include "content/vecmath.h"
#include "show/show.h"

namespace {

struct View {
    Float3 eye, look;
};

Float3 catmullRom(Float3 p0, Float3 p1, Float3 p2, Float3 p3, float t) {
    return (p1 * 2.0f + (p2 - p0) * t + (p0 * 2.0f - p1 * 5.0f + p2 * 4.0f - p3) * (t * t) +
            (p1 * 3.0f - p0 - p2 * 3.0f + p3) * (t * t * t)) *
           0.5f;
}

// Dense samples of the spline through the keys (end keys repeated as outer controls).
std::vector<View> densify(const std::vector<View>& keys, int perKey) {
    std::vector<View> out;
    int n = int(keys.size());
    for (int k = 0; k + 1 < n; ++k) {
        const View& a = keys[std::max(k - 1, 0)];
        const View& b = keys[k];
        const View& c = keys[k + 1];
        const View& d = keys[std::min(k + 2, n - 1)];
        for (int s = 0; s < perKey; ++s) {
            float t = float(s) / perKey;
            out.push_back({catmullRom(a.eye, b.eye, c.eye, d.eye, t),
                           catmullRom(a.look, b.look, c.look, d.look, t)});
        }
    }
    out.push_back(keys.back());
    return out;
}

// Picks `count` views along the dense curve, spaced by travelled distance weighted by
// `speed` (a function of the position 0..1 along the result): 1 is the mean pace.
std::vector<View> resample(const std::vector<View>& dense, int count, float (*speed)(float)) {
    std::vector<float> dist(dense.size(), 0.0f);
    for (size_t k = 1; k < dense.size(); ++k)
        dist[k] = dist[k - 1] + lengthV(dense[k].eye - dense[k - 1].eye) +
                  0.25f * lengthV(dense[k].look - dense[k - 1].look);
    // Cumulative share of the distance covered at each node, from the speed profile.
    std::vector<float> share(count, 0.0f);
    for (int i = 1; i < count; ++i)
        share[i] = share[i - 1] + speed((i - 0.5f) / (count - 1));
    std::vector<View> out;
    size_t k = 0;
    for (int i = 0; i < count; ++i) {
        float target = dist.back() * share[i] / share[count - 1];
        while (k + 2 < dense.size() && dist[k + 1] < target)
            ++k;
        float span = dist[k + 1] - dist[k];
        float t = span > 0 ? std::clamp((target - dist[k]) / span, 0.0f, 1.0f) : 0.0f;
        out.push_back({dense[k].eye + (dense[k + 1].eye - dense[k].eye) * t,
                       dense[k].look + (dense[k + 1].look - dense[k].look) * t});
    }
    return out;
}

float evenPace(float) {
    return 1.0f;
}
// The harbour tour slows down into the slow orbit around the platform.
float tourPace(float x) {
    float t = std::clamp((x - 0.5f) / 0.5f, 0.0f, 1.0f);
    return 1.0f - 0.9f * t * t * (3 - 2 * t);
}

std::vector<View> roomPath() {
    // Around the knot, up to the oculus, out of the north window, past the shelves and
    // the table, and back to the knot, looking up into the light for the fade.
    const std::vector<View> keys = {
        {{0, 0.5f, 9}, {0, 2.2f, 0}},
        {{4, 1.0f, 6.5f}, {0, 2.3f, 0}},
        {{6.5f, 1.8f, 0}, {0, 2.4f, 0}},
        {{4.5f, 2.6f, -5}, {0, 2.4f, 0}},
        {{-1, 3.5f, -6.5f}, {0, 2.6f, 0}},
        {{-5.5f, 4.5f, -3.5f}, {0, 3, 0}},
        {{-5, 6, 2.5f}, {0, 4, 0}},
        {{-1.5f, 7.5f, 4}, {0, 14, -1}},
        {{1, 8.5f, 1.5f}, {0, 25, -2}},
        {{3, 8, -3}, {2, 10, -14}},
        {{2.5f, 6.5f, -9}, {0, 5.5f, -25}},
        {{0, 4.5f, -13}, {0, 4.5f, -30}},
        {{-4, 4, -11}, {-12, 4, -6}},
        {{-6, 3.5f, -5.5f}, {-14, 2, 0}},
        {{-12.5f, 2.5f, 0}, {-17.4f, 1, 5}},
        {{-12.5f, 1.5f, 4.5f}, {-4, 0, 13}},
        {{-5.5f, 1.0f, 6}, {0, -1, 13.5f}},
        {{0, 2.0f, 9}, {0, -0.5f, 14}},
        {{5.5f, 2.5f, 6}, {10, 5, 18}},
        {{12.5f, 4, 2}, {20, 5, 0}},
        {{13, 5, -3.5f}, {0, 3, 0}},
        {{5, 5.5f, -5}, {0, 3, 0}},
        {{0, 9, -5}, {0, 2, 0}},
        {{-5, 6, 0}, {0, 2.5f, 0}},
        {{-3, 3, 5}, {0, 2.5f, 0}},
        {{2, 2, 5.5f}, {0, 2.5f, 0}},
        {{5, 2.5f, 1}, {0, 2.6f, 0}},
        {{3, 3, -4.5f}, {0, 2.7f, 0}},
        {{-2.5f, 4, -5}, {0, 3, 0}},
        {{-5, 5, 0}, {0, 4, 0}},
        {{-2, 7, 4}, {0, 12, 0}},
        {{0, 9, 2}, {0, 30, 0}},
    };
    return resample(densify(keys, 40), 96, evenPace);
}

std::vector<View> portPath() {
    const float radius = 52.0f;
    const Float3 centre = {3, 0, 0};
    const Float3 target = {3, 12, 0};
    auto orbit = [&](float degrees) {
        float a = degrees * kPi / 180.0f;
        // Above the raised platform (about 15 units at full lift), or it hides the UFO.
        return View{centre + Float3{radius * std::sin(a), 22.0f, radius * std::cos(a)}, target};
    };
    // From the sea past the lighthouse, over the containers and the warehouses, between
    // the cranes and back over the water to the platform.
    std::vector<View> tour = {
        {{0, 15, 120}, {0, 5, 0}},
        {{-30, 12, 90}, {-60, 10, 20}},
        {{-60, 10, 62}, {-82, 20, 18}},
        {{-70, 18, 42}, {-82, 24, 18}},
        {{-62, 22, 8}, {-82, 26, 18}},
        {{-50, 21, -10}, {-40, 4, -30}},
        {{-25, 22, -24}, {0, 8, -48}},
        {{5, 24, -20}, {30, 20, 10}},
        {{33, 18, 0}, {33, 24, 30}},
        {{33, 12, 30}, {20, 8, 60}},
        {{10, 9, 48}, {-20, 2, 38}},
        {{-6, 10, 58}, {0, 4, 0}},
        orbit(-10),
    };
    std::vector<View> nodes = resample(densify(tour, 40), 29, tourPace);
    const int orbitNodes = 37;
    for (int i = 1; i <= orbitNodes; ++i)
        nodes.push_back(orbit(-10.0f - 24.0f * i / orbitNodes)); // cranes stay right
    return nodes;
}

bool savePath(const std::string& file, const std::vector<View>& nodes) {
    TiXmlDocument doc;
    TiXmlElement* points = startPathDocument(doc);
    setPathAmount(points, int(nodes.size()));
    for (const View& v : nodes) {
        const float eye[3] = {v.eye.x, v.eye.y, v.eye.z};
        const float look[3] = {v.look.x, v.look.y, v.look.z};
        appendPathNode(points, eye, look);
    }
    std::string error = savePathDocument(doc, file.c_str());
    if (!error.empty()) {
        std::printf("kestrune-content: cannot write %s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

bool writeCameraPaths(const std::string& outDir) {
    return savePath(outDir + "/" + show::kLevelOnePathFile, roomPath()) &&
           savePath(outDir + "/" + show::kLevelTwoPathFile, portPath());
}
