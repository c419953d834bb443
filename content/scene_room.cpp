// Scene 1: a hall with arched windows and an open oculus, marble columns, a bronze knot
// on a pedestal, lamps, a table and bookshelves. Floor at y = -3, ceiling at y = 13,
// inner walls at x, z = +-18; the user camera starts at (0, 0, 6) looking to (0, 1.5, 5).
#include <cmath>

#include "content/scenes.h"

namespace {

const float kFloor = -3.0f, kCeiling = 13.0f, kWall = 18.0f, kThick = 1.0f;
const float kWindowCentres[3] = {-10.0f, 0.0f, 10.0f};
const float kWindowHalf = 2.0f, kSill = 0.0f, kSpring = 7.0f; // arch springs at y = 7
const int kArchSteps = 12;
const float kWallUv = 4.0f;

float archY(float s, float centre) {
    float d = s - centre;
    return kSpring + std::sqrt(std::max(0.0f, kWindowHalf * kWindowHalf - d * d));
}

// A quad in wall coordinates (s along the wall, y up) on the wall's inner face, placed
// by the wall's yaw; texture coordinates follow s and y.
void wallQuad(MeshObject& o, const Place& wall, const float sy[8]) {
    Float3 p[4];
    float uv[8];
    for (int k = 0; k < 4; ++k) {
        p[k] = placePoint(wall, {sy[2 * k], sy[2 * k + 1], -kWall});
        uv[2 * k] = sy[2 * k] / kWallUv;
        uv[2 * k + 1] = sy[2 * k + 1] / kWallUv;
    }
    addQuadUv(o, p, uv);
}

void addWall(MeshObject& walls, float yaw) {
    Place wall{{0, 0, 0}, yaw};
    auto face = [&](float s0, float y0, float s1, float y1, float s2, float y2, float s3,
                    float y3) {
        const float sy[8] = {s0, y0, s1, y1, s2, y2, s3, y3};
        wallQuad(walls, wall, sy);
    };
    // Piers between the windows.
    float edges[4][2] = {{-kWall, -12}, {-8, -2}, {2, 8}, {12, kWall}};
    for (auto& e : edges)
        face(e[0], kFloor, e[1], kFloor, e[1], kCeiling, e[0], kCeiling);
    for (float c : kWindowCentres) {
        float l = c - kWindowHalf, r = c + kWindowHalf;
        face(l, kFloor, r, kFloor, r, kSill, l, kSill);
        // Spandrel above the arch, in vertical strips following the curve.
        for (int k = 0; k < kArchSteps; ++k) {
            float s0 = l + (r - l) * k / kArchSteps, s1 = l + (r - l) * (k + 1) / kArchSteps;
            face(s0, archY(s0, c), s1, archY(s1, c), s1, kCeiling, s0, kCeiling);
        }
        // Reveals through the wall's thickness: sill, jambs and the arch soffit, facing
        // into the opening.
        // From rim point A to rim point B, the quad runs into the wall; walking the rim
        // with the opening on the left makes it face into the opening.
        auto reveal = [&](float sA, float yA, float sB, float yB, float uA, float uB) {
            Float3 p[4] = {
                placePoint(wall, {sA, yA, -kWall}), placePoint(wall, {sA, yA, -kWall - kThick}),
                placePoint(wall, {sB, yB, -kWall - kThick}), placePoint(wall, {sB, yB, -kWall})};
            float t = kThick / kWallUv;
            float uv[8] = {uA / kWallUv, 0, uA / kWallUv, t, uB / kWallUv, t, uB / kWallUv, 0};
            addQuadUv(walls, p, uv);
        };
        reveal(r, kSill, l, kSill, r, l);             // sill, facing up
        reveal(l, kSill, l, kSpring, kSill, kSpring); // left jamb
        reveal(r, kSpring, r, kSill, kSpring, kSill); // right jamb
        for (int k = 0; k < kArchSteps; ++k) {
            float s0 = l + (r - l) * k / kArchSteps, s1 = l + (r - l) * (k + 1) / kArchSteps;
            reveal(s0, archY(s0, c), s1, archY(s1, c), s0, s1); // soffit, facing down
        }
    }
}

void addMullions(MeshObject& o, float yaw) {
    for (float c : kWindowCentres) {
        Place vertical{placePoint({{0, 0, 0}, yaw}, {c, (kSill + kSpring + 2) / 2, -kWall - 0.5f}),
                       yaw};
        addBox(o, vertical, {0.08f, (kSpring + 2 - kSill) / 2 - 0.3f, 0.08f}, 1.0f);
        Place transom{placePoint({{0, 0, 0}, yaw}, {c, 5.0f, -kWall - 0.5f}), yaw};
        addBox(o, transom, {kWindowHalf - 0.05f, 0.08f, 0.08f}, 1.0f);
    }
}

std::vector<Float3> knotCurve() {
    std::vector<Float3> c;
    const int n = 240;
    for (int i = 0; i < n; ++i) {
        float t = 2 * kPi * i / n;
        float r = 2.0f + std::cos(3 * t);
        c.push_back(Float3{r * std::cos(2 * t), -std::sin(3 * t), r * std::sin(2 * t)} * 0.62f +
                    Float3{0, 2.4f, 0});
    }
    return c;
}

std::vector<ProfilePoint> sphereProfile(float radius, float y, int steps) {
    std::vector<ProfilePoint> p;
    for (int k = 1; k < steps; ++k) {
        float a = -0.5f * kPi + kPi * k / steps;
        p.push_back({radius * std::cos(a), y + radius * std::sin(a)});
    }
    return p;
}

} // namespace

