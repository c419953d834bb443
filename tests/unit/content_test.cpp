// The generated content as the demo reads it: faces and layout, textures as DevIL loads
// them, the port path framing the climax, and the music.
#include <IL/il.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "campath/campath.h"
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
    // Loaded as the demo loads them; the mean of a channel (0 red, 1 green, 2 blue) over
    // rows [from, to), as DevIL delivers them.
    size_t texels = 0;
    double sky[2][3] = {};
    for (const std::string& f : files) {
        ILuint image = ilGenImage();
        ilBindImage(image);
        ASSERT_TRUE(ilLoadImage((runDir() + "/textures/" + f).c_str()) &&
                    ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE))
            << f << " image not found";
        int w = ilGetInteger(IL_IMAGE_WIDTH), h = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* rgb = ilGetData();
        auto mean = [&](int channel, int from, int to) {
            double sum = 0;
            for (size_t i = size_t(from) * size_t(w); i < size_t(to) * size_t(w); i++)
                sum += rgb[i * 3 + size_t(channel)];
            return sum / (double(to - from) * w);
        };
        EXPECT_EQ(w, h) << f;
        EXPECT_EQ(w & (w - 1), 0) << f << " is not a power of two";
        texels += size_t(w) * size_t(h);
        // A normal map of a tangent-space height field points mostly along +z (blue).
        EXPECT_TRUE(f.rfind("normal_", 0) != 0 || mean(2, 0, h) > 200) << f;
        for (int c = 0; f == "sky1_pz.bmp" && c < 3; c++)
            sky[0][c] = mean(c, 0, 1), sky[1][c] = mean(c, h - 1, h);
        ilDeleteImage(image);
    }
    EXPECT_LT(texels, 30u * 1024 * 1024); // start-up mipmaps them all in software
    // Texture coordinate v = 0 is the first row DevIL delivers. The sky's sides are painted
    // upright (v = 1 at the top): the first row is greenish hills, the last blue sky.
    EXPECT_GT(sky[1][2], sky[1][0]);
    EXPECT_LT(sky[0][2], sky[1][2]);
    EXPECT_GT(sky[0][1], sky[0][2]);
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
    TiXmlDocument document;
    readCameraPath((runDir() + "/campath.xml").c_str(), path, document);
    ASSERT_TRUE(path.usable);
    resetPlayback();
    setFixedStep(60);
    startClock(demoClock);
    timeline.animationStart = float(show::kAnimationStart);
    timeline.liftHeight = timeline.tiltAngle = timeline.flyOffset = 0;
    frameTimer.frameFactor = 1.0f;
    Mat4 projection;
    perspective(projection, 40.0f, 16.0f / 9.0f, 1.0f, farPlane);
    pathParam = 0.01f; // the frame of the switch has stepped it
    int framed = 0;
    Vec3 secondAgo = {};
    for (int frame = 0; demoSeconds() < show::kAnimationStart + show::kSceneTwoEnd; frame++) {
        ASSERT_LT(path.nodeIndex, path.amount - 3) << "the path ends before the end fade";
        playbackStep(path);
        pathParam += 0.01f;
        advanceFixedStep();
        for (int i = 0; i < show::kSceneTwoObjectCount; i++)
            animationStep();
        if (demoSeconds() < show::kAnimationStart)
            continue;
        if (framed++ % 60 == 0) {
            Vec3 moved = pathEye - secondAgo;
            EXPECT_TRUE(framed == 1 || dot(moved, moved) > 1.0f) << "still at frame " << frame;
            secondAgo = pathEye;
        }
        Mat4 view, clip;
        lookAt(view, pathEye.x, pathEye.y, pathEye.z, pathLookAt.x, pathLookAt.y, pathLookAt.z, 0,
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
