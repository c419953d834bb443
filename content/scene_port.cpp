// Scene 2: a harbour at dusk around a landing platform at the origin, and the UFO that
// stands on it. Quay top at y = 0 reaching to z = 20, the sea beyond (+z) at y = -1.5,
// warehouses and cranes behind (-z). Object counts are chosen with the animation in mind:
// it steps once per drawn scene-2 object, so skybox2 + port + ufo + platform must make
// show::kSceneTwoObjectCount (48) objects, which lift the UFO about 14 units, tilt it about
// 23 degrees and fly it off at about 14 units/s. The generator checks the count.
#include <algorithm>
#include <cmath>

#include "content/rng.h"
#include "content/scenes.h"
#include "show/show.h"

namespace {

const float kSea = -1.5f;
const float kPadTop = 1.0f;

std::vector<XZ> hullOutline(float length, float width) {
    float l = length / 2, w = width / 2;
    return {{-l, w},        {l * 0.3f, w}, {l * 0.7f, w * 0.75f}, {l, 0}, {l * 0.7f, -w * 0.75f},
            {l * 0.3f, -w}, {-l, -w}};
}

// Where the cabin texture has no windows (u0, v0, u1, v1): between its two rows.
const float kCabinPlainBand[4] = {0.02f, 0.45f, 0.98f, 0.6f};

// Squeezes the texture coordinates of the object's vertices [first, last) into one
// rectangle of the texture, keeping their layout.
void fitUv(MeshObject& o, size_t first, size_t last, const float band[4]) {
    float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
    for (size_t k = first; k < last; ++k) {
        const MeshVertex& v = o.vertices[k];
        lo[0] = std::min(lo[0], v.u), hi[0] = std::max(hi[0], v.u);
        lo[1] = std::min(lo[1], v.v), hi[1] = std::max(hi[1], v.v);
    }
    for (size_t k = first; k < last; ++k) {
        MeshVertex& v = o.vertices[k];
        v.u = band[0] + (band[2] - band[0]) * (v.u - lo[0]) / std::max(hi[0] - lo[0], 1e-6f);
        v.v = band[1] + (band[3] - band[1]) * (v.v - lo[1]) / std::max(hi[1] - lo[1], 1e-6f);
    }
}

void addBoat(Scene& s, const char* hullName, const char* cabinName, Place at, float length,
             float width) {
    MeshObject hull = meshObject(hullName, "Hull");
    addPrism(hull, at, hullOutline(length, width), kSea - 1.0f, kSea + 1.4f, 0.6f, 4.0f);
    s.objects.push_back(hull);
    MeshObject cabin = meshObject(cabinName, "Cabin");
    addBox(cabin, {placePoint(at, {-length * 0.15f, kSea + 2.6f, 0}), at.yaw},
           {length * 0.18f, 1.2f, width * 0.32f}, 3.0f);
    // Windows belong on the cabin's walls only. Its top and bottom, the roof and the mast
    // share its texture (one material per object) but take the plain band between the two
    // rows of windows. A box is four vertices per face.
    for (size_t k = 0; k + 4 <= cabin.vertices.size(); k += 4) {
        const MeshVertex* q = &cabin.vertices[k];
        if (q[0].p.y == q[1].p.y && q[0].p.y == q[2].p.y && q[0].p.y == q[3].p.y)
            fitUv(cabin, k, k + 4, kCabinPlainBand);
    }
    size_t plainFrom = cabin.vertices.size();
    addBox(cabin, {placePoint(at, {-length * 0.15f, kSea + 3.9f, 0}), at.yaw},
           {length * 0.2f, 0.1f, width * 0.36f}, 3.0f);
    addCylinder(cabin, {placePoint(at, {-length * 0.22f, 0, 0}), 0}, 0.12f, kSea + 4.0f,
                kSea + 8.0f, 8, 1.0f, 2.0f, true);
    fitUv(cabin, plainFrom, cabin.vertices.size(), kCabinPlainBand);
    s.objects.push_back(cabin);
}

void addCrane(MeshObject& o, MeshObject& house, float x) {
    // A ship-to-shore gantry: four legs, portal beams and a boom reaching over the water.
    const float z0 = 4.0f, z1 = 16.0f, top = 26.0f;
    for (float dx : {-5.0f, 5.0f})
        for (float z : {z0, z1}) {
            addBox(o, {{x + dx, top / 2, z}, 0}, {0.6f, top / 2, 0.6f}, 4.0f);
            addBox(o, {{x + dx, 0.6f, z}, 0}, {1.0f, 0.6f, 1.6f}, 4.0f); // bogie
        }
    for (float z : {z0, z1})
        addBox(o, {{x, top - 1.0f, z}, 0}, {5.6f, 0.8f, 0.6f}, 4.0f);
    for (float dx : {-5.0f, 5.0f}) {
        addBox(o, {{x + dx, top - 1.0f, (z0 + z1) / 2}, 0}, {0.6f, 0.8f, 6.6f}, 4.0f);
        addBox(o, {{x + dx, 9.0f, (z0 + z1) / 2}, 0}, {0.4f, 0.4f, 6.4f}, 4.0f);
    }
    // Boom from behind the legs far over the sea, and its back stays.
    addBox(o, {{x, top + 1.0f, 22.0f}, 0}, {1.2f, 0.9f, 26.0f}, 4.0f);
    addBox(o, {{x, top + 6.0f, 8.0f}, 0}, {0.5f, 5.0f, 0.5f}, 4.0f);
    addBox(house, {{x, top + 2.8f, 1.0f}, 0}, {3.0f, 1.8f, 3.5f}, 3.0f);
    addBox(house, {{x, top - 0.6f, 24.0f}, 0}, {1.0f, 1.0f, 1.2f}, 3.0f); // trolley cab
}

} // namespace

