// kestrune-paths: the plot. A title, the top view above the side view (both at one scale
// and aligned on x), the scene under the path (floors as light areas, the edges of walls
// and objects as darker lines), the eye and look-at paths, sight lines, node labels that
// never overlap, a scale bar and named axes on each view, and a legend.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>

#include "tools/paths.h"

namespace {

const double kMaxWidth = 1500, kMinWidth = 1100, kMargin = 40;
const double kMaxTop = 820, kMaxSide = 520; // most pixels a view may take up
const double kMinTop = 260, kMinSide = 160; // fewest
const double kFontSize = 11;                // node labels
const double kSceneReach = 0.3; // the scene widens the frame by at most this share of the path

struct Rgb {
    double r, g, b;
};
const Rgb kEye = {0.85, 0.33, 0.0}, kLook = {0.10, 0.42, 0.78}, kSight = {0.15, 0.55, 0.35},
          kUnplayed = {0.45, 0.45, 0.45}, kEdge = {0.22, 0.22, 0.26}, kWarn = {0.85, 0.0, 0.1},
          kStill = {0.55, 0.15, 0.65}, kInk = {0.1, 0.1, 0.1};
const Rgb kFloorLow = {0.84, 0.87, 0.90}, kFloorHigh = {0.96, 0.94, 0.88};

void colour(cairo_t* cr, Rgb c, double alpha = 1) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

struct Range {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    void add(double v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    double span() const { return hi - lo; }
    void growTo(double span) {
        double extra = std::max(0.0, span - this->span()) / 2;
        lo -= extra;
        hi += extra;
    }
};

// One view: which world axis runs across and which up the picture, and where it lies.
struct View {
    int index; // 0 top, 1 side
    double left, top, width, height, scale;
    Range across, up; // world ranges shown; across is x in both views
    bool topView;
    double px(const Vec3& v) const { return left + (v.x - across.lo) * scale; }
    double py(const Vec3& v) const {
        // Top view: -z up the picture, so z grows downwards. Side view: y up.
        return topView ? top + (v.z - up.lo) * scale : top + (up.hi - v.y) * scale;
    }
    bool contains(double x, double y, double w, double h) const {
        return x >= left && y >= top && x + w <= left + width && y + h <= top + height;
    }
};

// --- the scene ---

Vec3 normalOf(const SceneTriangle& t) {
    Vec3 u = {t.b.x - t.a.x, t.b.y - t.a.y, t.b.z - t.a.z};
    Vec3 v = {t.c.x - t.a.x, t.c.y - t.a.y, t.c.z - t.a.z};
    Vec3 n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length == 0)
        return {0, 0, 0};
    return {n.x / length, n.y / length, n.z / length};
}

// Floors are the faces that look up (walkable slopes); everything else is wall or object.
bool isFloor(const Vec3& normal) {
    return normal.y > 0.5f;
}

struct Edge {
    Vec3 a, b;
    bool floorOnly; // every face along it is a floor: a floor's border, not a wall
};

// The edges worth drawing: borders of a surface and creases between faces of an object.
// The diagonals of flat quads and the fine steps of smooth surfaces are left out.
std::vector<Edge> featureEdges(const Scene& scene, const std::vector<Vec3>& normals) {
    using Key = std::tuple<long, long, long, long, long, long>;
    auto quantise = [](float v) { return long(std::lround(double(v) * 1000.0)); };
    struct Faces {
        Vec3 a, b;
        std::vector<int> triangles;
    };
    std::map<std::pair<int, Key>, Faces> edges;
    for (size_t i = 0; i < scene.triangles.size(); i++) {
        const SceneTriangle& t = scene.triangles[i];
        const Vec3 corner[3] = {t.a, t.b, t.c};
        for (int k = 0; k < 3; k++) {
            Vec3 p = corner[k], q = corner[(k + 1) % 3];
            auto kp = std::make_tuple(quantise(p.x), quantise(p.y), quantise(p.z));
            auto kq = std::make_tuple(quantise(q.x), quantise(q.y), quantise(q.z));
            if (kq < kp)
                std::swap(kp, kq);
            Key key = std::tuple_cat(kp, kq);
            Faces& faces = edges[{t.object, key}];
            faces.a = p;
            faces.b = q;
            faces.triangles.push_back(int(i));
        }
    }
    std::vector<Edge> out;
    const float crease = std::cos(20.0f * 3.14159265f / 180.0f);
    for (const auto& entry : edges) {
        const Faces& f = entry.second;
        bool feature = f.triangles.size() != 2;
        if (!feature) {
            const Vec3 &n = normals[f.triangles[0]], &m = normals[f.triangles[1]];
            feature = n.x * m.x + n.y * m.y + n.z * m.z < crease;
        }
        if (!feature)
            continue;
        bool floorOnly = true;
        for (int t : f.triangles)
            floorOnly = floorOnly && isFloor(normals[t]);
        out.push_back({f.a, f.b, floorOnly});
    }
    return out;
}

void drawScene(cairo_t* cr, const View& view, const PlayedPath& path, const Scene& scene,
               const std::vector<Vec3>& normals, const std::vector<Edge>& edges) {
    cairo_save(cr);
    cairo_rectangle(cr, view.left, view.top, view.width, view.height);
    cairo_clip(cr);
    if (view.topView) {
        // Floors as light areas, lower ones darker, drawn from low to high in a few height
        // bands; each band is filled at once so that no seams show between its triangles.
        // Surfaces above the highest eye are ceilings and roofs for this path: left out.
        double highest = -HUGE_VAL;
        for (const Vec3& eye : path.eyes)
            highest = std::max(highest, double(eye.y));
        auto isShownFloor = [&](size_t i) {
            const SceneTriangle& t = scene.triangles[i];
            return isFloor(normals[i]) && std::min({t.a.y, t.b.y, t.c.y}) <= highest;
        };
        Range heights;
        for (size_t i = 0; i < scene.triangles.size(); i++)
            if (isShownFloor(i))
                heights.add(scene.triangles[i].a.y);
        const int bands = 8;
        for (int band = 0; band < bands; band++) {
            for (size_t i = 0; i < scene.triangles.size(); i++) {
                const SceneTriangle& t = scene.triangles[i];
                if (!isShownFloor(i))
                    continue;
                // The square root spreads the low floors, where most of them are.
                double share =
                    heights.span() > 0 ? std::sqrt((t.a.y - heights.lo) / heights.span()) : 1;
                if (std::min(bands - 1, int(share * bands)) != band)
                    continue;
                // All triangles turn the same way on the picture, so that the winding
                // rule fills their union.
                double ax = view.px(t.a), ay = view.py(t.a), bx = view.px(t.b), by = view.py(t.b),
                       cx = view.px(t.c), cy = view.py(t.c);
                if ((bx - ax) * (cy - ay) - (by - ay) * (cx - ax) < 0) {
                    std::swap(bx, cx);
                    std::swap(by, cy);
                }
                cairo_move_to(cr, ax, ay);
                cairo_line_to(cr, bx, by);
                cairo_line_to(cr, cx, cy);
                cairo_close_path(cr);
            }
            double s = (band + 0.5) / bands;
            colour(cr, {kFloorLow.r + (kFloorHigh.r - kFloorLow.r) * s,
                        kFloorLow.g + (kFloorHigh.g - kFloorLow.g) * s,
                        kFloorLow.b + (kFloorHigh.b - kFloorLow.b) * s});
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            cairo_fill(cr);
        }
    }
    // Edges: walls and objects dark; in the side view the floors, seen edge-on, light.
    for (int pass = 0; pass < 2; pass++) {
        bool floors = pass == 0;
        if (floors && view.topView)
            continue;
        for (const Edge& e : edges) {
            if (e.floorOnly != floors)
                continue;
            cairo_move_to(cr, view.px(e.a), view.py(e.a));
            cairo_line_to(cr, view.px(e.b), view.py(e.b));
        }
        if (floors) {
            colour(cr, {0.62, 0.68, 0.74});
            cairo_set_line_width(cr, 2.0);
        } else {
            colour(cr, kEdge, 0.7);
            cairo_set_line_width(cr, 1.0);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// --- node labels ---

struct Rect {
    double x, y, w, h;
    bool overlaps(const Rect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// Placed label boxes in a coarse grid, so that a path of many nodes lays out quickly.
struct Placed {
    static constexpr double kCell = 48;
    std::map<std::pair<int, int>, std::vector<Rect>> cells;
    template <class F> void forCells(const Rect& r, F f) {
        for (int cx = int(std::floor(r.x / kCell)); cx <= int(std::floor((r.x + r.w) / kCell));
             cx++)
            for (int cy = int(std::floor(r.y / kCell)); cy <= int(std::floor((r.y + r.h) / kCell));
                 cy++)
                f(cells[{cx, cy}]);
    }
    bool free(const Rect& r) {
        bool ok = true;
        forCells(r, [&](std::vector<Rect>& list) {
            for (const Rect& o : list)
                ok = ok && !r.overlaps(o);
        });
        return ok;
    }
    void add(const Rect& r) {
        forCells(r, [&](std::vector<Rect>& list) { list.push_back(r); });
    }
};

std::string labelText(const PlayedPath& path, int node) {
    std::string text = std::to_string(node);
    int last = int(path.nodes.size()) - 1;
    if (node == 0 || node == last)
        return text + " (never reached)";
    if (node == path.firstNode)
        return text + " start";
    if (node == path.lastNode)
        return text + " end";
    return text;
}

int nextStep(int step) {
    int power = 1;
    while (step >= 10 * power)
        power *= 10;
    return step / power == 2 ? 5 * power : 2 * step; // 1, 2, 5, 10, 20, 50, ...
}

// Lays out the node labels of one view: the smallest step k of 1, 2, 5, 10, 20, ... for
// which every k-th node finds room beside the first, last, start and end nodes; then any
// other node that still fits, rounder numbers first. A label sits at one of eight places
// around its node, never overlaps another label and avoids covering other nodes.
std::vector<LabelBox> layoutLabels(cairo_t* cr, const View& view, const PlayedPath& path,
                                   const std::vector<Rect>& reserved) {
    int count = int(path.nodes.size());
    std::vector<double> x(count), y(count), width(count);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double height = font.ascent + font.descent, gap = 3, dot = 3;
    Placed markers;
    for (int i = 0; i < count; i++) {
        x[i] = view.px(path.nodes[i].pos);
        y[i] = view.py(path.nodes[i].pos);
        markers.add({x[i] - dot, y[i] - dot, 2 * dot, 2 * dot});
        cairo_text_extents_t extents;
        cairo_text_extents(cr, labelText(path, i).c_str(), &extents);
        width[i] = extents.x_advance;
    }
    Placed placed;
    std::vector<LabelBox> out;
    std::vector<bool> labelled;
    auto special = [&](int i) {
        return i == 0 || i == count - 1 || i == path.firstNode || i == path.lastNode;
    };
    // Eight places around the node; the special nodes may also go further out, with a line.
    auto place = [&](int i) {
        const double w = width[i], h = height;
        for (int pass = 0; pass < 4; pass++) {
            bool strict = pass < 2, far = pass % 2 == 1;
            if (far && !special(i))
                continue;
            double g = far ? gap + 16 : gap;
            const double dx[8] = {g, -g - w, g, -g - w, g + 2, -g - 2 - w, -w / 2, -w / 2};
            const double dy[8] = {-g - h, -g - h,           g,          g, -h / 2,
                                  -h / 2, -dot - g / 2 - h, dot + g / 2};
            for (int k = 0; k < 8; k++) {
                Rect r = {x[i] + dx[k], y[i] + dy[k], w, h};
                Rect spaced = {r.x - 3, r.y, r.w + 6, r.h}; // a word space to the next label
                if (!view.contains(r.x, r.y, r.w, r.h) || !placed.free(spaced))
                    continue;
                // Strict: cover no node but this one.
                Rect own = {x[i] - dot, y[i] - dot, 2 * dot, 2 * dot};
                bool clear = true;
                markers.forCells(r, [&](std::vector<Rect>& list) {
                    for (const Rect& m : list)
                        clear = clear && (!r.overlaps(m) || (m.x == own.x && m.y == own.y));
                });
                if (strict && !clear)
                    continue;
                placed.add(spaced);
                out.push_back({view.index, i, r.x, r.y, r.w, r.h, far});
                labelled[i] = true;
                return true;
            }
        }
        return false;
    };
    for (int step = 1;; step = nextStep(step)) {
        placed = Placed();
        for (const Rect& r : reserved)
            placed.add(r);
        out.clear();
        labelled.assign(count, false);
        bool all = true;
        for (int i = 0; i < count; i++)
            if (special(i))
                all = place(i) && all;
        for (int i = step; i < count && all; i += step)
            if (!special(i))
                all = place(i);
        if (all || step > count)
            break;
    }
    for (int divisor : {10, 5, 2, 1})
        for (int i = 0; i < count; i++)
            if (i % divisor == 0 && !labelled[i])
                place(i);
    return out;
}

// --- the picture ---

double niceLength(double most) { // the largest 1, 2 or 5 times a power of ten up to most
    double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * power <= most)
            return m * power;
    return power;
}

std::string unitsText(double length) {
    char text[64];
    snprintf(text, sizeof text, length >= 1 && length < 1e6 ? "%.0f units" : "%g units", length);
    return text;
}

void text(cairo_t* cr, double x, double y, const std::string& s, Rgb c = kInk) {
    cairo_move_to(cr, x, y);
    colour(cr, c);
    cairo_show_text(cr, s.c_str());
}

// Text with a white rim, readable over lines and areas.
void haloText(cairo_t* cr, double x, double y, const std::string& s) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, s.c_str());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    colour(cr, kInk);
    cairo_fill(cr);
}

void circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
}

void cross(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x - r, y - r);
    cairo_line_to(cr, x + r, y + r);
    cairo_move_to(cr, x - r, y + r);
    cairo_line_to(cr, x + r, y - r);
}

void diamond(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x, y - r);
    cairo_line_to(cr, x + r, y);
    cairo_line_to(cr, x, y + r);
    cairo_line_to(cr, x - r, y);
    cairo_close_path(cr);
}

