// Sky boxes: six inward-facing squares around the box's origin, each with its own
// texture painted from the view direction, so the faces meet without seams. Each texture
// reaches a few texels past its face's edges (painted on from the same directions) and the
// face's coordinates stop at the edge inside it: filtering at an edge, and in the first
// mip levels, then blends only texels of the same sky, never the texture's far side,
// which a repeating wrap would bring in as a line along every edge.
#include <algorithm>
#include <cmath>

#include "content/hash.h"
#include "content/image.h"
#include "content/noise.h"
#include "content/sky.h"
#include "show/show.h"

namespace {

const float kHalf = 1000.0f; // corners at 1732 from the centre, inside the far plane
// Where the eye stands relative to the box's centre: the frame draws the box lowered by
// the drop, and the horizon is painted for that eye.
const Float3 kEye = {0, show::kSkyboxDrop, 0};
const int kSideSize = 1024;
const int kBottomSize = 256;
const int kGutter = 4; // texels past each edge: clean down to mip level 3

const char* const kSkyFaceNames[6] = {"px", "nx", "py", "ny", "pz", "nz"};

struct Face {
    Float3 forward, up;
};
const Face kFaces[6] = {{{1, 0, 0}, {0, 1, 0}},   {{-1, 0, 0}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}},
                        {{0, -1, 0}, {0, 0, -1}}, {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}}};

// Point of the face at texture coordinates (s, t) in [0, 1], box of half size 1.
Float3 facePoint(const Face& f, float s, float t) {
    Float3 right = crossV(f.forward, f.up);
    return f.forward + right * (2 * s - 1) + f.up * (2 * t - 1);
}

std::string faceFile(bool dawn, int face) {
    return std::string(dawn ? "sky2_" : "sky1_") + kSkyFaceNames[face] + ".bmp";
}

// Distant hills along the horizon, as elevation (radians) by azimuth.
float hillElevation(float azimuth, uint32_t seed) {
    float x = (azimuth / (2 * kPi) + 0.5f) * 24.0f;
    return 0.012f + 0.05f * fbm2(x, 0.5f, 24, 4, seed);
}

Float3 daySky(Float3 d) {
    float elev = std::asin(std::clamp(d.y, -1.0f, 1.0f));
    float az = std::atan2(d.x, -d.z);
    Float3 sun = unitV({-0.55f, 0.22f, -0.8f});
    float sunDot = dot(d, sun);
    float h = clamp01(elev / 0.6f);
    Float3 c = mix(rgb(252, 196, 140), rgb(70, 120, 200), std::pow(h, 0.55f));
    c = c + rgb(255, 180, 90) * (0.45f * std::pow(clamp01(sunDot), 8.0f));
    c = c + rgb(255, 240, 200) * (std::pow(clamp01(sunDot), 600.0f) * 2.0f);
    if (d.y > 0.01f) {
        // Clouds on a flat layer above, seen in perspective.
        Float3 p = {d.x / d.y * 1.6f, 0.0f, d.z / d.y * 1.6f};
        float n = fbm3({p.x, p.z, 0.3f}, 6, 301);
        float cover = clamp01((n - 0.52f) * 4.0f) * clamp01(d.y * 8.0f);
        float lit = 0.75f + 0.5f * clamp01(sunDot);
        Float3 cloud = mix(rgb(235, 190, 170), rgb(255, 245, 230), clamp01(n * 1.5f - 0.4f)) * lit;
        c = mix(c, cloud, cover * 0.9f);
    }
    float hill = hillElevation(az, 302);
    if (elev < hill) {
        float far = fbm3(d * 20.0f, 4, 303);
        Float3 ground = mix(rgb(70, 90, 80), rgb(120, 125, 110), far);
        float haze = clamp01(1.0f - (hill - elev) * 6.0f);
        c = mix(ground, rgb(200, 180, 160), haze * 0.7f);
    }
    return c;
}

