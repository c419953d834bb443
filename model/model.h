// Models: a .3DS file read into objects and materials, prepared into drawable
// RenderItems (normals, tangents, textures) appended to the global RenderList.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "math/vecmath.h"

const int kNameSize = 255; // names hold at most 254 bytes and the terminator

// One chunk header being processed and how much of it has been consumed.
struct Chunk {
    uint16_t id;
    uint32_t length;    // whole chunk, header included
    uint32_t bytesRead; // consumed so far, header included
};

struct ModelMaterial {
    char name[kNameSize] = {};
    char fileName[kNameSize] = {}; // texture map 1 file name, empty without a texture
    uint8_t color[3] = {};         // diffuse colour
    uint32_t colorTexture = 0;     // GL names, set by preparation
    uint32_t bumpTexture = 0;
};

struct ModelFace {
    int32_t a, b, c;
};

struct TexCoord {
    float u, v;
};

struct ModelObject {
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    int32_t texCoordCount = 0;
    int32_t materialIndex = 0; // -1 when the material group named no known material
    uint8_t hasTexture = 0;
    char name[kNameSize] = {};
    std::vector<Vec3> vertices; // already y-up
    std::vector<Vec3> normals;  // unit, filled by preparation
    std::vector<TexCoord> texCoords;
    std::vector<ModelFace> faces;
};

// One drawable: the arrays uploaded to GL, the buffer and texture names, the transform.
struct RenderItem {
    std::vector<float> vertices;   // x, y, z, 1 per vertex
    std::vector<float> normals;    // 3 per vertex
    std::vector<float> texCoords;  // 2 per vertex
    std::vector<uint32_t> indices; // 3 per face
    std::vector<float> tangents;   // x, y, z, handedness per vertex
    uint32_t vertexBuffer = 0;
    uint32_t normalBuffer = 0;
    uint32_t indexBuffer = 0;
    uint32_t texCoordBuffer = 0;
    uint32_t tangentBuffer = 0;
    uint32_t colorTexture = 0; // unit 0
    uint32_t bumpTexture = 0;  // unit 1: normal map, or glow map for shaderKind 2
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    float translation[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0}; // degrees about x, y, z
    int32_t shaderKind = 0;        // 0 scene, 1 normal mapping, 2 neon, 3 flat
    int32_t passKind = 0;          // 1 first scene, 2 second scene
};

struct Model {
    uint32_t imageName = 0;         // DevIL image used while loading textures
    const char* fileName = nullptr; // not copied
    int32_t objectCount = 0;
    int32_t materialCount = 0;
    std::vector<ModelMaterial> materials;
    std::vector<ModelObject> objects;
    RenderItem itemTemplate;
    int32_t firstItem = 0;
    int32_t itemCount = 0;
    bool loaded = false; // false when the file could not be read
    std::string error;   // the reader's message when loaded is false

    Model() = default;
    // Reads and prepares the file; on failure sets loaded = false and error, adds no items.
    Model(const char* fileName, int shaderKind, int passKind);
};

// --- the 3DS reader ---
// Reads the chunk tree only (no GL). On failure returns false with model.error set;
// the model then holds nothing of the file.
bool readModelFile(Model& model, const char* fileName);
bool readModelData(Model& model, const uint8_t* data, size_t size, const char* fileName);
// Reads, then prepares (textures, normals, tangents, render items).
bool importFile(Model& model, const char* fileName);
// Where the reader's version warning goes; null means stdout. Tools that print their own
// output on stdout send it to stderr.
extern FILE* modelWarningStream;

// --- preparation ---
void prepareModel(Model& model);     // prepareMaterials, then prepareObjects
void prepareMaterials(Model& model); // texture loads; needs GL and DevIL
void prepareObjects(Model& model);   // normals, tangents, render items; pure
void computeNormals(ModelObject& object);
std::vector<float> computeTangents(const RenderItem& item);
void setTranslation(Model& model, float x, float y, float z);
void setRotation(Model& model, float x, float y, float z);

// --- the render list: append-only, addressed by index with a range check ---
extern std::vector<RenderItem> renderList;
int renderListSize();
RenderItem& renderItem(int index); // out of range is a programming error: reported, exit 1
void appendRenderItem(RenderItem item);

// --- textures ---
extern uint32_t colorTextureId; // names of the most recent colour and second-map loads
extern uint32_t bumpTextureId;
void loadTexture(const char* path, Model& model, uint32_t* textureName);
