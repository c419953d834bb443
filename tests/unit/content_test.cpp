// The generated content as the demo reads it: faces and layout, textures as DevIL loads
// them, the port path framing the climax, and the music.
#include <IL/il.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "campath/campath.h"
#include "campath/format.h"
#include "files.h"
#include "math/vecmath.h"
#include "model/model.h"
#include "model/reader3ds.h"
#include "platform/platform.h"
#include "show/timeline.h"
#include "show/timer.h"
#include "show/show.h"

namespace {

std::string runDir() {
    return envFolder("KESTRUNE_RUN_DIR");
}

struct Bounds {
    Vec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    void add(Vec3 p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
};

Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A model as the demo reads it, with the demo's vertex normals.
struct Scene {
    std::vector<Model> models;
    explicit Scene(std::initializer_list<const char*> files) {
        for (const char* file : files) {
            models.emplace_back();
            EXPECT_TRUE(readModelFile(models.back(), (runDir() + "/" + file).c_str()))
                << models.back().error;
            for (ModelObject& o : models.back().objects)
                computeNormals(o);
        }
    }
    const ModelObject* find(const char* name) const {
        for (const Model& m : models)
            for (const ModelObject& o : m.objects)
                if (name == std::string(o.name))
                    return &o;
        ADD_FAILURE() << "no object " << name;
        return nullptr;
    }
    Bounds bounds(const char* name = nullptr) const {
        Bounds b;
        for (const Model& m : models)
            for (const ModelObject& o : m.objects)
                for (size_t i = 0; (!name || name == std::string(o.name)) && i < o.vertices.size();
                     i++)
                    b.add(o.vertices[i]);
        return b;
    }
};

// A colour map as DevIL delivers it (row 0 is v = 0), sampled as the GL samples it with
// linear filtering and the default (repeating) wrap. Channels 0 to 1.
struct Texture {
    int w = 0, h = 0;
    std::vector<float> rgb;
    explicit Texture(const std::string& file) {
        ILuint image = ilGenImage();
        ilBindImage(image);
        EXPECT_TRUE(ilLoadImage((runDir() + "/textures/" + file).c_str()) &&
                    ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE))
            << file << " image not found";
        w = ilGetInteger(IL_IMAGE_WIDTH), h = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        rgb.assign(data, data + size_t(w) * size_t(h) * 3 * (data != nullptr));
        for (float& c : rgb)
            c /= 255.0f;
        ilDeleteImage(image);
    }
    Texture() = default;
    // The next mip level: each texel the mean of four.
    Texture halved() const {
        Texture t;
        t.w = w / 2, t.h = h / 2;
        t.rgb.resize(size_t(t.w) * size_t(t.h) * 3);
        for (int j = 0; j < t.h; j++)
            for (int i = 0; i < t.w; i++)
                for (int c = 0; c < 3; c++)
                    t.rgb[(size_t(j) * t.w + i) * 3 + c] =
                        (at(2 * i, 2 * j, c) + at(2 * i + 1, 2 * j, c) + at(2 * i, 2 * j + 1, c) +
                         at(2 * i + 1, 2 * j + 1, c)) /
                        4;
        return t;
    }
    float at(int i, int j, int c) const {
        i = ((i % w) + w) % w, j = ((j % h) + h) % h;
        return rgb[(size_t(j) * w + i) * 3 + c];
    }
    Vec3 linear(float u, float v) const {
        float x = u * w - 0.5f, y = v * h - 0.5f;
        int i = int(std::floor(x)), j = int(std::floor(y));
        float fx = x - i, fy = y - j;
        float out[3];
        for (int c = 0; c < 3; c++)
            out[c] = (at(i, j, c) * (1 - fx) + at(i + 1, j, c) * fx) * (1 - fy) +
                     (at(i, j + 1, c) * (1 - fx) + at(i + 1, j + 1, c) * fx) * fy;
        return {out[0], out[1], out[2]};
    }
    Vec3 nearest(float u, float v) const {
        int i = int(std::floor(u * w)), j = int(std::floor(v * h));
        return {at(i, j, 0), at(i, j, 1), at(i, j, 2)};
    }
};

float channelGap(Vec3 a, Vec3 b) {
    return std::max({std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)});
}

class Content : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!getenv("KESTRUNE_RUN_DIR"))
            GTEST_SKIP() << "KESTRUNE_RUN_DIR is not set; run through ctest";
        if (!std::ifstream(runDir() + "/content-manifest.txt"))
            FAIL() << "no content-manifest.txt in " << runDir() << " (build the content target)";
        ilInit();
    }
};

} // namespace

