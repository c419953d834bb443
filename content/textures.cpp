// Procedural material textures: a colour map and a height field per material, the
// height field turned into a tangent-space normal map. Texel (i, j) is (u, v) = (i, j)/size.
// The harbour's normal maps carry in their alpha how the normal-mapping program lights the
// surface (daylight, dusk with a share of light of its own, or water; see normalmapping.fs),
// so they are written as TGA, which keeps alpha where the image loader's BMP reading does not.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "content/files.h"
#include "content/hash.h"
#include "content/image.h"
#include "content/noise.h"
#include "content/textures.h"

namespace {

// A painter gives colour and height for texture coordinates (u, v) in [0, 1).
struct Texel {
    Float3 colour;
    float height;
    float emission = 0; // light of its own, 0 to 1 (dusk surfaces only)
};
using Painter = Texel (*)(float u, float v);

// The harbour stands still; the visitor (the UFO and its platform) moves, so it takes no
// light from the harbour's lamps, whose places the program knows only in harbour terms.
enum class Light { day, dusk, visitor, water };

// The normal map's alpha for each way of lighting, as normalmapping.fs reads it.
float lightCode(Light light, float emission) {
    switch (light) {
    case Light::dusk:
        return 0.85f - 0.35f * clamp01(emission);
    case Light::visitor:
        return 0.45f - 0.2f * clamp01(emission);
    case Light::water:
        return 0.1f;
    default:
        return 1.0f;
    }
}

struct TextureSpec {
    const char* file;
    int size;
    float bump; // normal map strength
    Painter paint;
    Light light = Light::day;
};

Texel planks(float u, float v, Float3 light, Float3 dark, int rows, uint32_t seed) {
    float rowF = v * rows;
    int row = int(rowF);
    float across = rowF - row;
    float shift = cellHash(row, 0, seed);
    float along = fract(u * 2.0f + shift);
    int board = int(std::floor(u * 2.0f + shift));
    float tone = cellHash(row, board, seed + 1);
    float grain = fbm2(u * 64.0f, v * rows * 3.0f, 64, 4, seed + 7);
    float rings = 0.5f + 0.5f * std::sin((v * rows * 9.0f + grain * 6.0f + tone * 20.0f));
    Float3 c = mix(dark, light, clamp01(0.35f + 0.4f * tone + 0.25f * rings));
    float edge = std::min(std::min(across, 1.0f - across) * 40.0f, 1.0f) *
                 std::min(std::min(along, 1.0f - along) * 160.0f, 1.0f);
    c = c * (0.55f + 0.45f * edge);
    return {c, 0.6f * edge + 0.08f * rings};
}

Texel corrugated(float u, float v, Float3 base, uint32_t seed) {
    float ridge = 0.5f + 0.5f * std::sin(u * 2.0f * kPi * 16.0f);
    float dirt = fbm2(u * 8.0f, v * 8.0f, 8, 5, seed);
    float rust = clamp01((fbm2(u * 16.0f, v * 16.0f, 16, 4, seed + 3) - 0.62f) * 5.0f);
    Float3 c = base * (0.75f + 0.25f * ridge) * (0.8f + 0.3f * dirt);
    c = mix(c, rgb(110, 60, 30), rust * 0.8f);
    float frame = (u < 0.03f || u > 0.97f || v < 0.04f || v > 0.96f) ? 1.0f : 0.0f;
    c = mix(c, base * 0.55f, frame);
    return {c, frame > 0 ? 1.0f : ridge * 0.8f};
}

// Distance from (fu, fv) in [0, 1)^2 to the nearest edge of the square.
float edgeDistance(float fu, float fv) {
    return std::min(std::min(fu, 1 - fu), std::min(fv, 1 - fv));
}

// Rows of lit windows on a facade: emissive texels the glow pass picks up.
float windowMask(float u, float v, int cols, int rows, float lit, uint32_t seed, float* on) {
    int ci = int(u * cols), rj = int(v * rows);
    float fu = fract(u * cols), fv = fract(v * rows);
    bool inside = fu > 0.25f && fu < 0.75f && fv > 0.3f && fv < 0.8f;
    *on = cellHash(ci, rj, seed) < lit ? 1.0f : 0.0f;
    return inside ? 1.0f : 0.0f;
}

// ---- the hall ----

Texel paintFloor(float u, float v) {
    return planks(u, v, rgb(196, 142, 88), rgb(96, 58, 30), 8, 11);
}

Texel paintBrick(float u, float v) {
    const int rows = 8, cols = 4;
    int row = int(v * rows);
    float fu = u * cols + (row % 2) * 0.5f;
    int col = int(std::floor(fu));
    float bu = fract(fu), bv = fract(v * rows);
    float mortar = std::min(std::min(bu, 1 - bu) * 30.0f, std::min(bv, 1 - bv) * 14.0f);
    mortar = clamp01(mortar);
    float tone = cellHash(row, col % cols, 21);
    float n = fbm2(u * 32, v * 32, 32, 4, 22);
    Float3 brick = mix(rgb(150, 70, 45), rgb(196, 120, 80), tone) * (0.8f + 0.35f * n);
    Float3 c = mix(rgb(200, 190, 170) * (0.8f + 0.2f * n), brick, mortar);
    return Texel{c, mortar * (0.7f + 0.3f * n)};
}

Texel paintPlaster(float u, float v) {
    // Ceiling coffers: two sunken panels per repeat with bevelled rims.
    float fu = fract(u * 2), fv = fract(v * 2);
    float d = edgeDistance(fu, fv);
    float bevel = clamp01((d - 0.06f) * 12.0f);
    float n = fbm2(u * 16, v * 16, 16, 5, 31);
    Float3 c = mix(rgb(236, 228, 210), rgb(214, 200, 178), bevel) * (0.9f + 0.12f * n);
    if (d < 0.03f)
        c = rgb(190, 150, 80); // gilded rib
    return Texel{c, 1.0f - bevel + 0.05f * n};
}

Texel paintMarble(float u, float v) {
    float n = fbm2(u * 6, v * 6, 6, 6, 41);
    float vein = std::fabs(std::sin((u * 3 + v * 2) * 2 * kPi + n * 9.0f));
    float dark = std::pow(1.0f - vein, 10.0f);
    Float3 c = mix(rgb(238, 236, 230), rgb(90, 96, 110), dark * 0.8f);
    c = c * (0.92f + 0.1f * fbm2(u * 24, v * 24, 24, 3, 42));
    return Texel{c, 0.2f * n};
}

Texel paintBronze(float u, float v) {
    float n = fbm2(u * 12, v * 12, 12, 5, 51);
    float patina = clamp01((fbm2(u * 6, v * 6, 6, 4, 52) - 0.55f) * 4.0f);
    Float3 c = mix(rgb(205, 150, 80), rgb(250, 210, 140), n);
    c = mix(c, rgb(70, 150, 120), patina * 0.7f);
    float hammer = valueNoise2(u * 40, v * 40, 40, 53);
    return Texel{c, 0.6f * hammer + 0.2f * n};
}

Texel paintWood(float u, float v) {
    return planks(u, v, rgb(170, 110, 60), rgb(80, 45, 20), 4, 61);
}

Texel paintDarkWood(float u, float v) {
    return planks(u, v, rgb(110, 70, 40), rgb(40, 24, 14), 2, 71);
}

Texel paintLamp(float u, float v) {
    float n = fbm2(u * 8, v * 8, 8, 3, 81);
    return Texel{mix(rgb(255, 220, 150), rgb(255, 255, 240), n), 0.0f};
}

Texel paintRug(float u, float v) {
    float d = edgeDistance(u, v);
    int band = int(d * 14.0f);
    float cu = u - 0.5f, cv = v - 0.5f;
    float motif =
        std::sin(cu * 40) * std::sin(cv * 40) + std::cos(std::sqrt(cu * cu + cv * cv) * 50);
    Float3 c = band < 1   ? rgb(40, 30, 60)
               : band < 2 ? rgb(200, 160, 70)
               : band < 3 ? rgb(130, 30, 35)
                          : (motif > 0.6f    ? rgb(220, 180, 90)
                             : motif > -0.4f ? rgb(150, 35, 40)
                                             : rgb(40, 50, 100));
    float weave = 0.5f + 0.5f * std::sin(u * 2 * kPi * 128) * std::sin(v * 2 * kPi * 128);
    return Texel{c * (0.85f + 0.15f * weave), 0.4f * weave};
}

Texel paintBooks(float u, float v) {
    int book = int(u * 24);
    float t = cellHash(book, 1, 91);
    float top = 0.75f + 0.2f * cellHash(book, 2, 91);
    const Float3 palette[5] = {rgb(120, 30, 30), rgb(30, 60, 110), rgb(40, 90, 50),
                               rgb(150, 110, 50), rgb(70, 40, 80)};
    Float3 c = palette[int(t * 5) % 5];
    float fu = fract(u * 24);
    float spine = std::sin(fu * kPi);
    if (std::fabs(v - 0.6f) < 0.02f || std::fabs(v - 0.3f) < 0.015f)
        c = rgb(220, 190, 100); // gilt bands
    if (v > top)
        return Texel{rgb(40, 30, 22), 0.0f};
    return Texel{c * (0.6f + 0.4f * spine), 0.3f + 0.7f * spine};
}

// ---- the harbour ----
// Dusk surfaces carry their own weather: grime, stains and tile-to-tile variation are
// painted in, and dirt gathers in joints and seams (baked shade where light reaches less).

Texel paintWater(float u, float v) {
    float h = 0;
    const int waves[6][2] = {{3, 1}, {-2, 5}, {7, -3}, {1, 9}, {-11, 4}, {5, 13}};
    for (int k = 0; k < 6; ++k)
        h += std::sin(2 * kPi * (waves[k][0] * u + waves[k][1] * v) + k * 1.7f) / (1.0f + k * 0.4f);
    h = h * 0.15f + 0.5f + 0.45f * (fbm2(u * 16, v * 16, 16, 5, 101) - 0.5f);
    Float3 c = mix(rgb(6, 22, 36), rgb(24, 66, 84), clamp01(h));
    return Texel{c, h};
}

Texel paintConcrete(float u, float v) {
    float n = fbm2(u * 16, v * 16, 16, 6, 111);
    float stain = fbm2(u * 4, v * 4, 4, 4, 112);
    float fu = fract(u * 2), fv = fract(v * 2);
    int tu = int(u * 2), tv = int(v * 2);
    // Slabs cast at different times: each its own tone, some with oil or rust marks.
    float tone = cellHash(tu, tv, 113);
    float oil =
        clamp01((fbm2(u * 8, v * 8, 8, 3, 114) - 0.6f) * 4.0f) * (tone > 0.6f ? 1.0f : 0.3f);
    float joint = clamp01(edgeDistance(fu, fv) * 60);
    float chip = clamp01((valueNoise2(u * 64, v * 64, 64, 115) - 0.8f) * 6.0f);
    Float3 c =
        rgb(150, 146, 136) * (0.78f + 0.3f * n) * (0.8f + 0.3f * stain) * (0.82f + 0.3f * tone);
    c = mix(c, rgb(40, 36, 34), oil * 0.6f);
    // Dirt in the joints and a dark rim along them.
    c = c * (0.35f + 0.65f * joint) * (1.0f - 0.3f * chip);
    return {c, 0.25f * n + 0.8f * joint - 0.2f * chip};
}

Texel paintPlanks(float u, float v) {
    Texel t = planks(u, v, rgb(150, 120, 90), rgb(60, 46, 34), 6, 121);
    float wet = fbm2(u * 4, v * 4, 4, 3, 122);
    t.colour = t.colour * (0.7f + 0.4f * wet);
    return t;
}

// A container side: corrugation, a frame, rust, dents and grime streaks along u.
Texel container(float u, float v, Float3 base, uint32_t seed) {
    Texel t = corrugated(u, v, base, seed);
    float streaks = fbm2(u * 4, v * 48, 4, 3, seed + 9);
    float dent = valueNoise2(u * 12, v * 12, 12, seed + 11);
    t.colour = t.colour * (0.6f + 0.5f * streaks) * (0.85f + 0.2f * dent);
    t.height += 0.3f * dent;
    return t;
}

Texel paintRedContainer(float u, float v) {
    return container(u, v, rgb(170, 45, 35), 131);
}

Texel paintBlueContainer(float u, float v) {
    return container(u, v, rgb(35, 80, 150), 141);
}

Texel paintGreenContainer(float u, float v) {
    return container(u, v, rgb(50, 120, 70), 151);
}

Texel paintCrane(float u, float v) {
    float n = fbm2(u * 16, v * 16, 16, 5, 161);
    float scratch = clamp01((fbm2(u * 64, v * 4, 64, 3, 162) - 0.7f) * 6);
    Float3 c = mix(rgb(230, 170, 20), rgb(255, 200, 60), n);
    c = mix(c, rgb(90, 80, 70), scratch);
    // Rivet rows along the plate edges, with dirt gathering at the plate seams.
    float ru = fract(u * 16), rv = fract(v * 4);
    float rivet = (rv < 0.1f || rv > 0.9f) ? clamp01(1 - std::fabs(ru - 0.5f) * 4) : 0.0f;
    float seam = clamp01(std::min(rv, 1 - rv) * 30);
    c = c * (0.6f + 0.4f * seam) * (0.85f + 0.15f * fbm2(u * 4, v * 4, 4, 3, 163));
    return Texel{c, 0.2f * n + rivet + 0.4f * seam};
}

Texel paintTower(float u, float v) {
    float n = fbm2(u * 16, v * 16, 16, 5, 171);
    bool red = fract(v * 2) < 0.5f;
    float weather = fbm2(u * 8, v * 24, 8, 3, 172);
    Float3 c = (red ? rgb(190, 40, 35) : rgb(240, 236, 228)) * (0.75f + 0.2f * n + 0.15f * weather);
    return Texel{c, 0.3f * n};
}

Texel paintLantern(float u, float v) {
    float fu = fract(u * 8);
    bool bar = fu < 0.08f || fu > 0.92f || v < 0.05f || v > 0.95f;
    Float3 c = bar ? rgb(40, 40, 40) : mix(rgb(255, 230, 160), rgb(255, 255, 235), v);
    return Texel{c, bar ? 1.0f : 0.0f, bar ? 0.0f : 1.0f};
}

Texel paintLampHead(float u, float v) {
    float n = fbm2(u * 8, v * 8, 8, 3, 82);
    return Texel{mix(rgb(255, 210, 140), rgb(255, 245, 220), n), 0.0f, 1.0f};
}

Texel paintTimber(float u, float v) {
    Texel t = planks(u, v, rgb(150, 100, 55), rgb(60, 36, 18), 4, 62);
    t.colour = t.colour * (0.75f + 0.3f * fbm2(u * 6, v * 6, 6, 3, 63));
    return t;
}

Texel paintHull(float u, float v) {
    Texel t = planks(u, v, rgb(60, 120, 140), rgb(30, 70, 90), 6, 181);
    if (fract(v) > 0.8f)
        t.colour = rgb(235, 235, 230) * (0.8f + 0.2f * t.height);
    // A dark waterline band and weed.
    float weed = fbm2(u * 16, v * 16, 16, 3, 182);
    if (fract(v) < 0.2f)
        t.colour = mix(rgb(20, 30, 25), rgb(40, 60, 40), weed);
    return t;
}

Texel paintCabin(float u, float v) {
    float n = fbm2(u * 16, v * 16, 16, 4, 191);
    float on = 0;
    float w = windowMask(u, v, 4, 2, 0.6f, 192, &on);
    Float3 c = rgb(232, 230, 222) * (0.75f + 0.25f * n);
    if (w > 0)
        c = on > 0 ? rgb(255, 220, 150) : rgb(30, 40, 55);
    return Texel{c, w > 0 ? 0.0f : 0.6f, w * on};
}

Texel paintWarehouse(float u, float v) {
    Texel t = corrugated(u, v, rgb(120, 130, 140), 201);
    float streaks = fbm2(u * 4, v * 48, 4, 3, 203);
    t.colour = t.colour * (0.8f + 0.3f * streaks);
    float on = 0;
    float w = windowMask(u, fract(v * 2), 6, 1, 0.6f, 202 + int(v * 2), &on);
    if (w > 0 && v > 0.5f) {
        // Lit offices in warm or cool light, some dimmer than others.
        float tone = cellHash(int(u * 6), int(v * 2), 204);
        Float3 lit = mix(rgb(255, 200, 120), rgb(200, 230, 255), tone > 0.75f ? 1.0f : 0.0f);
        t.colour = on > 0 ? lit : rgb(25, 30, 40);
        t.height = 0;
        t.emission = on * (0.7f + 0.3f * tone);
    }
    return t;
}

Texel paintMetal(float u, float v) {
    float n = fbm2(u * 16, v * 16, 16, 5, 211);
    float fu = fract(u * 4), fv = fract(v * 4);
    float seam = clamp01(edgeDistance(fu, fv) * 60);
    float rust = clamp01((fbm2(u * 8, v * 8, 8, 3, 212) - 0.6f) * 4.0f);
    Float3 c = rgb(90, 95, 105) * (0.75f + 0.35f * n) * (0.55f + 0.45f * seam);
    c = mix(c, rgb(100, 60, 35), rust * 0.6f);
    return Texel{c, seam * 0.8f + 0.2f * n};
}

// ---- the visitor and its platform ----

Texel paintUfoHull(float u, float v) {
    float n = fbm2(u * 32, v * 32, 32, 4, 221);
    float fu = fract(u * 24), fv = fract(v * 6);
    float seam = clamp01(edgeDistance(fu, fv) * 30);
    float tone = cellHash(int(u * 24), int(v * 6), 222);
    Float3 c = mix(rgb(150, 160, 175), rgb(215, 222, 232), tone * 0.6f + n * 0.4f);
    float rivet = 0;
    if (fv < 0.12f || fv > 0.88f) {
        float d = std::fabs(fract(u * 96) - 0.5f);
        rivet = clamp01(1 - d * 5);
    }
    // A row of portholes around the rim, lit from inside.
    float pu = fract(u * 48) - 0.5f, pv = fv - 0.5f;
    float port = (int(v * 6) == 1) ? clamp01(1.5f - std::sqrt(pu * pu + pv * pv) * 8.0f) : 0.0f;
    c = mix(c * (0.6f + 0.4f * seam), rgb(160, 255, 235), port);
    return Texel{c, seam * 0.7f + rivet * 0.5f, port};
}

Texel paintUfoDome(float u, float v) {
    float n = fbm2(u * 8, v * 8, 8, 4, 231);
    Float3 c = mix(rgb(40, 160, 180), rgb(170, 255, 240), clamp01(v * 0.8f + 0.3f * n));
    return Texel{c, 0.1f * n, 0.35f};
}

Texel paintUfoLights(float u, float v) {
    float fu = fract(u * 16) - 0.5f, fv = fract(v * 2) - 0.5f;
    float d = std::sqrt(fu * fu + fv * fv * 4);
    float spot = clamp01(1.2f - d * 3.0f);
    bool warm = int(u * 16) % 2 == 0;
    Float3 glowC = warm ? rgb(255, 240, 160) : rgb(140, 255, 240);
    return Texel{mix(rgb(20, 30, 40), glowC, spot), spot, spot};
}

Texel paintPad(float u, float v) {
    float x = u - 0.5f, y = v - 0.5f;
    float r = std::sqrt(x * x + y * y) * 2.0f;
    float n = fbm2(u * 32, v * 32, 32, 4, 241);
    Float3 c = rgb(70, 74, 80) * (0.8f + 0.3f * n);
    float a = std::atan2(y, x);
    if (r > 0.86f && r < 0.98f) // hazard ring
        c = fract(a / (2 * kPi) * 24) < 0.5f ? rgb(240, 190, 20) : rgb(25, 25, 25);
    if (std::fabs(r - 0.62f) < 0.025f)
        c = rgb(235, 235, 235);
    // A letter H, the universal landing mark.
    bool bar = std::fabs(x) < 0.16f && std::fabs(y) < 0.03f;
    bool legs = std::fabs(std::fabs(x) - 0.16f) < 0.035f && std::fabs(y) < 0.2f;
    if (bar || legs)
        c = rgb(240, 240, 240);
    // Landing lights set into the deck inside the hazard ring.
    float lamp = 0;
    if (std::fabs(r - 0.78f) < 0.04f) {
        float along = fract(a / (2 * kPi) * 32) - 0.5f;
        lamp = clamp01(1.0f - std::hypot(along * 0.12f, r - 0.78f) * 40.0f);
        c = mix(c, rgb(120, 230, 255), lamp);
    }
    return Texel{c, 0.15f * n + (r > 0.86f ? 0.3f : 0.0f), lamp};
}

Texel paintPadLights(float u, float v) {
    float fu = fract(u * 8) - 0.5f;
    float spot = clamp01(1.0f - std::fabs(fu) * 3.0f) * clamp01(1.5f - v);
    return Texel{mix(rgb(60, 10, 10), rgb(255, 120, 60), spot), spot, spot};
}

// Every material texture: file, size, normal map strength and painter.
const TextureSpec kTextures[] = {
    // the hall
    {"floor.bmp", 1024, 4.0f, paintFloor},
    {"brick.bmp", 512, 5.0f, paintBrick},
    {"plaster.bmp", 512, 3.0f, paintPlaster},
    {"marble.bmp", 512, 1.0f, paintMarble},
    {"bronze.bmp", 512, 3.0f, paintBronze},
    {"wood.bmp", 512, 3.0f, paintWood},
    {"darkwood.bmp", 512, 2.0f, paintDarkWood},
    {"lamp.bmp", 512, 0.5f, paintLamp},
    {"rug.bmp", 512, 2.0f, paintRug},
    {"books.bmp", 512, 3.0f, paintBooks},
    // the harbour
    {"water.tga", 1024, 8.0f, paintWater, Light::water},
    {"concrete.tga", 512, 4.0f, paintConcrete, Light::dusk},
    {"planks.tga", 512, 5.0f, paintPlanks, Light::dusk},
    {"cont_red.tga", 512, 6.0f, paintRedContainer, Light::dusk},
    {"cont_blu.tga", 512, 6.0f, paintBlueContainer, Light::dusk},
    {"cont_grn.tga", 512, 6.0f, paintGreenContainer, Light::dusk},
    {"crane.tga", 512, 4.0f, paintCrane, Light::dusk},
    {"tower.tga", 512, 2.0f, paintTower, Light::dusk},
    {"lantern.tga", 512, 1.0f, paintLantern, Light::dusk},
    {"lamphead.tga", 256, 0.5f, paintLampHead, Light::dusk},
    {"timber.tga", 512, 3.0f, paintTimber, Light::dusk},
    {"hull.tga", 512, 3.0f, paintHull, Light::dusk},
    {"cabin.tga", 512, 2.0f, paintCabin, Light::dusk},
    {"warehse.tga", 512, 6.0f, paintWarehouse, Light::dusk},
    {"metal.tga", 512, 3.0f, paintMetal, Light::dusk},
    // the visitor and its platform
    {"ufo.tga", 512, 4.0f, paintUfoHull, Light::visitor},
    {"ufodome.tga", 512, 0.5f, paintUfoDome, Light::visitor},
    {"ufolight.tga", 512, 2.0f, paintUfoLights, Light::visitor},
    {"ufometal.tga", 256, 3.0f, paintMetal, Light::visitor},
    {"pad.tga", 512, 3.0f, paintPad, Light::visitor},
    {"padlight.tga", 512, 1.0f, paintPadLights, Light::visitor},
    {"padsteps.tga", 256, 4.0f, paintConcrete, Light::visitor},
};

} // namespace