Scene buildPort() {
    Scene s;
    s.materials = {
        {"Water", "water.tga", {30, 80, 100}},
        {"Concrete", "concrete.tga", {150, 148, 140}},
        {"Planks", "planks.tga", {120, 95, 70}},
        {"ContRed", "cont_red.tga", {170, 45, 35}},
        {"ContBlue", "cont_blu.tga", {35, 80, 150}},
        {"ContGreen", "cont_grn.tga", {50, 120, 70}},
        {"Crane", "crane.tga", {240, 180, 30}},
        {"Metal", "metal.tga", {90, 95, 105}},
        {"Tower", "tower.tga", {230, 230, 225}},
        {"Lantern", "lantern.tga", {255, 240, 180}},
        {"Hull", "hull.tga", {50, 100, 120}},
        {"Cabin", "cabin.tga", {230, 230, 222}},
        {"Warehouse", "warehse.tga", {120, 130, 140}},
        {"Lamp", "lamphead.tga", {255, 230, 170}},
        {"Wood", "timber.tga", {150, 100, 55}},
    };
    Rng rng(2024);

    // The sea, reaching past the sky box's walls (1000 from the eye, 1414 at its corners)
    // from every point of the camera's path, so that no other sea shows between it and the
    // horizon. Drawn last of the harbour, so that what stands in front of it hides it
    // before it is shaded.
    MeshObject water = meshObject("Water", "Water");
    const float seaHalf = 1600.0f, tile = 100.0f;
    for (float x = -seaHalf; x < seaHalf; x += tile)
        for (float z = -seaHalf; z < seaHalf; z += tile)
            addQuadWorldUv(water, {x, kSea, z + tile}, {x + tile, kSea, z + tile},
                           {x + tile, kSea, z}, {x, kSea, z}, 12.0f);

    MeshObject quay = meshObject("Quay", "Concrete");
    addBox(quay, {{0, -3.0f, -20.0f}, 0}, {75.0f, 3.0f, 40.0f}, 10.0f);
    s.objects.push_back(quay);

    MeshObject bollards = meshObject("Bollards", "Metal");
    for (float x = -65.0f; x <= 65.0f; x += 10.0f)
        addLathe(bollards, {{x, 0, 19.2f}, 0},
                 {{0.35f, 0.0f}, {0.3f, 0.5f}, {0.45f, 0.6f}, {0.45f, 0.75f}, {0.001f, 0.8f}}, 12,
                 1.0f, 1.0f, false);
    s.objects.push_back(bollards);

    // Two piers into the sea, decks on posts.
    const char* deckNames[2] = {"PierDeckW", "PierDeckE"};
    const char* postNames[2] = {"PierPostsW", "PierPostsE"};
    const float pierX[2] = {-38.0f, 62.0f};
    for (int p = 0; p < 2; ++p) {
        MeshObject deck = meshObject(deckNames[p], "Planks");
        addBox(deck, {{pierX[p], -0.25f, 45.0f}, 0}, {2.5f, 0.25f, 25.0f}, 4.0f);
        MeshObject posts = meshObject(postNames[p], "Wood");
        for (float z = 22.0f; z <= 68.0f; z += 4.0f)
            for (float dx : {-2.2f, 2.2f})
                addCylinder(posts, {{pierX[p] + dx, 0, z}, 0}, 0.22f, kSea - 2.0f, 0.4f, 8, 1.0f,
                            2.0f, true);
        s.objects.push_back(deck);
        s.objects.push_back(posts);
    }

    // Stacks of containers on the west side of the quay.
    MeshObject containers[3] = {meshObject("ContRed", "ContRed"),
                                meshObject("ContBlue", "ContBlue"),
                                meshObject("ContGreen", "ContGreen")};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 4; ++col) {
            int height = 1 + int(rng.uniform() * 3.0f);
            for (int level = 0; level < height; ++level) {
                int colour = int(rng.uniform() * 3.0f) % 3;
                Place at{{-52.0f + col * 7.0f, 1.3f + level * 2.62f, -36.0f + row * 3.0f}, 0};
                addBox(containers[colour], at, {3.05f, 1.3f, 1.22f}, 6.1f);
            }
        }
    for (MeshObject& c : containers)
        s.objects.push_back(c);

    MeshObject crane1 = meshObject("Crane1", "Crane"), crane2 = meshObject("Crane2", "Crane");
    MeshObject houses = meshObject("CraneHouses", "Metal");
    addCrane(crane1, houses, 22.0f);
    addCrane(crane2, houses, 44.0f);
    s.objects.push_back(crane1);
    s.objects.push_back(crane2);
    s.objects.push_back(houses);

    // Lighthouse on a round breakwater west of the harbour.
    const Place light{{show::kLantern[0], 0, show::kLantern[2]}, 0}; // the beam turns there
    MeshObject base = meshObject("Breakwater", "Concrete");
    addLathe(base, light, {{9.0f, kSea - 1.0f}, {8.0f, 1.0f}, {0.001f, 1.2f}}, 32, 6.0f, 6.0f,
             false);
    MeshObject tower = meshObject("Tower", "Tower");
    addLathe(tower, light, {{3.2f, 1.0f}, {2.3f, 24.0f}}, 32, 2.0f, 12.0f, false);
    addLathe(tower, light, {{2.3f, 24.0f}, {3.4f, 24.2f}, {3.4f, 24.6f}, {0.001f, 24.7f}}, 32, 2.0f,
             4.0f, false);
    MeshObject lantern = meshObject("Lantern", "Lantern");
    addCylinder(lantern, light, 1.7f, 24.6f, 27.6f, 24, 1.0f, 3.0f, false);
    MeshObject roof = meshObject("TowerRoof", "Metal");
    addLathe(roof, light,
             {{2.1f, 27.6f}, {1.9f, 27.9f}, {0.6f, 29.6f}, {0.2f, 30.6f}, {0.001f, 30.8f}}, 24,
             2.0f, 2.0f, false);
    s.objects.push_back(base);
    s.objects.push_back(tower);
    s.objects.push_back(lantern);
    s.objects.push_back(roof);

    addBoat(s, "Boat1", "Boat1Cabin", {{-20.0f, 0, 38.0f}, 15.0f}, 16.0f, 5.0f);
    addBoat(s, "Boat2", "Boat2Cabin", {{30.0f, 0, 55.0f}, -30.0f}, 12.0f, 4.0f);
    addBoat(s, "Boat3", "Boat3Cabin", {{-55.0f, 0, 70.0f}, 160.0f}, 20.0f, 6.0f);

    // Warehouses along the back of the quay, lit windows facing the sea.
    MeshObject sheds = meshObject("Warehouses", "Warehouse");
    MeshObject roofs = meshObject("ShedRoofs", "Metal");
    for (float x : {-20.0f, 12.0f, 44.0f}) {
        addBox(sheds, {{x, 7.0f, -48.0f}, 0}, {14.0f, 7.0f, 9.0f}, 14.0f);
        addPrism(roofs, {{x, 0, -48.0f}, 0},
                 {{-14.5f, 9.5f}, {14.5f, 9.5f}, {14.5f, -9.5f}, {-14.5f, -9.5f}}, 14.0f, 14.6f,
                 1.0f, 6.0f);
        addBox(roofs, {{x, 15.2f, -48.0f}, 0}, {6.0f, 0.6f, 4.0f}, 6.0f); // plant room
    }
    s.objects.push_back(sheds);
    s.objects.push_back(roofs);

    MeshObject poles = meshObject("LampPoles", "Metal");
    MeshObject heads = meshObject("LampHeads", "Lamp");
    for (float x = -60.0f; x <= 60.0f; x += 20.0f) {
        addCylinder(poles, {{x, 0, 15.0f}, 0}, 0.15f, 0.0f, 8.0f, 8, 1.0f, 4.0f, true);
        addBox(poles, {{x, 8.1f, 14.2f}, 0}, {0.12f, 0.12f, 0.9f}, 1.0f);
        addBox(heads, {{x, 7.8f, 13.5f}, 0}, {0.55f, 0.22f, 0.55f}, 1.0f);
    }
    s.objects.push_back(poles);
    s.objects.push_back(heads);

    MeshObject crates = meshObject("Crates", "Wood");
    MeshObject barrels = meshObject("Barrels", "Metal");
    for (int k = 0; k < 14; ++k) {
        float x = rng.range(-16.0f, 16.0f), z = rng.range(-30.0f, -14.0f);
        float size = rng.range(0.5f, 0.9f);
        addBox(crates, {{x, size, z}, rng.range(0.0f, 90.0f)}, {size, size, size}, 2.0f);
        // Barrels stand beside the crates, clear of the platform and its steps.
        addCylinder(barrels, {{rng.range(-18.0f, 18.0f), 0, rng.range(-34.0f, -14.0f)}, 0}, 0.45f,
                    0.0f, 1.3f, 12, 1.0f, 1.0f, true);
    }
    s.objects.push_back(crates);
    s.objects.push_back(barrels);
    s.objects.push_back(water);
    return s;
}