// As the demo lights them: floor, water and landing pad face up, the ceiling down, and
// closed bodies have outward normals.
TEST_F(Content, NormalsPointWhereIntended) {
    Scene scene({"models/room.3ds", "models/port.3ds", "models/platform.3ds", "models/ufo.3ds"});
    for (auto [name, up] :
         {std::pair{"Floor", 1.0f}, {"Ceiling", -1.0f}, {"Water", 1.0f}, {"PadTop", 1.0f}}) {
        const ModelObject* o = scene.find(name);
        for (size_t i = 0; o && i < o->normals.size(); i++)
            ASSERT_GT(o->normals[i].y * up, 0.9f) << name;
    }
    for (const char* name : {"Quay", "Knot", "ContRed", "UfoRim", "UfoDome"}) {
        const ModelObject* o = scene.find(name);
        Bounds b = scene.bounds(name);
        Vec3 centre = {(b.lo.x + b.hi.x) / 2, (b.lo.y + b.hi.y) / 2, (b.lo.z + b.hi.z) / 2};
        float outward = 0;
        for (size_t i = 0; o && i < o->normals.size(); i++)
            outward += dot(o->normals[i], o->vertices[i] - centre);
        EXPECT_GT(outward, 0.0f) << name;
    }
}

TEST_F(Content, LayoutFitsTheUserCameraAndTheFarPlane) {
    // The user camera starts at (0, 0, 6): inside the walls, between floor and ceiling, and
    // the near plane's distance (1) from every face's box, which is no farther than the face.
    Scene room({"models/room.3ds"});
    Bounds walls = room.bounds("Walls");
    EXPECT_TRUE(walls.lo.x < 0 && 0 < walls.hi.x && walls.lo.z < 6 && 6 < walls.hi.z);
    EXPECT_TRUE(room.bounds("Floor").hi.y < 0 && 0 < room.bounds("Ceiling").lo.y);
    for (const ModelObject& o : room.models[0].objects)
        for (const ModelFace& f : o.faces) {
            Bounds b;
            for (int v : {f.a, f.b, f.c})
                b.add(o.vertices[size_t(v)]);
            ASSERT_GE(std::max({b.lo.x, -b.hi.x, b.lo.y, -b.hi.y, b.lo.z - 6, 6 - b.hi.z}), 1.0f)
                << o.name;
        }
    // Sky boxes, centred on their origin below the eye: every corner inside the far plane.
    for (const char* sky : {"models/skybox.3ds", "models/skybox2.3ds"}) {
        Bounds b = Scene({sky}).bounds();
        EXPECT_NEAR(b.lo.x + b.hi.x, 0.0, 1e-3);
        EXPECT_NEAR(b.lo.y + b.hi.y, 0.0, 1e-3);
        Vec3 corner = {b.hi.x, b.hi.y + show::kSkyboxDrop, b.hi.z};
        EXPECT_LT(std::sqrt(dot(corner, corner)), farPlane * 0.85f) << sky;
        EXPECT_GT(b.hi.x, 200.0f) << sky << " should be far beyond the scene";
    }
    // The UFO stands on the platform's pad, both centred on the origin.
    Bounds pad = Scene({"models/platform.3ds"}).bounds("PadTop");
    Bounds ufo = Scene({"models/ufo.3ds"}).bounds();
    EXPECT_NEAR(ufo.lo.y, pad.hi.y, 1e-3);
    EXPECT_NEAR(ufo.lo.x + ufo.hi.x, 0.0, 0.5);
    EXPECT_LT(ufo.hi.x, pad.hi.x);
}