Scene buildRoom() {
    Scene s;
    s.materials = {
        {"Floor", "floor.bmp", {160, 110, 70}},      {"Brick", "brick.bmp", {170, 90, 60}},
        {"Plaster", "plaster.bmp", {230, 220, 200}}, {"Marble", "marble.bmp", {230, 230, 225}},
        {"Bronze", "bronze.bmp", {200, 150, 80}},    {"Wood", "wood.bmp", {150, 100, 55}},
        {"DarkWood", "darkwood.bmp", {80, 50, 30}},  {"Lamp", "lamp.bmp", {255, 230, 170}},
        {"Rug", "rug.bmp", {140, 40, 40}},           {"Books", "books.bmp", {100, 60, 60}},
    };

    MeshObject floor = meshObject("Floor", "Floor");
    addQuadWorldUv(floor, {-kWall, kFloor, kWall}, {kWall, kFloor, kWall}, {kWall, kFloor, -kWall},
                   {-kWall, kFloor, -kWall}, 6.0f);
    s.objects.push_back(floor);

    MeshObject walls = meshObject("Walls", "Brick");
    for (float yaw : {0.0f, 90.0f, 180.0f, 270.0f})
        addWall(walls, yaw);
    s.objects.push_back(walls);

    // Ceiling with a square oculus open to the sky; quads face down.
    MeshObject ceiling = meshObject("Ceiling", "Plaster");
    const float hole = 4.0f;
    auto ceilingPanel = [&](float x0, float z0, float x1, float z1) {
        addQuadWorldUv(ceiling, {x0, kCeiling, z0}, {x1, kCeiling, z0}, {x1, kCeiling, z1},
                       {x0, kCeiling, z1}, 6.0f);
    };
    ceilingPanel(-kWall, -kWall, kWall, -hole);
    ceilingPanel(-kWall, hole, kWall, kWall);
    ceilingPanel(-kWall, -hole, -hole, hole);
    ceilingPanel(hole, -hole, kWall, hole);
    s.objects.push_back(ceiling);

    MeshObject beams = meshObject("Beams", "DarkWood");
    for (int k = 0; k < 4; ++k) {
        float yaw = 90.0f * k;
        addBox(beams, {placePoint({{0, 0, 0}, yaw}, {0, kCeiling - 0.4f, hole + 0.4f}), yaw},
               {hole + 0.8f, 0.4f, 0.4f}, 4.0f);
        addBox(beams, {placePoint({{0, 0, 0}, yaw}, {0, kCeiling - 0.3f, 9.0f}), yaw},
               {kWall, 0.3f, 0.35f}, 4.0f);
    }
    addMullions(beams, 0);
    addMullions(beams, 90);
    addMullions(beams, 180);
    addMullions(beams, 270);
    s.objects.push_back(beams);

    MeshObject columns = meshObject("Columns", "Marble");
    for (float x : {-9.0f, 9.0f})
        for (float z : {-9.0f, 9.0f}) {
            Place at{{x, 0, z}, 0};
            addBox(columns, {{x, kFloor + 0.3f, z}, 0}, {1.2f, 0.3f, 1.2f}, 3.0f);
            addLathe(columns, at,
                     {{1.05f, kFloor + 0.6f},
                      {1.05f, kFloor + 0.8f},
                      {0.85f, kFloor + 1.0f},
                      {0.8f, kFloor + 1.2f},
                      {0.7f, kCeiling - 2.0f},
                      {0.75f, kCeiling - 1.6f},
                      {1.15f, kCeiling - 1.0f},
                      {1.2f, kCeiling - 0.8f}},
                     24, 2.0f, 3.0f, true);
            addBox(columns, {{x, kCeiling - 0.4f, z}, 0}, {1.3f, 0.4f, 1.3f}, 3.0f);
        }
    s.objects.push_back(columns);

    MeshObject pedestal = meshObject("Pedestal", "Marble");
    addLathe(pedestal, {{0, 0, 0}, 0},
             {{1.8f, kFloor},
              {1.8f, kFloor + 0.3f},
              {1.3f, kFloor + 0.5f},
              {1.1f, -0.9f},
              {1.5f, -0.6f},
              {1.5f, -0.35f},
              {0.001f, -0.35f}},
             32, 2.0f, 3.0f, false);
    s.objects.push_back(pedestal);

    MeshObject knot = meshObject("Knot", "Bronze");
    addTube(knot, knotCurve(), 0.28f, 14, 2.0f);
    s.objects.push_back(knot);

    MeshObject rug = meshObject("Rug", "Rug");
    addQuad(rug, {-6, kFloor + 0.02f, 4.5f}, {6, kFloor + 0.02f, 4.5f}, {6, kFloor + 0.02f, -4.5f},
            {-6, kFloor + 0.02f, -4.5f}, 0, 0, 1, 1);
    s.objects.push_back(rug);

    // A long table with two benches on the south side.
    MeshObject table = meshObject("Table", "Wood");
    addBox(table, {{0, -0.9f, 13.5f}, 0}, {5.0f, 0.12f, 1.2f}, 4.0f);
    for (float x : {-4.5f, 4.5f})
        for (float z : {12.6f, 14.4f})
            addBox(table, {{x, -1.95f, z}, 0}, {0.12f, 1.0f, 0.12f}, 2.0f);
    for (float z : {11.6f, 15.4f}) {
        addBox(table, {{0, -1.8f, z}, 0}, {4.5f, 0.1f, 0.35f}, 4.0f);
        for (float x : {-4.0f, 4.0f})
            addBox(table, {{x, -2.45f, z}, 0}, {0.1f, 0.55f, 0.3f}, 2.0f);
    }
    s.objects.push_back(table);

    // Bookshelves against the solid parts of the west wall.
    MeshObject shelves = meshObject("Shelves", "DarkWood");
    MeshObject books = meshObject("Books", "Books");
    for (float zc : {-5.0f, 5.0f}) {
        Place at{{-kWall + 0.6f, 0, zc}, 90};
        for (int k = 0; k < 5; ++k)
            addBox(shelves, {placePoint(at, {0, kFloor + 0.1f + 1.9f * k, 0}), 90},
                   {2.6f, 0.08f, 0.55f}, 3.0f);
        for (float side : {-2.6f, 2.6f})
            addBox(shelves, {placePoint(at, {side, kFloor + 3.9f, 0}), 90}, {0.08f, 3.9f, 0.55f},
                   3.0f);
        for (int k = 0; k < 4; ++k)
            addBox(books, {placePoint(at, {0, kFloor + 0.9f + 1.9f * k, 0.05f}), 90},
                   {2.45f, 0.72f, 0.42f}, 1.5f);
    }
    s.objects.push_back(shelves);
    s.objects.push_back(books);

    // Lamps hanging on chains around the oculus, and sconces on the piers.
    MeshObject lamps = meshObject("Lamps", "Lamp");
    MeshObject chains = meshObject("Chains", "Bronze");
    for (float x : {-6.0f, 6.0f})
        for (float z : {-6.0f, 6.0f}) {
            std::vector<ProfilePoint> globe = sphereProfile(0.7f, 8.0f, 12);
            addLathe(lamps, {{x, 0, z}, 0}, globe, 18, 1.0f, 1.0f, true);
            addDisc(lamps, {{x, 0, z}, 0}, globe.front().r, globe.front().y, 18, false);
            addCylinder(chains, {{x, 0, z}, 0}, 0.05f, 8.6f, kCeiling, 6, 1.0f, 1.0f, false);
        }
    for (int w = 0; w < 4; ++w) {
        float yaw = 90.0f * w;
        for (float sPos : {-15.0f, -5.0f, 5.0f, 15.0f})
            addBox(lamps, {placePoint({{0, 0, 0}, yaw}, {sPos, 5.0f, -kWall + 0.2f}), yaw},
                   {0.25f, 0.45f, 0.2f}, 1.0f);
    }
    s.objects.push_back(lamps);
    s.objects.push_back(chains);
    return s;
}