Float3 dawnSky(Float3 d, float starHash) {
    float elev = std::asin(std::clamp(d.y, -1.0f, 1.0f));
    Float3 sun = unitV({-0.45f, -0.05f, -1.0f});
    float toward = clamp01(dot(unitV({d.x, 0, d.z}), unitV({sun.x, 0, sun.z})) * 0.5f + 0.5f);
    float h = clamp01(elev / 0.9f);
    Float3 horizon = mix(rgb(60, 50, 90), rgb(255, 140, 70), std::pow(toward, 3.0f));
    Float3 c = mix(horizon, rgb(8, 14, 45), std::pow(h, 0.45f));
    c = c + rgb(255, 200, 120) * (0.6f * std::pow(clamp01(dot(d, sun)), 30.0f));
    if (d.y > 0.0f) {
        float starAmount = clamp01((elev - 0.15f) * 3.0f) * (1.0f - 0.8f * std::pow(toward, 2));
        if (starHash > 0.9975f)
            c = c + Float3{1, 1, 1} * (starAmount * (starHash - 0.9975f) * 400.0f);
        // Thin streaks of cloud lit pink from the sun below the horizon.
        Float3 p = {d.x / (d.y + 0.05f), 0, d.z / (d.y + 0.05f)};
        float n = fbm3({p.x * 0.8f, p.z * 4.0f, 0.7f}, 5, 311);
        float cover = clamp01((n - 0.55f) * 3.0f) * clamp01(d.y * 6.0f);
        Float3 cloud = mix(rgb(70, 50, 90), rgb(255, 150, 140), std::pow(toward, 2.0f));
        c = mix(c, cloud, cover * 0.8f);
    } else {
        // Below the horizon only the harbour's own sea is seen, which reaches the box and
        // fades with distance into this haze: the sky at the horizon, sun glow included.
        Float3 level = unitV({d.x, 0, d.z});
        c = horizon + rgb(255, 200, 120) * (0.6f * std::pow(clamp01(dot(level, sun)), 30.0f));
    }
    return c;
}

} // namespace

Scene buildSkybox(bool dawn) {
    Scene s;
    for (int f = 0; f < 6; ++f) {
        std::string name = std::string(dawn ? "sky2" : "sky1") + kSkyFaceNames[f];
        s.materials.push_back({name, faceFile(dawn, f), {255, 255, 255}});
        MeshObject o = meshObject(name.c_str(), name.c_str());
        const Face& face = kFaces[f];
        int size = face.forward.y < 0 ? kBottomSize : kSideSize;
        float edge = float(kGutter) / size;
        // Counter-clockwise seen from inside; texture upright as seen from inside.
        addQuad(o, facePoint(face, 0, 0) * kHalf, facePoint(face, 1, 0) * kHalf,
                facePoint(face, 1, 1) * kHalf, facePoint(face, 0, 1) * kHalf, edge, edge, 1 - edge,
                1 - edge);
        s.objects.push_back(o);
    }
    return s;
}

bool writeSkyTextures(const std::string& outDir, bool dawn) {
    for (int f = 0; f < 6; ++f) {
        int size = kFaces[f].forward.y < 0 ? kBottomSize : kSideSize;
        Image img(size, size);
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i) {
                // Texel centres kGutter from the border lie half a texel off the face's edge.
                float span = float(size - 2 * kGutter);
                Float3 onBox =
                    facePoint(kFaces[f], (i + 0.5f - kGutter) / span, (j + 0.5f - kGutter) / span) *
                    kHalf;
                Float3 d = unitV(onBox - kEye);
                img.set(i, j, dawn ? dawnSky(d, texelHash(f, i, j)) : daySky(d));
            }
        Image flat(64, 64);
        for (int j = 0; j < 64; ++j)
            for (int i = 0; i < 64; ++i)
                flat.set(i, j, {0.5f, 0.5f, 1.0f});
        if (!writeTexture(outDir, faceFile(dawn, f), img, flat))
            return false;
    }
    return true;
}