TEST_F(Content, EveryMaterialHasTexturesThatLoadTheRightWayUp) {
    std::set<std::string> files = {"base.bmp", "glow.bmp"};
    for (const char* file : {"skybox", "skybox2", "port", "ufo", "platform", "room"}) {
        Model m;
        ASSERT_TRUE(readModelFile(m, (runDir() + "/models/" + file + ".3ds").c_str()));
        for (const ModelMaterial& mat : m.materials) {
            ASSERT_NE(mat.fileName[0], 0) << file << " material " << mat.name;
            files.insert({mat.fileName, "normal_" + std::string(mat.fileName)});
        }
    }
    files.insert("sky1_pz.bmp");
    size_t texels = 0;
    double sky[2][3] = {};
    for (const std::string& f : files) {
        Texture t(f);
        auto mean = [&](int c, int from, int to) { // of channel c over rows [from, to)
            double sum = 0;
            for (int j = from; j < to; j++)
                for (int i = 0; i < t.w; i++)
                    sum += t.at(i, j, c);
            return sum / (double(to - from) * t.w);
        };
        EXPECT_EQ(t.w, t.h) << f;
        EXPECT_EQ(t.w & (t.w - 1), 0) << f << " is not a power of two";
        texels += size_t(t.w) * size_t(t.h);
        // A normal map of a tangent-space height field points mostly along +z (blue).
        EXPECT_TRUE(f.rfind("normal_", 0) != 0 || mean(2, 0, t.h) > 200 / 255.0) << f;
        for (int c = 0; f == "sky1_pz.bmp" && c < 3; c++)
            sky[0][c] = mean(c, 0, 1), sky[1][c] = mean(c, t.h - 1, t.h);
    }
    EXPECT_LT(texels, 30u * 1024 * 1024); // start-up mipmaps them all in software
    // Texture coordinate v = 0 is the first row DevIL delivers. The sky's sides are painted
    // upright (v = 1 at the top): the first row is greenish hills, the last blue sky.
    EXPECT_GT(sky[1][2], sky[1][0]);
    EXPECT_LT(sky[0][2], sky[1][2]);
    EXPECT_GT(sky[0][1], sky[0][2]);
}

// Where two faces of a sky box meet, both show the same sky: sampled along the shared
// edge as the GL samples it (repeating wrap, at full size and two mip levels down, as in
// a small window), the two faces agree. A line along an edge, a column or row that steps
// against its neighbours, shows as a disagreement along most of the edge; a star beside
// an edge only at a point.
TEST_F(Content, SkyFacesMeetWithoutALine) {
    for (const char* sky : {"skybox", "skybox2"}) {
        Model m;
        ASSERT_TRUE(readModelFile(m, (runDir() + "/models/" + sky + ".3ds").c_str()));
        ASSERT_EQ(m.objects.size(), 6u) << sky;
        std::vector<Texture> levels[6];
        for (size_t f = 0; f < 6; f++) {
            levels[f].emplace_back(m.materials[size_t(m.objects[f].materialIndex)].fileName);
            levels[f].push_back(levels[f][0].halved());
            levels[f].push_back(levels[f][1].halved());
        }
        auto same = [](Vec3 a, Vec3 b) { return channelGap(a, b) < 1e-3f; };
        int edges = 0;
        for (size_t a = 0; a < 6; a++)
            for (size_t b = a + 1; b < 6; b++) {
                const ModelObject &A = m.objects[a], &B = m.objects[b];
                // The vertices of A that B has too, with their places in both.
                std::vector<std::pair<size_t, size_t>> shared;
                for (size_t i = 0; i < A.vertices.size(); i++)
                    for (size_t j = 0; j < B.vertices.size(); j++)
                        if (same(A.vertices[i], B.vertices[j]))
                            shared.push_back({i, j});
                if (shared.size() < 2)
                    continue;
                ASSERT_EQ(shared.size(), 2u) << sky << ": faces " << a << " and " << b;
                edges++;
                for (size_t level = 0; level < 3; level++) {
                    const int samples = 200;
                    int apart = 0;
                    for (int k = 0; k < samples; k++) {
                        float t = (k + 0.5f) / samples;
                        auto uv = [&](const ModelObject& o, size_t p, size_t q) {
                            const TexCoord &s0 = o.texCoords[p], &s1 = o.texCoords[q];
                            return TexCoord{s0.u + (s1.u - s0.u) * t, s0.v + (s1.v - s0.v) * t};
                        };
                        TexCoord ua = uv(A, shared[0].first, shared[1].first);
                        TexCoord ub = uv(B, shared[0].second, shared[1].second);
                        apart += channelGap(levels[a][level].linear(ua.u, ua.v),
                                            levels[b][level].linear(ub.u, ub.v)) > 4.0f / 255;
                    }
                    EXPECT_LT(apart, samples / 10)
                        << sky << ": a line where faces " << A.name << " and " << B.name
                        << " meet, at mip level " << level;
                }
            }
        EXPECT_EQ(edges, 12) << sky << ": the faces do not close into a box";
    }
}