bool writeMaterialTexture(const std::string& outDir, const std::string& file) {
    for (const TextureSpec& t : kTextures) {
        if (file != t.file)
            continue;
        Image colour(t.size, t.size);
        std::vector<float> height(size_t(t.size) * t.size), code(height.size());
        for (int j = 0; j < t.size; ++j)
            for (int i = 0; i < t.size; ++i) {
                Texel x = t.paint((i + 0.5f) / t.size, (j + 0.5f) / t.size);
                colour.set(i, j, x.colour);
                height[size_t(j) * t.size + i] = x.height;
                code[size_t(j) * t.size + i] = lightCode(t.light, x.emission);
            }
        // Height differences are per texel; scale so the strength reads the same at any size.
        Image normal = normalMapFromHeight(height, t.size, t.size, t.bump * t.size / 512.0f);
        if (t.light != Light::day)
            normal.alpha = std::move(code);
        return writeTexture(outDir, file, colour, normal);
    }
    std::printf("kestrune-content: no painter for texture %s\n", file.c_str());
    return false;
}

bool writeFixedTextures(const std::string& outDir) {
    // base.bmp and glow.bmp feed the neon program: a neutral base and a glow mask.
    Image base(256, 256), glow(256, 256);
    for (int j = 0; j < 256; ++j)
        for (int i = 0; i < 256; ++i) {
            float u = (i + 0.5f) / 256, v = (j + 0.5f) / 256;
            float n = fbm2(u * 8, v * 8, 8, 4, 251);
            base.set(i, j, mix(rgb(60, 60, 70), rgb(110, 110, 125), n));
            float line = clamp01(1 - std::fabs(fract(v * 4) - 0.5f) * 10);
            glow.set(i, j, mix(rgb(0, 0, 0), rgb(80, 220, 255), line));
        }
    return writeFile(outDir + "/textures/base.bmp", encodeBmp(base)) &&
           writeFile(outDir + "/textures/glow.bmp", encodeBmp(glow));
}
