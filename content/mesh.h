// Meshes in world axes (y up) and the primitives that build them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/vecmath.h"

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
// Prism from an outline counter-clockwise seen from above; the bottom outline is scaled
// towards the centre (a hull's taper). Sides and a top cap, no bottom.
struct XZ {
    float x, z;
};
void addPrism(MeshObject& o, const Place& at, const std::vector<XZ>& outline, float y0, float y1,
              float bottomScale, float uvScale);

// Checks the rules the reader relies on: face count and vertex count limits, no
// degenerate triangles, no degenerate texture mapping. Prints and returns false on error.
bool validateScene(const Scene& scene, const std::string& label);