// The harbour has one horizon: its sea reaches the sky box's walls from everywhere the
// camera goes, and below the horizon the sky box is painted as the haze at the horizon,
// into which the sea fades (normalmapping.fs), not as a second, other sea.
TEST_F(Content, SeaMeetsTheSkyAtOneHorizon) {
    Scene sky({"models/skybox2.3ds"});
    Bounds box = sky.bounds();
    float farthestWall = std::hypot(box.hi.x, box.hi.z);
    PathFile path = readPathFile((runDir() + "/campath.xml").c_str());
    ASSERT_TRUE(path.loaded);
    float reach = 0; // of the eye from the origin
    Vec3 last = {};
    for (const ReadNode& node : path.nodes) {
        Vec3 eye = keepLastValue(node.pos, last);
        reach = std::max(reach, std::hypot(eye.x, eye.z));
    }
    ASSERT_GT(reach, 0.0f) << "no positions in campath.xml";
    Bounds water = Scene({"models/port.3ds"}).bounds("Water");
    for (float edge : {-water.lo.x, water.hi.x, -water.lo.z, water.hi.z})
        EXPECT_GT(edge, reach + farthestWall) << "the sea ends short of the sky box";

    // The side faces: the horizon lies kSkyboxDrop above the box's centre. Compare the
    // sky at it with what lies 1 and 10 degrees below, along each face.
    const Model& m = sky.models[0];
    int sides = 0;
    for (const ModelObject& o : m.objects) {
        Bounds b;
        for (const Vec3& v : o.vertices)
            b.add(v);
        if (b.hi.y - b.lo.y < 1.0f)
            continue; // top or bottom
        sides++;
        Texture t(m.materials[size_t(o.materialIndex)].fileName);
        // v along the face's height, from the vertices at its bottom and top.
        float vLow = 0, vHigh = 0, uLeft = 1e30f, uRight = -1e30f;
        for (size_t i = 0; i < o.vertices.size(); i++) {
            (o.vertices[i].y < 0 ? vLow : vHigh) = o.texCoords[i].v;
            uLeft = std::min(uLeft, o.texCoords[i].u), uRight = std::max(uRight, o.texCoords[i].u);
        }
        auto vAt = [&](float degrees) {
            float y = show::kSkyboxDrop + box.hi.x * std::tan(degrees * 3.14159265f / 180);
            return vLow + (vHigh - vLow) * (y - b.lo.y) / (b.hi.y - b.lo.y);
        };
        int apart = 0;
        const int samples = 100;
        for (int k = 0; k < samples; k++) {
            float u = uLeft + (uRight - uLeft) * (k + 0.5f) / samples;
            Vec3 horizon = t.linear(u, vAt(0));
            apart += channelGap(t.linear(u, vAt(-1)), horizon) > 0.06f ||
                     channelGap(t.linear(u, vAt(-10)), horizon) > 0.06f;
        }
        EXPECT_LT(apart, samples / 20) << o.name << ": below the horizon is not its haze";
    }
    EXPECT_EQ(sides, 4);
}

// The boats' cabins show their windows on their walls only: no face of a cabin's top, its
// roof or its mast samples a window of the cabin texture (lit or dark).
TEST_F(Content, BoatRoofsAndMastsShowNoWindows) {
    Scene port({"models/port.3ds"});
    Texture cabin("cabin.tga");
    const float eaves = -1.5f + 3.8f; // the walls' top: the sea's level plus their height
    int plain = 0;
    for (const char* name : {"Boat1Cabin", "Boat2Cabin", "Boat3Cabin"}) {
        const ModelObject* o = port.find(name);
        for (size_t f = 0; o && f < o->faces.size(); f++) {
            const ModelFace& face = o->faces[f];
            size_t c[3] = {size_t(face.a), size_t(face.b), size_t(face.c)};
            Bounds b;
            for (size_t i : c)
                b.add(o->vertices[i]);
            bool wall = b.hi.y < eaves + 1e-3f && b.hi.y - b.lo.y > 1e-3f;
            if (wall)
                continue;
            plain++;
            // A grid of points across the triangle.
            for (int i = 0; i <= 8; i++)
                for (int j = 0; i + j <= 8; j++) {
                    float wa = i / 8.0f, wb = j / 8.0f, wc = 1 - wa - wb;
                    const TexCoord &ta = o->texCoords[c[0]], &tb = o->texCoords[c[1]],
                                   &tc = o->texCoords[c[2]];
                    Vec3 colour = cabin.nearest(ta.u * wa + tb.u * wb + tc.u * wc,
                                                ta.v * wa + tb.v * wb + tc.v * wc);
                    // The cabin's paint is a pale grey; lit windows are warm, dark ones dark.
                    float lo = std::min({colour.x, colour.y, colour.z});
                    float hi = std::max({colour.x, colour.y, colour.z});
                    ASSERT_TRUE(lo > 0.55f && hi - lo < 0.12f)
                        << name << " face " << f << " (y " << b.lo.y << " to " << b.hi.y
                        << ") shows a window";
                }
        }
    }
    EXPECT_GT(plain, 3 * 40) << "no roofs and masts found";
}