void triangle(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x, y - r);
    cairo_line_to(cr, x + r, y + r * 0.8);
    cairo_line_to(cr, x - r, y + r * 0.8);
    cairo_close_path(cr);
}

void strokeIn(cairo_t* cr, Rgb c, double width) {
    colour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// Marker styles shared by the views and the legend.
void firstLastMark(cairo_t* cr, double x, double y) {
    circle(cr, x, y, 5);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    strokeIn(cr, kInk, 1.5);
}
void startMark(cairo_t* cr, double x, double y) {
    triangle(cr, x, y, 5.5);
    colour(cr, kInk);
    cairo_fill(cr);
}
void endMark(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x - 4.5, y - 4.5, 9, 9);
    colour(cr, kInk);
    cairo_fill(cr);
}
void nodeMark(cairo_t* cr, double x, double y, bool labelled, bool played) {
    circle(cr, x, y, labelled ? 3 : 2);
    colour(cr, played ? kEye : kUnplayed);
    cairo_fill(cr);
}
void crossingMark(cairo_t* cr, double x, double y) {
    cross(cr, x, y, 6);
    strokeIn(cr, kWarn, 2.5);
}
void closestMark(cairo_t* cr, double x, double y) {
    diamond(cr, x, y, 7);
    strokeIn(cr, kWarn, 2);
}
void stillMark(cairo_t* cr, double x, double y) {
    circle(cr, x, y, 9);
    strokeIn(cr, kStill, 2);
}