Scene buildPlatform() {
    Scene s;
    s.materials = {{"PadMetal", "ufometal.tga", {90, 95, 105}},
                   {"Pad", "pad.tga", {70, 74, 80}},
                   {"PadLights", "padlight.tga", {255, 120, 60}},
                   {"Steps", "padsteps.tga", {150, 148, 140}}};
    const Place at{{0, 0, 0}, 0};
    MeshObject base = meshObject("PadBase", "PadMetal");
    addLathe(base, at, {{8.6f, 0.0f}, {8.6f, 0.3f}, {8.0f, 0.5f}, {8.0f, kPadTop}}, 48, 8.0f, 1.0f,
             false);
    MeshObject pad = meshObject("PadTop", "Pad");
    addDisc(pad, at, 8.0f, kPadTop, 64, true);
    MeshObject lights = meshObject("PadLights", "PadLights");
    for (int k = 0; k < 16; ++k) {
        float yaw = 360.0f * k / 16;
        addBox(lights, {placePoint({{0, 0, 0}, yaw}, {0, kPadTop + 0.08f, 7.6f}), yaw},
               {0.25f, 0.08f, 0.15f}, 1.0f);
    }
    MeshObject masts = meshObject("Masts", "PadMetal");
    for (int k = 0; k < 4; ++k) {
        float a = kPi * (0.25f + 0.5f * k);
        float x = 8.3f * std::sin(a), z = 8.3f * std::cos(a);
        addCylinder(masts, {{x, 0, z}, 0}, 0.12f, 0.3f, 5.0f, 8, 1.0f, 2.0f, false);
        addLathe(lights, {{x, 0, z}, 0},
                 {{0.001f, 4.9f}, {0.3f, 5.0f}, {0.3f, 5.4f}, {0.001f, 5.5f}}, 10, 1.0f, 1.0f,
                 false);
    }
    MeshObject steps = meshObject("Steps", "Steps");
    for (int k = 0; k < 3; ++k) {
        float top = (k + 1) * kPadTop / 3;
        addBox(steps, {{0, top / 2, 9.2f + 1.2f * (2 - k)}, 0}, {2.0f, top / 2, 0.6f}, 2.0f);
    }
    s.objects = {base, pad, lights, masts, steps};
    return s;
}