// The harbour's normal maps say in their alpha how the dusk scene lights each surface
// (normalmapping.fs): the lamps, the lantern and the windows have light of their own, the
// rest is lit by the lamps, and the water mirrors the sky through ripples.
TEST_F(Content, HarbourLampsGlowAndItsWaterRipples) {
    for (auto [file, glows, water] : {std::tuple{"lamphead.tga", true, false},
                                      {"lantern.tga", true, false},
                                      {"warehse.tga", true, false},
                                      {"concrete.tga", false, false},
                                      {"water.tga", false, true}}) {
        ILuint image = ilGenImage();
        ilBindImage(image);
        ASSERT_TRUE(ilLoadImage((runDir() + "/textures/normal_" + file).c_str()) &&
                    ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE))
            << file;
        size_t texels = size_t(ilGetInteger(IL_IMAGE_WIDTH)) * ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* rgba = ilGetData();
        int lowest = 255, highest = 0;
        double sum = 0, squares = 0; // of the normals' x
        for (size_t i = 0; i < texels; i++) {
            lowest = std::min<int>(lowest, rgba[i * 4 + 3]);
            highest = std::max<int>(highest, rgba[i * 4 + 3]);
            sum += rgba[i * 4], squares += double(rgba[i * 4]) * rgba[i * 4];
        }
        ilDeleteImage(image);
        if (water) {
            EXPECT_LT(highest, 0.15 * 255) << file << " is not lit as water";
            double mean = sum / double(texels);
            EXPECT_GT(std::sqrt(squares / double(texels) - mean * mean), 10.0)
                << file << " is flat";
        } else {
            EXPECT_TRUE(lowest >= 0.5 * 255 && highest <= 0.85 * 255 + 1)
                << file << " is not lit at dusk";
            EXPECT_EQ(lowest < 0.6 * 255, glows) << file;
        }
    }
}