void polyline(cairo_t* cr, const View& view, const std::vector<Vec3>& points) {
    for (size_t i = 0; i < points.size(); i++)
        (i ? cairo_line_to : cairo_move_to)(cr, view.px(points[i]), view.py(points[i]));
}

void setLabelFont(cairo_t* cr) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kFontSize);
}

// Scale bar (bottom right) and axis names (bottom left) on a white backing; returns the
// two boxes so that node labels keep off them.
std::vector<Rect> drawScaleAndAxes(cairo_t* cr, const View& view) {
    cairo_save(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    double length = niceLength(view.width / 5 / view.scale);
    double bar = length * view.scale;
    std::string label = unitsText(length);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, label.c_str(), &extents);
    double boxW = std::max(bar, extents.x_advance) + 16, boxH = 36;
    Rect scaleBox = {view.left + view.width - boxW - 6, view.top + view.height - boxH - 6, boxW,
                     boxH};
    Rect axisBox = {view.left + 6, view.top + view.height - 62, 62, 56};
    for (const Rect& r : {scaleBox, axisBox}) {
        cairo_rectangle(cr, r.x, r.y, r.w, r.h);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
        cairo_fill(cr);
    }
    double bx = scaleBox.x + (boxW - bar) / 2, by = scaleBox.y + 26;
    cairo_move_to(cr, bx, by - 5);
    cairo_line_to(cr, bx, by);
    cairo_line_to(cr, bx + bar, by);
    cairo_line_to(cr, bx + bar, by - 5);
    colour(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    text(cr, scaleBox.x + (boxW - extents.x_advance) / 2, scaleBox.y + 15, label);

    // Two arrows from a corner: x to the right, and -z (top view) or y (side view) up.
    double ox = axisBox.x + 12, oy = axisBox.y + axisBox.h - 12;
    cairo_move_to(cr, ox, oy);
    cairo_line_to(cr, ox + 36, oy);
    cairo_move_to(cr, ox, oy);
    cairo_line_to(cr, ox, oy - 34);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (auto [tx, ty, dx, dy] : {std::tuple{ox + 40, oy, -1, 0}, std::tuple{ox, oy - 38, 0, 1}}) {
        cairo_move_to(cr, tx, ty);
        cairo_line_to(cr, tx + 7 * dx - 3.5 * dy, ty + 7 * dy - 3.5 * dx);
        cairo_line_to(cr, tx + 7 * dx + 3.5 * dy, ty + 7 * dy + 3.5 * dx);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    text(cr, ox + 30, oy - 5, "x");
    text(cr, ox + 5, oy - 26, view.topView ? "\u2212z" : "y");
    cairo_restore(cr);
    return {scaleBox, axisBox};
}

// Sight lines every half second, the never-played stretches dashed, then the played
// look-at and eye paths.
void drawPaths(cairo_t* cr, const View& view, const PlayedPath& path) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (size_t i = 0; i < path.eyes.size(); i += 30) {
        cairo_move_to(cr, view.px(path.eyes[i]), view.py(path.eyes[i]));
        cairo_line_to(cr, view.px(path.looks[i]), view.py(path.looks[i]));
    }
    colour(cr, kSight, 0.5);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // What is never played: straight and dashed between the nodes outside the played span.
    const double dash[] = {5, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_line_width(cr, 1.2);
    for (int eye = 0; eye < 2; eye++) {
        for (size_t i = 1; i < path.nodes.size(); i++) {
            if (int(i) > path.firstNode && int(i) <= path.lastNode)
                continue;
            const Vec3& a = eye ? path.nodes[i - 1].pos : path.nodes[i - 1].view;
            const Vec3& b = eye ? path.nodes[i].pos : path.nodes[i].view;
            cairo_move_to(cr, view.px(a), view.py(a));
            cairo_line_to(cr, view.px(b), view.py(b));
        }
        colour(cr, eye ? kEye : kLook, 0.6);
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
    // The played paths: look-at under eye.
    polyline(cr, view, path.looks);
    colour(cr, kLook);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (const PlotNode& n : path.nodes)
        circle(cr, view.px(n.view), view.py(n.view), 1.8);
    cairo_fill(cr);
    polyline(cr, view, path.eyes);
    colour(cr, kEye);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
}

// The report's marks, the node marks (start, end, first and last, numbered or not) and
// the laid-out labels with their leader lines.
void drawMarks(cairo_t* cr, const View& view, const PlayedPath& path, const PathReport& report,
               const std::vector<LabelBox>& laid) {
    std::vector<bool> labelled(path.nodes.size(), false);
    for (const LabelBox& b : laid)
        labelled[b.node] = true;
    for (const Standstill& s : report.standstills)
        stillMark(cr, view.px(s.where), view.py(s.where));
    if (report.crossings.empty() && report.closestObject >= 0)
        closestMark(cr, view.px(report.closestPoint), view.py(report.closestPoint));
    int last = int(path.nodes.size()) - 1;
    for (int i = 0; i <= last; i++) {
        double x = view.px(path.nodes[i].pos), y = view.py(path.nodes[i].pos);
        if (i == 0 || i == last)
            firstLastMark(cr, x, y);
        else if (i == path.firstNode)
            startMark(cr, x, y);
        else if (i == path.lastNode)
            endMark(cr, x, y);
        else
            nodeMark(cr, x, y, labelled[i], path.nodes[i].played);
    }
    for (const Crossing& c : report.crossings)
        crossingMark(cr, view.px(c.where), view.py(c.where));
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    for (const LabelBox& b : laid) {
        if (b.leader) { // from the node to the nearest point of the label
            double nx = view.px(path.nodes[b.node].pos), ny = view.py(path.nodes[b.node].pos);
            cairo_move_to(cr, nx, ny);
            cairo_line_to(cr, std::clamp(nx, b.x, b.x + b.width),
                          std::clamp(ny, b.y, b.y + b.height));
            colour(cr, kInk, 0.6);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
        }
        haloText(cr, b.x, b.y + font.ascent, labelText(path, b.node));
    }
}

void clipToView(cairo_t* cr, const View& view) {
    cairo_save(cr);
    cairo_rectangle(cr, view.left, view.top, view.width, view.height);
    cairo_clip(cr);
}

// One view: its scene, the paths, the scale and axes, the marks and labels, a border.
void drawView(cairo_t* cr, const View& view, const PlayedPath& path, const Scene& scene,
              const PathReport& report, const std::vector<Vec3>& normals,
              const std::vector<Edge>& edges, std::vector<LabelBox>& labels) {
    cairo_rectangle(cr, view.left, view.top, view.width, view.height);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    drawScene(cr, view, path, scene, normals, edges);

    clipToView(cr, view);
    drawPaths(cr, view, path);
    cairo_restore(cr);

    setLabelFont(cr);
    std::vector<Rect> reserved = drawScaleAndAxes(cr, view);
    std::vector<LabelBox> laid = layoutLabels(cr, view, path, reserved);
    clipToView(cr, view);
    drawMarks(cr, view, path, report, laid);
    cairo_restore(cr);

    cairo_rectangle(cr, view.left + 0.5, view.top + 0.5, view.width - 1, view.height - 1);
    cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    labels.insert(labels.end(), laid.begin(), laid.end());
}

// --- legend and title ---

struct LegendItem {
    void (*sample)(cairo_t*, double x, double y); // drawn in a 28 x 12 pixel cell at x, y
    std::string text;
};

void lineSample(cairo_t* cr, double x, double y, Rgb c, double width, bool dashed, double alpha) {
    const double dash[] = {5, 4};
    cairo_set_dash(cr, dash, dashed ? 2 : 0, 0);
    cairo_move_to(cr, x, y + 6);
    cairo_line_to(cr, x + 28, y + 6);
    colour(cr, c, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

std::vector<LegendItem> legendItems(const Scene& scene, const PathReport& report) {
    std::vector<LegendItem> items = {
        {[](cairo_t* cr, double x, double y) { lineSample(cr, x, y, kEye, 2.2, false, 1); },
         "eye path, played"},
        {[](cairo_t* cr, double x, double y) { lineSample(cr, x, y, kLook, 1.6, false, 1); },
         "look-at path, played"},
        {[](cairo_t* cr, double x, double y) { lineSample(cr, x, y, kSight, 0.8, false, 0.8); },
         "sight line every 0.5 s"},
        {[](cairo_t* cr, double x, double y) { lineSample(cr, x, y, kUnplayed, 1.2, true, 0.8); },
         "never played"},
        {[](cairo_t* cr, double x, double y) {
             nodeMark(cr, x + 8, y + 6, true, true);
             nodeMark(cr, x + 20, y + 6, false, true);
         },
         "node, numbered where there is room"},
        {[](cairo_t* cr, double x, double y) { startMark(cr, x + 14, y + 6); }, "playback starts"},
        {[](cairo_t* cr, double x, double y) { endMark(cr, x + 14, y + 6); }, "playback ends"},
        {[](cairo_t* cr, double x, double y) { firstLastMark(cr, x + 14, y + 6); },
         "first and last node: shape the curve, never reached"},
    };
    if (scene.number) {
        items.push_back({[](cairo_t* cr, double x, double y) {
                             cairo_rectangle(cr, x, y, 28, 12);
                             colour(cr, kFloorLow);
                             cairo_fill(cr);
                             cairo_rectangle(cr, x + 14, y, 14, 12);
                             colour(cr, kFloorHigh);
                             cairo_fill(cr);
                         },
                         "floor, lower darker"});
        items.push_back(
            {[](cairo_t* cr, double x, double y) { lineSample(cr, x, y, kEdge, 1.2, false, 0.8); },
             "walls and objects"});
    }
    if (!report.crossings.empty())
        items.push_back({[](cairo_t* cr, double x, double y) { crossingMark(cr, x + 14, y + 6); },
                         "eye passes through the scene"});
    else if (report.closestObject >= 0)
        items.push_back({[](cairo_t* cr, double x, double y) { closestMark(cr, x + 14, y + 6); },
                         "closest approach to the scene"});
    if (!report.standstills.empty())
        items.push_back({[](cairo_t* cr, double x, double y) { stillMark(cr, x + 14, y + 6); },
                         "eye stands still"});
    return items;
}

// A row broken after " · " drops it; one broken after a comma keeps the comma.
std::string trimSeparator(std::string row) {
    const std::string dot = "\u00b7";
    while (!row.empty() && row.back() == ' ')
        row.pop_back();
    if (row.size() >= dot.size() && row.compare(row.size() - dot.size(), dot.size(), dot) == 0)
        row.erase(row.size() - dot.size());
    while (!row.empty() && row.back() == ' ')
        row.pop_back();
    return row;
}

// Splits a line into rows that fit the width: between its " · " parts, or after the
// commas of a list.
std::vector<std::string> wrap(cairo_t* cr, const std::string& line, double width) {
    std::vector<std::string> rows;
    std::string row;
    size_t at = 0;
    while (at < line.size()) {
        // The next piece runs up to and including the next separator.
        size_t dot = line.find(" \u00b7 ", at), comma = line.find(", ", at);
        size_t end = std::min(dot == std::string::npos ? line.size() : dot + 4,
                              comma == std::string::npos ? line.size() : comma + 2);
        std::string piece = line.substr(at, end - at);
        at = end;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, (row + piece).c_str(), &extents);
        if (!row.empty() && extents.x_advance > width) {
            rows.push_back(trimSeparator(row));
            row.clear();
        }
        row += piece;
    }
    rows.push_back(row);
    return rows;
}

// The extent and scale of the plot: the path, widened by the scene around it up to a
// share of the path's size, then grown to the panels' minimum sizes.
struct Extent {
    Range ranges[3]; // x, y, z in scene units
    double scale;    // pixels per unit
    double panelWidth;
};

Extent extentOf(const PlayedPath& path, const Scene& scene, const std::vector<Vec3>& normals) {
    Extent e;
    Range* ranges = e.ranges;
    Range sceneRanges[3];
    auto addTo = [](Range* r, const Vec3& v) {
        r[0].add(v.x);
        r[1].add(v.y);
        r[2].add(v.z);
    };
    for (const PlotNode& n : path.nodes) {
        addTo(ranges, n.pos);
        addTo(ranges, n.view);
    }
    for (size_t i = 0; i < path.eyes.size(); i++) {
        addTo(ranges, path.eyes[i]);
        addTo(ranges, path.looks[i]);
    }
    // Floors reach far (the sea): only walls and objects widen the frame across, while
    // the floors below the path widen it in height.
    for (size_t i = 0; i < scene.triangles.size(); i++) {
        const SceneTriangle& t = scene.triangles[i];
        for (const Vec3& v : {t.a, t.b, t.c}) {
            sceneRanges[1].add(v.y);
            if (!isFloor(normals[i])) {
                sceneRanges[0].add(v.x);
                sceneRanges[2].add(v.z);
            }
        }
    }
    double size = std::max({ranges[0].span(), ranges[1].span(), ranges[2].span(), 1e-3});
    for (int axis = 0; axis < 3; axis++) {
        Range& r = ranges[axis];
        const Range& s = sceneRanges[axis];
        if (s.span() >= 0) {
            r.lo = std::min(r.lo, std::max(s.lo, r.lo - kSceneReach * size));
            r.hi = std::max(r.hi, std::min(s.hi, r.hi + kSceneReach * size));
        }
        r.growTo(r.span() + 0.08 * size);
    }
    e.scale = std::min({(kMaxWidth - 2 * kMargin) / ranges[0].span(), kMaxTop / ranges[2].span(),
                        kMaxSide / ranges[1].span()});
    e.panelWidth = std::max(ranges[0].span() * e.scale, kMinWidth - 2 * kMargin);
    ranges[0].growTo(e.panelWidth / e.scale);
    ranges[2].growTo(kMinTop / e.scale);
    ranges[1].growTo(kMinSide / e.scale);
    return e;
}

struct TitleRow {
    std::string text;
    bool bold, warning; // the first line is bold, warnings are red in all their rows
};

// The title's lines broken into rows that fit the panel width.
std::vector<TitleRow> titleRows(cairo_t* measure, const std::vector<std::string>& title,
                                double panelWidth) {
    std::vector<TitleRow> rows;
    for (size_t i = 0; i < title.size(); i++) {
        cairo_select_font_face(measure, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                               i == 0 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(measure, i == 0 ? 17 : 13);
        for (const std::string& row : wrap(measure, title[i], panelWidth))
            rows.push_back({row, i == 0, title[i].rfind("WARNING", 0) == 0});
    }
    return rows;
}

// Each legend item's width; rows counts the rows they fill in the panel width.
std::vector<double> legendWidths(cairo_t* measure, const std::vector<LegendItem>& items,
                                 double panelWidth, int& rows) {
    cairo_set_font_size(measure, 12);
    cairo_select_font_face(measure, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    std::vector<double> widths;
    rows = 1;
    double rowWidth = 0;
    for (const LegendItem& item : items) {
        cairo_text_extents_t extents;
        cairo_text_extents(measure, item.text.c_str(), &extents);
        widths.push_back(28 + 6 + extents.x_advance + 22);
        if (rowWidth + widths.back() > panelWidth && rowWidth > 0) {
            rows++;
            rowWidth = 0;
        }
        rowWidth += widths.back();
    }
    return widths;
}

void drawTitle(cairo_t* cr, const std::vector<TitleRow>& rows) {
    double y = 8;
    for (const TitleRow& row : rows) {
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                               row.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, row.bold ? 17 : 13);
        y += row.bold ? 24 : 20;
        text(cr, kMargin, y, row.text, row.warning ? kWarn : kInk);
    }
}

void drawLegend(cairo_t* cr, const std::vector<LegendItem>& items,
                const std::vector<double>& widths, double top, double panelWidth) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    double x = kMargin, y = top;
    for (size_t i = 0; i < items.size(); i++) {
        if (x + widths[i] > kMargin + panelWidth && x > kMargin) {
            x = kMargin;
            y += 22;
        }
        items[i].sample(cr, x, y);
        text(cr, x + 34, y + 10, items[i].text);
        x += widths[i];
    }
}

} // namespace

bool drawPlot(const std::string& fileName, const PlayedPath& path, const Scene& scene,
              const PathReport& report, const std::vector<std::string>& title,
              std::vector<LabelBox>& labels) {
    std::vector<Vec3> normals;
    for (const SceneTriangle& t : scene.triangles)
        normals.push_back(normalOf(t));
    Extent extent = extentOf(path, scene, normals);
    double scale = extent.scale, panelWidth = extent.panelWidth;
    const Range* ranges = extent.ranges;

    // Title rows and legend measured on a scratch surface.
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* measure = cairo_create(scratch);
    std::vector<TitleRow> rows = titleRows(measure, title, panelWidth);
    std::vector<LegendItem> items = legendItems(scene, report);
    int legendRows = 1;
    std::vector<double> itemWidths = legendWidths(measure, items, panelWidth, legendRows);
    cairo_destroy(measure);
    cairo_surface_destroy(scratch);

    double titleHeight = 20 + 20.0 * double(rows.size());
    View top = {0,     kMargin,   titleHeight + 30, panelWidth, ranges[2].span() * scale,
                scale, ranges[0], ranges[2],        true};
    View side = {1,
                 kMargin,
                 top.top + top.height + 40,
                 panelWidth,
                 ranges[1].span() * scale,
                 scale,
                 ranges[0],
                 ranges[1],
                 false};
    double legendTop = side.top + side.height + 22;
    int width = int(std::ceil(panelWidth + 2 * kMargin)),
        height = int(std::ceil(legendTop + 22.0 * legendRows + 10));

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.96);
    cairo_paint(cr);
    drawTitle(cr, rows);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 13);
    text(cr, kMargin, top.top - 8, "Top view, from above (x to the right, \u2212z up)");
    text(cr, kMargin, side.top - 8, "Side view, from the front (x to the right, y up)");

    labels.clear();
    std::vector<Edge> edges = featureEdges(scene, normals);
    drawView(cr, top, path, scene, report, normals, edges, labels);
    drawView(cr, side, path, scene, report, normals, edges, labels);
    drawLegend(cr, items, itemWidths, legendTop, panelWidth);

    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(surface, fileName.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}
