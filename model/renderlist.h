// The RenderList: one RenderItem per object of every model, in load order. Model
// preparation appends; shader set-up uploads; the frame draws. Append-only, addressed by
// index with a range check: its users keep indices, never element addresses.
#pragma once
#include <cstdint>
#include <vector>

// The program an item is drawn with (render/draw.cpp picks it).
enum ShaderKind : int32_t {
    kSceneShader = 0,         // "shader/Vertex.vs", "shader/Fragment.fs"
    kNormalMappingShader = 1, // colour map and normal map
    kNeonShader = 2,          // always the fixed base and glow maps
    kFlatShader = 3,          // the sky boxes
};

// The scene in which an item is drawn.
enum PassKind : int32_t {
    kSceneOnePass = 1,
    kSceneTwoPass = 2, // from the switch on
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
    uint32_t bumpTexture = 0;  // unit 1: normal map, or glow map for kNeonShader
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    float translation[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0}; // degrees about x, y, z
    int32_t shaderKind = 0;        // a ShaderKind; any other value draws with the last program
    int32_t passKind = 0;          // a PassKind
};

int renderListSize();
RenderItem& renderItem(int index); // out of range is a programming error: reported, exit 1
void appendRenderItem(RenderItem item);
// Empties the list. The demo never does; benchmarks that prepare the same model again and
// again do.
void resetRenderList();
// A model read again while the show runs: the items from index from to the end (just
// appended) take the place of the count items at first; those are handed back. Items
// after first move by the difference in number.
std::vector<RenderItem> replaceRenderItems(int first, int count, int from);