// From the animation's start to the end fade the camera moves and keeps the UFO, moved by
// the demo's own animation, inside the middle 80% of the picture and at least a tenth of
// its width; the platform too until the UFO flies off. Each model is taken as the drum
// round the y axis that holds it, which it spins and tilts about. The path plays as in
// the demo, one frame at a time.
TEST_F(Content, PortPathFramesTheClimax) {
    struct Drum {
        float radius = 0, low = 1e30f, high = -1e30f;
    };
    auto drum = [](const Scene& scene) {
        Drum d;
        for (const ModelObject& o : scene.models[0].objects)
            for (const Vec3& v : o.vertices) {
                d.radius = std::max(d.radius, std::hypot(v.x, v.z));
                d.low = std::min(d.low, v.y);
                d.high = std::max(d.high, v.y);
            }
        return d;
    };
    const Drum ufo = drum(Scene({"models/ufo.3ds"})), pad = drum(Scene({"models/platform.3ds"}));
    CameraPath path = {};
    readCameraPath((runDir() + "/campath.xml").c_str(), path);
    ASSERT_TRUE(path.usable);
    resetPlayback();
    setFixedStep(60);
    startClock(demoClock);
    timeline.animationStart = float(show::kAnimationStart);
    timeline.liftHeight = timeline.tiltAngle = timeline.flyOffset = 0;
    frameTimer.frameFactor = 1.0f;
    Mat4 projection;
    perspective(projection, 40.0f, 16.0f / 9.0f, 1.0f, farPlane);
    pathPlayback.pathParam = 0.01f; // the frame of the switch has stepped it
    int framed = 0;
    Vec3 secondAgo = {};
    for (int frame = 0; demoSeconds() < show::kAnimationStart + show::kSceneTwoEnd; frame++) {
        ASSERT_LT(path.nodeIndex, path.amount - 3) << "the path ends before the end fade";
        playbackStep(path);
        pathPlayback.pathParam += 0.01f;
        advanceFixedStep();
        for (int i = 0; i < show::kSceneTwoObjectCount; i++)
            animationStep();
        if (demoSeconds() < show::kAnimationStart)
            continue;
        if (framed++ % 60 == 0) {
            Vec3 moved = pathPlayback.pathEye - secondAgo;
            EXPECT_TRUE(framed == 1 || dot(moved, moved) > 1.0f) << "still at frame " << frame;
            secondAgo = pathPlayback.pathEye;
        }
        Mat4 view, clip;
        lookAt(view, pathPlayback.pathEye.x, pathPlayback.pathEye.y, pathPlayback.pathEye.z,
               pathPlayback.pathLookAt.x, pathPlayback.pathLookAt.y, pathPlayback.pathLookAt.z, 0,
               1, 0);
        multiplyMatrix(clip, projection, view);
        const bool flown = demoSeconds() > show::kAnimationStart + show::kPhaseThree;
        for (const Drum* d : {&ufo, &pad}) {
            if (d == &pad && flown)
                break; // the UFO has left it
            // The UFO tilts about z through the origin, then moves; the platform only rises.
            float a = d == &ufo ? timeline.tiltAngle * 3.1415927f / 180.0f : 0.0f;
            float dx = d == &ufo ? timeline.flyOffset : 0.0f, dy = dx + timeline.liftHeight;
            float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
            for (int k = 0; k < 32; k++) {
                float x = d->radius * std::cos(k * 0.3927f), y = k % 2 ? d->low : d->high;
                float p[3] = {x * std::cos(a) - y * std::sin(a) + dx,
                              x * std::sin(a) + y * std::cos(a) + dy,
                              d->radius * std::sin(k * 0.3927f)};
                float c[4];
                for (int r = 0; r < 4; r++)
                    c[r] = clip[r] * p[0] + clip[4 + r] * p[1] + clip[8 + r] * p[2] + clip[12 + r];
                ASSERT_GT(c[3], 1.0f) << "frame " << frame;
                for (int axis = 0; axis < 2; axis++) {
                    lo[axis] = std::min(lo[axis], c[axis] / c[3]);
                    hi[axis] = std::max(hi[axis], c[axis] / c[3]);
                }
            }
            const char* what = d == &ufo ? "UFO" : "platform";
            EXPECT_TRUE(lo[0] > -0.8f && hi[0] < 0.8f && lo[1] > -0.8f && hi[1] < 0.8f)
                << what << " at frame " << frame << ": x " << lo[0] << " to " << hi[0] << ", y "
                << lo[1] << " to " << hi[1];
            EXPECT_GT(hi[0] - lo[0], 0.2f) << what << " too small at frame " << frame;
        }
    }
    setFixedStep(0);
    EXPECT_GT(timeline.flyOffset, 50.0f); // it did fly off
    EXPECT_GT(framed, 60 * 15);
}

namespace {

// Decodes with ffmpeg to 44.1 kHz stereo 16-bit samples.
std::vector<int16_t> decode(const std::string& file) {
    std::string bytes =
        commandOutput("ffmpeg -v error -i '" + file + "' -f s16le -ac 2 -ar 44100 - 2>/dev/null");
    std::vector<int16_t> pcm(bytes.size() / 2);
    memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

double rms(const std::vector<int16_t>& pcm, double from, double to) {
    size_t a = size_t(from * 44100) * 2, b = std::min(pcm.size(), size_t(to * 44100) * 2);
    double sum = 0;
    for (size_t k = a; k < b; ++k)
        sum += double(pcm[k]) * pcm[k];
    return b > a ? std::sqrt(sum / double(b - a)) / 32768.0 : 0.0;
}

} // namespace

// Long enough for its scene, never silent, and louder at the sync point (scene 1's
// build-up to the fade, the scene-2 animation's start) than in a quieter stretch before.
TEST_F(Content, MusicLastsItsSceneAndRisesAtTheSyncPoint) {
    for (auto [file, end, loudFrom, loudTo, quietFrom, quietTo] :
         {std::tuple{show::kLevelOneMusicFile, show::kSceneOneEnd + 2, 105.0, 115.0, 62.0, 78.0},
          {show::kLevelTwoMusicFile, show::kAnimationStart + show::kSceneTwoEnd + 4, 47.2, 55.0,
           35.0, 43.0}}) {
        std::vector<int16_t> pcm = decode(runDir() + "/" + file);
        ASSERT_GE(pcm.size() / 2 / 44100.0, end) << file << " too short or not decodable";
        for (double t = 0; t + 10 < end; t += 10)
            EXPECT_GT(rms(pcm, t, t + 10), 0.01) << file << " silent around " << t << " s";
        EXPECT_GT(rms(pcm, loudFrom, loudTo), 1.3 * rms(pcm, quietFrom, quietTo)) << file;
    }
}
