// The demo's content generator: procedural meshes written as .3DS files, procedural
// textures written as BMP, camera paths written as XML and synthesized music encoded
// as MP3. Everything is seeded, so every run writes the same bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// ---- small vector math of our own (the generator does not link the demo) ----
struct Float3 {
    float x = 0, y = 0, z = 0;
};
inline Float3 float3(float x, float y, float z) {
    return Float3{x, y, z};
}
inline Float3 operator+(Float3 a, Float3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Float3 operator-(Float3 a, Float3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Float3 operator*(Float3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(Float3 a, Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Float3 crossV(Float3 a, Float3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float lengthV(Float3 a);
Float3 unitV(Float3 a);

// ---- deterministic random numbers ----
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next();
    float uniform();                 // [0, 1)
    float range(float lo, float hi); // [lo, hi)
};

// ---- meshes (world axes, y up) ----
struct MeshVertex {
    Float3 p;
    float u, v;
};
struct MeshObject {
    std::string name;
    std::string material;
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices; // 3 per face, counter-clockwise seen from outside
};
// An empty object of the given name and material, to be filled with geometry.
MeshObject meshObject(const char* name, const char* material);

struct MeshMaterial {
    std::string name;
    std::string texture; // file name under textures/
    uint8_t color[3];
};
struct Scene {
    std::vector<MeshMaterial> materials;
    std::vector<MeshObject> objects;
};

// Placement of a primitive: rotate by yaw degrees about y, then move to origin.
struct Place {
    Float3 origin;
    float yaw = 0;
};
Float3 placePoint(const Place& at, Float3 local);

// Primitives append to one object. uvScale: world units per texture repeat.
void addQuad(MeshObject& o, Float3 a, Float3 b, Float3 c, Float3 d, float u0, float v0, float u1,
             float v1);
void addQuadUv(MeshObject& o, const Float3 p[4], const float uv[8]); // counter-clockwise
void addQuadWorldUv(MeshObject& o, Float3 a, Float3 b, Float3 c, Float3 d, float uvScale);
void addBox(MeshObject& o, const Place& at, Float3 halfSize, float uvScale);
void addBoxInward(MeshObject& o, Float3 centre, Float3 halfSize); // u, v 0..1 per face
// Surface of revolution about the local y axis; profile as (radius, height) pairs from
// bottom to top; smooth shares rings between profile segments.
struct ProfilePoint {
    float r, y;
};
void addLathe(MeshObject& o, const Place& at, const std::vector<ProfilePoint>& profile,
              int segments, float uRepeat, float vScale, bool smooth);
void addCylinder(MeshObject& o, const Place& at, float radius, float y0, float y1, int segments,
                 float uRepeat, float vScale, bool caps);
void addDisc(MeshObject& o, const Place& at, float radius, float y, int segments, bool up);
void addTorus(MeshObject& o, const Place& at, float major, float minor, int segU, int segV);
void addTube(MeshObject& o, const std::vector<Float3>& centre, float radius, int segments,
             float vScale); // swept circle along a closed curve

// Checks the rules the reader relies on: face count and vertex count limits, no
// degenerate triangles, no degenerate texture mapping. Prints and returns false on error.
bool validateScene(const Scene& scene, const std::string& label);

// ---- 3DS writing ----
std::vector<uint8_t> encode3ds(const Scene& scene);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// ---- images ----
struct Image {
    int width = 0, height = 0;
    std::vector<float> rgb; // 3 floats per texel, row j is texture coordinate v = j / height
    Image() = default;
    Image(int w, int h) : width(w), height(h), rgb(size_t(w) * h * 3, 0.0f) {}
    float* at(int i, int j) { return &rgb[(size_t(j) * width + i) * 3]; }
    void set(int i, int j, Float3 c) {
        float* p = at(i, j);
        p[0] = c.x, p[1] = c.y, p[2] = c.z;
    }
};
// Texel (i, j) is stored in the BMP row j counted from the first stored row, so an image
// loader that hands rows over as stored gives texture coordinate v = j / height.
std::vector<uint8_t> encodeBmp(const Image& image);
std::vector<uint8_t> encodeBmpRaw(int width, int height, const std::vector<uint8_t>& rgb);

// Noise on a periodic lattice (period in cells) so textures tile.
float valueNoise2(float x, float y, int period, uint32_t seed);
float fbm2(float x, float y, int period, int octaves, uint32_t seed);
float valueNoise3(Float3 p, uint32_t seed);
float fbm3(Float3 p, int octaves, uint32_t seed);
// Tangent-space normal map from a tiling height field (w*h values, same layout as Image).
Image normalMapFromHeight(const std::vector<float>& height, int w, int h, float strength);

// ---- the generator's parts, each writes into outDir ----
struct TextureJob {
    std::string file; // e.g. "brick.bmp"
};
Scene buildRoom();
Scene buildSkybox(bool dawn);
Scene buildPort();
Scene buildPlatform();
Scene buildUfo();
const char* const kSkyFaceNames[6] = {"px", "nx", "py", "ny", "pz", "nz"};

// Writes textures/F and textures/normal_F for the named material texture.
std::vector<std::string> materialTextureFiles();
bool writeMaterialTexture(const std::string& outDir, const std::string& file);
bool writeSkyTextures(const std::string& outDir, bool dawn);
bool writeFixedTextures(const std::string& outDir); // base.bmp, glow.bmp

bool writeCameraPaths(const std::string& outDir);

struct MusicPiece {
    std::string file;
    double seconds;
};
bool writeMusic(const std::string& outDir, bool level2);
std::vector<float> synthesizeMusic(bool level2, int sampleRate); // interleaved stereo
bool encodeMp3(const std::string& path, const std::vector<float>& stereo, int sampleRate);
