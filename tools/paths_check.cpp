// kestrune-paths: the eye against the scene (closest approach, passes through triangles)
// and where it stands still. The triangles go into a bounding volume hierarchy so that a
// path of thousands of frames is checked against tens of thousands of triangles at once.
#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "tools/paths.h"

namespace {

// Below this many scene units per frame the eye counts as standing still: a fiftieth of
// the user camera's flying speed.
const double kStillStep = 0.005;
const int kStillFrames = 30; // half a second at 60 frames per second

struct D3 {
    double x, y, z;
};
D3 d3(const Vec3& v) {
    return {v.x, v.y, v.z};
}
D3 operator-(D3 a, D3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
D3 operator+(D3 a, D3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
D3 operator*(D3 a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double dot(D3 a, D3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
D3 cross(D3 a, D3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double component(const D3& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

struct Box {
    D3 lo = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    void add(D3 p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    void add(const Box& b) {
        add(b.lo);
        add(b.hi);
    }
    bool overlaps(const Box& b) const {
        return lo.x <= b.hi.x && b.lo.x <= hi.x && lo.y <= b.hi.y && b.lo.y <= hi.y &&
               lo.z <= b.hi.z && b.lo.z <= hi.z;
    }
    double distanceSquared(D3 p) const {
        double dx = std::max({lo.x - p.x, 0.0, p.x - hi.x});
        double dy = std::max({lo.y - p.y, 0.0, p.y - hi.y});
        double dz = std::max({lo.z - p.z, 0.0, p.z - hi.z});
        return dx * dx + dy * dy + dz * dz;
    }
};

struct Tri {
    D3 a, b, c;
    int object;
};

struct BvhNode {
    Box box;
    int first, count; // leaf: triangles [first, first + count); inner: count 0
    int left, right;
};

struct Bvh {
    std::vector<Tri> tris;
    std::vector<BvhNode> nodes;

    int build(int first, int count) {
        BvhNode node = {};
        for (int i = first; i < first + count; i++) {
            node.box.add(tris[i].a);
            node.box.add(tris[i].b);
            node.box.add(tris[i].c);
        }
        int index = int(nodes.size());
        nodes.push_back(node);
        if (count <= 4) {
            nodes[index].first = first;
            nodes[index].count = count;
            return index;
        }
        // Split at the median centre along the longest side.
        D3 size = node.box.hi - node.box.lo;
        int axis = size.x >= size.y && size.x >= size.z ? 0 : size.y >= size.z ? 1 : 2;
        auto centre = [axis](const Tri& t) {
            return component(t.a, axis) + component(t.b, axis) + component(t.c, axis);
        };
        int half = count / 2;
        std::nth_element(tris.begin() + first, tris.begin() + first + half,
                         tris.begin() + first + count,
                         [&](const Tri& p, const Tri& q) { return centre(p) < centre(q); });
        int left = build(first, half);
        int right = build(first + half, count - half);
        nodes[index].left = left;
        nodes[index].right = right;
        return index;
    }
};

// The point of triangle abc closest to p (after Ericson, Real-Time Collision Detection).
D3 closestOnTriangle(D3 p, D3 a, D3 b, D3 c) {
    D3 ab = b - a, ac = c - a, ap = p - a;
    double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0)
        return a;
    D3 bp = p - b;
    double d3v = dot(ab, bp), d4 = dot(ac, bp);
    if (d3v >= 0 && d4 <= d3v)
        return b;
    double vc = d1 * d4 - d3v * d2;
    if (vc <= 0 && d1 >= 0 && d3v <= 0)
        return a + ab * (d1 / (d1 - d3v));
    D3 cp = p - c;
    double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6)
        return c;
    double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0)
        return a + ac * (d2 / (d2 - d6));
    double va = d3v * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3v) >= 0 && (d5 - d6) >= 0)
        return b + (c - b) * ((d4 - d3v) / ((d4 - d3v) + (d5 - d6)));
    double denominator = va + vb + vc;
    if (denominator == 0) // degenerate triangle: its vertices were handled above
        return a;
    return a + ab * (vb / denominator) + ac * (vc / denominator);
}

// Whether the segment from p to q meets the triangle (Moeller-Trumbore).
bool segmentHits(D3 p, D3 q, const Tri& t) {
    D3 direction = q - p, e1 = t.b - t.a, e2 = t.c - t.a;
    D3 h = cross(direction, e2);
    double det = dot(e1, h);
    if (std::fabs(det) < 1e-12)
        return false;
    D3 s = p - t.a;
    double u = dot(s, h) / det;
    if (u < 0 || u > 1)
        return false;
    D3 qv = cross(s, e1);
    double v = dot(direction, qv) / det;
    if (v < 0 || u + v > 1)
        return false;
    double along = dot(e2, qv) / det;
    return along >= 0 && along <= 1;
}

// Squared distance from p to the nearest triangle; best holds the bound to beat.
void nearest(const Bvh& bvh, D3 p, double& best, int& object) {
    std::vector<int> stack = {0};
    while (!stack.empty()) {
        const BvhNode& node = bvh.nodes[stack.back()];
        stack.pop_back();
        if (node.box.distanceSquared(p) >= best)
            continue;
        if (node.count) {
            for (int i = node.first; i < node.first + node.count; i++) {
                const Tri& t = bvh.tris[i];
                D3 d = closestOnTriangle(p, t.a, t.b, t.c) - p;
                double squared = dot(d, d);
                if (squared < best) {
                    best = squared;
                    object = t.object;
                }
            }
            continue;
        }
        // The nearer child goes on top so that it tightens the bound first.
        int near = node.left, far = node.right;
        if (bvh.nodes[far].box.distanceSquared(p) < bvh.nodes[near].box.distanceSquared(p))
            std::swap(near, far);
        stack.push_back(far);
        stack.push_back(near);
    }
}

// Objects whose triangles the segment from p to q meets.
void hits(const Bvh& bvh, D3 p, D3 q, std::set<int>& objects) {
    Box span;
    span.add(p);
    span.add(q);
    std::vector<int> stack = {0};
    while (!stack.empty()) {
        const BvhNode& node = bvh.nodes[stack.back()];
        stack.pop_back();
        if (!node.box.overlaps(span))
            continue;
        if (node.count) {
            for (int i = node.first; i < node.first + node.count; i++)
                if (segmentHits(p, q, bvh.tris[i]))
                    objects.insert(bvh.tris[i].object);
            continue;
        }
        stack.push_back(node.left);
        stack.push_back(node.right);
    }
}

void findStandstills(const PlayedPath& path, PathReport& report) {
    size_t frames = path.eyes.size();
    size_t runStart = 0;
    for (size_t i = 1; i <= frames; i++) {
        bool still = false;
        if (i < frames) {
            D3 step = d3(path.eyes[i]) - d3(path.eyes[i - 1]);
            still = dot(step, step) < kStillStep * kStillStep;
        }
        if (still)
            continue;
        // Frames runStart .. i - 1 hold still with each other.
        size_t length = i - 1 - runStart;
        if (length >= size_t(kStillFrames))
            report.standstills.push_back({path.segment[runStart], path.segment[i - 1],
                                          double(length) / 60.0, path.eyes[runStart]});
        runStart = i;
    }
}

} // namespace

PathReport checkPath(const PlayedPath& path, const Scene& scene) {
    PathReport report;
    findStandstills(path, report);
    if (scene.triangles.empty() || path.eyes.empty())
        return report;

    Bvh bvh;
    for (const SceneTriangle& t : scene.triangles)
        bvh.tris.push_back({d3(t.a), d3(t.b), d3(t.c), t.object});
    bvh.build(0, int(bvh.tris.size()));

    // Closest approach over every frame.
    double best = HUGE_VAL;
    for (size_t i = 0; i < path.eyes.size(); i++) {
        double found = HUGE_VAL;
        int object = -1;
        nearest(bvh, d3(path.eyes[i]), found, object);
        if (found < best) {
            best = found;
            report.closestFrame = int(i);
            report.closestObject = object;
            report.closestPoint = path.eyes[i];
        }
    }
    report.closest = std::sqrt(best);

    // Passes through triangles: the straight step from one frame to the next, charged to
    // the segment that was playing.
    std::set<std::pair<int, int>> seen;
    for (size_t i = 1; i < path.eyes.size(); i++) {
        std::set<int> objects;
        hits(bvh, d3(path.eyes[i - 1]), d3(path.eyes[i]), objects);
        for (int object : objects)
            if (seen.insert({path.segment[i - 1], object}).second)
                report.crossings.push_back({path.segment[i - 1], object, path.eyes[i]});
    }
    if (!report.crossings.empty())
        report.closest = 0;
    return report;
}
