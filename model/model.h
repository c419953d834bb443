// Models: a .3DS file read into objects and materials (model/reader3ds.h), prepared into
// drawable RenderItems (normals, tangents, textures) appended to the RenderList.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "math/vecmath.h"
#include "model/renderlist.h"

const int kNameSize = 255; // names hold at most 254 bytes and the terminator

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

// Write the translation or rotation of every item of the model: absolute, not added.
void setTranslation(Model& model, float x, float y, float z);
void setRotation(Model& model, float x, float y, float z);

// --- preparation ---
void prepareModel(Model& model);     // prepareMaterials, then prepareObjects
void prepareMaterials(Model& model); // texture loads; needs GL and DevIL
void prepareObjects(Model& model);   // normals, tangents, render items; pure
void computeNormals(ModelObject& object);
std::vector<float> computeTangents(const RenderItem& item);

// --- textures ---
// A new mipmapped texture from the image file, left bound; kept when the file cannot be
// read (said on stdout).
uint32_t loadTexture(const char* path, Model& model, uint32_t kept);
// The textures loaded from the file so far, and the names to forget (deleted).
std::vector<uint32_t> texturesOfFile(const std::string& path);
void forgetTextures(const std::vector<uint32_t>& names);
// Whether the decoder keeps each image after its upload, as at start-up; loads while the
// show runs (reloads) do not, or every reload would grow the process.
void keepDecodedImages(bool keep);

// --- reloading while the show runs ---
// The model read again from its file: its new items take the place of its old ones in
// the RenderList, keeping the old items' translation and rotation, and the old items are
// handed back in replaced (their GL names are the caller's to delete). Models whose items
// lie after this one's, in others, move with them. A file that cannot be read changes
// nothing: false, and error says why. New items have no GL buffers yet.
bool reloadModel(Model& model, const std::vector<Model*>& others, std::vector<RenderItem>& replaced,
                 std::string& error);