Scene buildUfo() {
    Scene s;
    s.materials = {{"UfoHull", "ufo.tga", {190, 200, 210}},
                   {"UfoDome", "ufodome.tga", {100, 220, 220}},
                   {"UfoLights", "ufolight.tga", {200, 255, 240}},
                   {"UfoMetal", "ufometal.tga", {90, 95, 105}}};
    const Place at{{0, 0, 0}, 0};
    const float y = kPadTop; // the UFO stands on the pad
    MeshObject lower = meshObject("UfoLower", "UfoHull");
    addLathe(lower, at, {{0.8f, y + 1.0f}, {3.0f, y + 1.35f}, {5.0f, y + 1.85f}, {5.7f, y + 2.15f}},
             64, 4.0f, 2.0f, true);
    MeshObject upper = meshObject("UfoUpper", "UfoHull");
    addLathe(upper, at, {{5.7f, y + 2.45f}, {4.9f, y + 2.8f}, {3.2f, y + 3.25f}, {2.3f, y + 3.4f}},
             64, 4.0f, 2.0f, true);
    MeshObject dome = meshObject("UfoDome", "UfoDome");
    std::vector<ProfilePoint> domeProfile;
    for (int k = 0; k <= 10; ++k) {
        float a = 0.5f * kPi * k / 10;
        domeProfile.push_back(
            {std::max(0.001f, 2.3f * std::cos(a)), y + 3.4f + 1.9f * std::sin(a)});
    }
    addLathe(dome, at, domeProfile, 48, 2.0f, 2.0f, true);
    MeshObject rim = meshObject("UfoRim", "UfoLights");
    addTorus(rim, {{0, y + 2.3f, 0}, 0}, 5.7f, 0.2f, 96, 10);
    MeshObject legs = meshObject("UfoLegs", "UfoMetal");
    MeshObject feet = meshObject("UfoFeet", "UfoMetal");
    for (int k = 0; k < 3; ++k) {
        float a = 2 * kPi * k / 3 + 0.3f;
        Place leg{{3.2f * std::sin(a), 0, 3.2f * std::cos(a)}, 0};
        addCylinder(legs, leg, 0.18f, y + 0.2f, y + 1.5f, 10, 1.0f, 1.0f, false);
        addLathe(feet, leg, {{0.001f, y}, {0.7f, y}, {0.6f, y + 0.2f}, {0.001f, y + 0.25f}}, 16,
                 1.0f, 1.0f, false);
    }
    MeshObject glow = meshObject("UfoGlow", "UfoLights");
    addDisc(glow, at, 0.8f, y + 1.0f, 24, false);
    MeshObject antenna = meshObject("UfoAntenna", "UfoMetal");
    addCylinder(antenna, at, 0.06f, y + 5.2f, y + 6.4f, 8, 1.0f, 1.0f, false);
    addLathe(antenna, {{0, y + 6.4f, 0}, 0},
             {{0.001f, 0.0f}, {0.2f, 0.1f}, {0.2f, 0.3f}, {0.001f, 0.4f}}, 10, 1.0f, 1.0f, false);
    s.objects = {lower, upper, dome, rim, legs, feet, glow, antenna};
    return s;
}
