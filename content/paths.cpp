// Camera paths for both scenes, written in the recorder's XML format. Each path is a shot
// list of key views at times of its scene, joined by a spline in time; a node is placed
// where playback will be at each segment's start, so the camera is where the list says
// when it says. The port path's climax is framed on the UFO and the platform where the
// animation has them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "campath/format.h"
#include "content/paths.h"
#include "content/vecmath.h"
#include "show/show.h"

namespace {

const int kFps = 60; // the rate the show is timed for

struct View {
    Float3 eye, look;
};

struct Key {
    float time; // seconds into the scene
    View view;
};

// Cubic Hermite through the keys with tangents from their neighbours, divided by the
// time between them: the speed stays smooth where keys lie unevenly in time.
View viewAt(const std::vector<Key>& keys, float t) {
    size_t n = keys.size();
    if (t <= keys.front().time)
        return keys.front().view;
    if (t >= keys.back().time)
        return keys.back().view;
    size_t k = 0;
    while (keys[k + 1].time < t)
        ++k;
    auto tangent = [&](size_t i, Float3 View::*part) {
        size_t a = i > 0 ? i - 1 : i, b = std::min(i + 1, n - 1);
        return (keys[b].view.*part - keys[a].view.*part) * (1.0f / (keys[b].time - keys[a].time));
    };
    float span = keys[k + 1].time - keys[k].time, u = (t - keys[k].time) / span;
    float h00 = (1 + 2 * u) * (1 - u) * (1 - u), h10 = u * (1 - u) * (1 - u);
    float h01 = u * u * (3 - 2 * u), h11 = u * u * (u - 1);
    auto blend = [&](Float3 View::*part) {
        return keys[k].view.*part * h00 + tangent(k, part) * (h10 * span) +
               keys[k + 1].view.*part * h01 + tangent(k + 1, part) * (h11 * span);
    };
    return {blend(&View::eye), blend(&View::look)};
}

// Seconds into the scene at which playback starts each segment, up to the first start
// after `frames` frames. Playback steps its parameter by 0.01 (in float) after every frame
// and starts the next segment at 0 once it has passed 1; `first` is the parameter of the
// scene's first frame.
std::vector<float> segmentStarts(float first, int frames) {
    std::vector<float> starts = {(1.0f - first / 0.01f) / kFps};
    float param = first;
    for (int frame = 1; starts.back() * kFps < frames; ++frame) {
        if (param > 1.0f) {
            param = 0.0f;
            starts.push_back(float(frame) / kFps);
        }
        param += 0.01f;
    }
    return starts;
}

// Frames of a fade: brightness climbs by the fade step (in float) until it passes the end.
int fadeFrames(float from) {
    int frames = 0;
    for (float b = from; b <= show::kFadeEnd; b += show::kFadeStep)
        ++frames;
    return frames;
}

// Nodes that play the shot list over a scene of `frames` frames and half a second more:
// node j + 1 where segment j starts. The first and the last node are never reached; they
// only shape the first and the last segment, and stand one segment before and after.
std::vector<View> nodesFor(const std::vector<Key>& keys, float firstParam, int frames) {
    std::vector<float> starts = segmentStarts(firstParam, frames + kFps / 2);
    std::vector<View> nodes = {viewAt(keys, 2 * starts[0] - starts[1])};
    for (float t : starts)
        nodes.push_back(viewAt(keys, t));
    nodes.push_back(viewAt(keys, 2 * starts.back() - starts[starts.size() - 2]));
    return nodes;
}

std::vector<View> roomPath() {
    // The knot (centre at y = 2.4) from all sides, a climb towards the oculus that looks
    // across the lamps rather than up at the sky, the bookshelves along the west wall, the
    // north windows onto the sea, the table from above, and back to the knot for the fade.
    const Float3 knot = {0, 2.4f, 0};
    const std::vector<Key> keys = {
        {-3, {{-3, 1.0f, 10}, knot}},
        {0, {{0, 1.2f, 9.5f}, knot}},
        {6, {{6.5f, 1.6f, 7}, knot}},
        {12, {{9.5f, 2.2f, 0}, knot}},
        {18, {{6.5f, 3.0f, -7}, knot}},
        {24, {{0, 4.5f, -10.5f}, {0, 5.0f, 2}}},
        {30, {{-8.5f, 6.5f, -2}, {5, 10.5f, 6}}},
        {36, {{-12, 7.5f, 3}, {6, 5.0f, -3}}},
        {42, {{-13, 6.0f, 7}, {-15, 1.5f, -4}}},
        {48, {{-13, 3.5f, 12}, {-16, 1.0f, -5}}},
        {54, {{-12.5f, 3.0f, 1}, {2, 2.4f, -7}}},
        {57, {{-6, 3.5f, -5}, {1, 2.0f, 4}}},
        {61, {{-4, 4.0f, -13}, {2, 1.5f, 6}}},
        {66, {{3, 4.5f, -12.5f}, {-3, 1.5f, 8}}},
        {72, {{8, 4.0f, -3}, {-6, 1.5f, 6}}},
        {78, {{6, 5.5f, -1}, {-1, -1.5f, 13}}},
        {84, {{3, 4.5f, 6}, {-14, 1.5f, -4}}},
        {90, {{-4, 4.0f, 6.5f}, {6, 2.0f, -8}}},
        {96, {{-7.5f, 3.5f, 4.5f}, {3, 2.4f, -4}}},
        {102, {{-8.5f, 3.0f, 1}, knot}},
        {108, {{-6, 3.5f, -6}, knot}},
        {114, {{0, 4.0f, -8.5f}, knot}},
        {120, {{6, 4.5f, -6.5f}, knot}},
        {126, {{8.5f, 5.0f, 0}, knot}},
    };
    int frames = int(std::lround(show::kSceneOneEnd * kFps)) + fadeFrames(1.0f);
    return nodesFor(keys, 0.0f, frames);
}

// Where the scene-2 animation has the platform and the UFO `tau` seconds after it began,
// as the demo's animation moves them: it steps once per drawn scene-2 object and frame.
struct Climax {
    float lift, tilt, fly;
};

Climax climaxAt(float tau) {
    const float steps = float(show::kSceneTwoObjectCount * kFps);
    return {0.001f * steps * std::clamp(tau, 0.0f, float(show::kPhaseTwo)),
            -0.002f * steps *
                std::clamp(tau - float(show::kPhaseTwo), 0.0f,
                           float(show::kPhaseThree - show::kPhaseTwo)),
            0.005f * steps * std::max(tau - float(show::kPhaseThree), 0.0f)};
}

// Each model as the drum round its spin axis that holds it: radius, bottom and top (the
// platform's steps reach out to 12.2).
struct Drum {
    float radius, low, high;
};
const Drum kPlatformDrum = {12.2f, 0.0f, 5.5f}, kUfoDrum = {5.9f, 1.0f, 7.4f};

// Points round a drum as the animation places it: the UFO tilts about z through the
// origin, then both rise and the UFO flies off.
std::vector<Float3> drumPoints(const Drum& d, const Climax& c, bool ufo) {
    float a = ufo ? c.tilt * kPi / 180.0f : 0.0f, dx = ufo ? c.fly : 0.0f;
    std::vector<Float3> points;
    for (int k = 0; k < 32; ++k) {
        float x = d.radius * std::cos(k * kPi / 8), y = k % 2 ? d.low : d.high;
        points.push_back({x * std::cos(a) - y * std::sin(a) + dx,
                          x * std::sin(a) + y * std::cos(a) + dx + c.lift,
                          d.radius * std::sin(k * kPi / 8)});
    }
    return points;
}

Float3 drumCentre(const Drum& d, const Climax& c, bool ufo) {
    Float3 sum;
    for (Float3 p : drumPoints(d, c, ufo))
        sum = sum + p;
    return sum * (1.0f / 32);
}

// Whether the UFO, and the platform while the UFO stands on it, fit in the middle `share`
// of a 16:9 picture with the demo's 40-degree view, `t` seconds into the animation.
bool frames(const View& v, float t, float share) {
    Climax c = climaxAt(t);
    Float3 forward = unitV(v.look - v.eye);
    Float3 right = unitV(crossV(forward, {0, 1, 0}));
    Float3 up = crossV(right, forward);
    const float tanY = std::tan(20.0f * kPi / 180.0f), tanX = tanY * 16.0f / 9.0f;
    std::vector<Float3> points = drumPoints(kUfoDrum, c, true);
    if (t <= float(show::kPhaseThree)) {
        std::vector<Float3> pad = drumPoints(kPlatformDrum, c, false);
        points.insert(points.end(), pad.begin(), pad.end());
    }
    for (Float3 p : points) {
        Float3 d = p - v.eye;
        float z = dot(d, forward);
        if (z < 1.0f || std::fabs(dot(d, right)) > share * tanX * z ||
            std::fabs(dot(d, up)) > share * tanY * z)
            return false;
    }
    return true;
}

// The climax camera circles the pair slowly from above, looking at their middle, as near
// as keeps both well inside the picture. Once the UFO flies off it turns to the UFO and
// follows it from below, against the sky, backing off a little as it goes.
View climaxView(float tau) {
    const float leaves = float(show::kPhaseThree), nearest = 16.0f;
    auto smooth = [](float x) {
        x = clamp01(x);
        return x * x * (3 - 2 * x);
    };
    auto placed = [&](float t, float distance) {
        Climax c = climaxAt(t);
        float follow = smooth((t - leaves) / 3.0f);
        Float3 ufo = drumCentre(kUfoDrum, c, true);
        Float3 look = mix((drumCentre(kPlatformDrum, c, false) + ufo) * 0.5f, ufo, follow);
        float a = (-20.0f - 1.5f * t) * kPi / 180.0f, e = (10.0f - 18.0f * follow) * kPi / 180.0f;
        Float3 dir = {std::sin(a) * std::cos(e), std::sin(e), std::cos(a) * std::cos(e)};
        return View{look + dir * distance, look};
    };
    auto need = [&](float t, float from) {
        while (!frames(placed(t, from), t, 0.7f))
            from += 0.5f;
        return from;
    };
    // Nearest while the pair stands together, then over to a chase distance.
    const float pair = need(leaves, nearest);
    auto wanted = [&](float t) {
        if (t <= leaves)
            return nearest;
        return pair + (28.0f + 2.0f * (t - leaves) - pair) * smooth((t - leaves) / 3.0f);
    };
    // What the picture needs a little ahead, so the spline between nodes keeps the margin.
    float distance = 0;
    for (float t = tau; t <= tau + 2.0f; t += 0.25f)
        distance = std::max(distance, need(t, wanted(t)));
    return placed(tau, distance);
}

std::vector<View> portPath() {
    const float start = float(show::kAnimationStart);
    View first = climaxView(0);
    // The tour: in from the sea to the lighthouse, across to the container stacks, along
    // the warehouses and the quay, out over the water in front of the cranes, and round to
    // the platform where the climax takes over.
    std::vector<Key> keys = {
        {-3, {{10, 16, 125}, {-50, 12, 20}}},
        {0, {{0, 15, 115}, {-60, 12, 20}}},
        {6, {{-28, 13, 86}, {-82, 15, 18}}},
        {12, {{-50, 12, 62}, {-82, 18, 18}}},
        {18, {{-56, 16, 48}, {-40, 5, -28}}},
        {24, {{-52, 16, 26}, {-10, 6, -42}}},
        {30, {{-26, 14, 32}, {18, 8, -38}}},
        {36, {{0, 16, 52}, {25, 10, 5}}},
        {41, {{-10, 13, 45}, {2, 6, 0}}},
        {start - 1, {first.eye + Float3{2, 0, 1}, first.look}},
    };
    for (float t = 0; t <= 24.0f; t += 0.5f)
        keys.push_back({start + t, climaxView(t)});
    int frames =
        int(std::lround((show::kAnimationStart + show::kSceneTwoEnd) * kFps)) + fadeFrames(0.0f);
    // The switch leaves the parameter at 0 and the frame's end adds a step before scene 2
    // draws its first frame.
    return nodesFor(keys, 0.01f, frames);
}

bool savePath(const std::string& file, const std::vector<View>& views) {
    std::vector<PathNode> nodes;
    for (const View& v : views)
        nodes.push_back({{v.eye.x, v.eye.y, v.eye.z}, {v.look.x, v.look.y, v.look.z}});
    std::string error = writePathFile(file.c_str(), nodes);
    if (!error.empty()) {
        std::printf("kestrune-content: cannot write %s: %s\n", file.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

bool writeCameraPaths(const std::string& outDir) {
    return savePath(outDir + "/" + kLevelOnePathFile, roomPath()) &&
           savePath(outDir + "/" + kLevelTwoPathFile, portPath());
}
