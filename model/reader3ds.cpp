// The .3DS chunk reader: triangle meshes, their first texture map and material names.
// The whole file is read into memory and every read is checked against the end of the
// chunk it belongs to, so a truncated or corrupt file ends in a clean failure.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/reader3ds.h"

FILE* modelWarningStream = nullptr;

namespace {

// Re-entered mesh and map chunks may nest; a real file never goes this deep.
const int kMaxDepth = 32;

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos; // next byte to read
    Model& model;
    std::string fault; // reason of the first failure; empty while the file is sound
    int depth = 0;

    bool fail(const char* reason) {
        if (fault.empty())
            fault = reason;
        return false;
    }
    // Bytes left before `end` (the end of the chunk being read).
    size_t left(size_t end) const { return end > pos ? end - pos : 0; }
    uint16_t u16() {
        uint16_t v = uint16_t(data[pos] | data[pos + 1] << 8);
        pos += 2;
        return v;
    }
    uint32_t u32() {
        uint32_t v = uint32_t(data[pos]) | uint32_t(data[pos + 1]) << 8 |
                     uint32_t(data[pos + 2]) << 16 | uint32_t(data[pos + 3]) << 24;
        pos += 4;
        return v;
    }
    float f32() {
        uint32_t bits = u32();
        float f;
        memcpy(&f, &bits, 4);
        return f;
    }
};

// A chunk being processed: where it starts and ends in the file.
struct Span {
    uint16_t id;
    size_t start; // first byte of the header
    size_t end;   // one past the last byte
};

// Reads the header of the next chunk, which must lie inside its parent.
bool readHeader(Reader& r, size_t parentEnd, Span& chunk) {
    if (r.left(parentEnd) < 6)
        return r.fail("chunk header cut short");
    chunk.start = r.pos;
    chunk.id = r.u16();
    uint32_t length = r.u32();
    if (length < 6)
        return r.fail("chunk length smaller than its header");
    if (length > parentEnd - chunk.start)
        return r.fail(chunk.start + length > r.size ? "file cut short"
                                                    : "chunk longer than its parent");
    chunk.end = chunk.start + length;
    return true;
}

// Reads one zero-terminated string inside the chunk; keeps at most 254 bytes of it.
bool readString(Reader& r, size_t end, char* out) {
    size_t n = 0;
    while (r.pos < end) {
        uint8_t c = r.data[r.pos++];
        if (c == 0) {
            out[n < size_t(kNameSize - 1) ? n : kNameSize - 1] = 0;
            return true;
        }
        if (n < size_t(kNameSize - 1))
            out[n] = char(c);
        n++;
    }
    out[0] = 0;
    return r.fail("string without its end");
}

// Copies the chunk's remaining data as one name (kept up to 254 bytes) and consumes it.
void readWholeName(Reader& r, size_t end, char* out) {
    size_t n = r.left(end);
    size_t keep = n < size_t(kNameSize - 1) ? n : kNameSize - 1;
    memcpy(out, r.data + r.pos, keep);
    out[keep] = 0;
    r.pos = end;
}

bool readVertices(Reader& r, const Span& chunk, ModelObject& object) {
    if (r.left(chunk.end) < 2)
        return r.fail("vertex list without its count");
    size_t count = r.u16();
    if (r.left(chunk.end) / 12 < count)
        return r.fail("vertex count larger than its chunk");
    object.vertexCount = int32_t(count);
    object.vertices.resize(count);
    for (Vec3& v : object.vertices) {
        float x = r.f32(), y = r.f32(), z = r.f32();
        v = {x, z, -y}; // the file is z-up, the world is y-up
    }
    r.pos = chunk.end;
    return true;
}

// Consumes only the face data: the material and smoothing groups after it are met by the
// enclosing mesh loop as if they were siblings.
bool readFaces(Reader& r, const Span& chunk, ModelObject& object) {
    if (r.left(chunk.end) < 2)
        return r.fail("face list without its count");
    size_t count = r.u16();
    if (r.left(chunk.end) / 8 < count)
        return r.fail("face count larger than its chunk");
    object.faceCount = int32_t(count);
    object.faces.resize(count);
    for (ModelFace& f : object.faces) {
        f.a = r.u16();
        f.b = r.u16();
        f.c = r.u16();
        r.u16(); // edge visibility flags: not used
    }
    return true;
}

bool readTexCoords(Reader& r, const Span& chunk, ModelObject& object) {
    if (r.left(chunk.end) < 2)
        return r.fail("texture coordinate list without its count");
    size_t count = r.u16();
    if (r.left(chunk.end) / 8 < count)
        return r.fail("texture coordinate count larger than its chunk");
    object.texCoordCount = int32_t(count);
    object.texCoords.resize(count);
    for (TexCoord& t : object.texCoords) {
        t.u = r.f32();
        t.v = r.f32();
    }
    r.pos = chunk.end;
    return true;
}

// Only materials read before the object can match; the last group decides.
bool readObjectMaterial(Reader& r, const Span& chunk, ModelObject& object) {
    char name[kNameSize];
    if (!readString(r, chunk.end, name))
        return false;
    const std::vector<ModelMaterial>& materials = r.model.materials;
    for (size_t i = 0; i < materials.size(); i++) {
        if (strcmp(materials[i].name, name) == 0) {
            object.materialIndex = int32_t(i);
            object.hasTexture = materials[i].fileName[0] != 0;
            break;
        }
        object.materialIndex = -1;
        object.hasTexture = 0;
    }
    r.pos = chunk.end; // the group's face list is not used
    return true;
}

// The first sub-chunk holds the colour; further sub-chunks are met by the material loop.
bool readColor(Reader& r, const Span& chunk, ModelMaterial& material) {
    if (r.pos == chunk.end)
        return true;
    Span sub;
    if (!readHeader(r, chunk.end, sub))
        return false;
    size_t n = r.left(sub.end) < 3 ? r.left(sub.end) : 3;
    memcpy(material.color, r.data + r.pos, n);
    r.pos = sub.end;
    return true;
}

bool readObjectChunks(Reader& r, ModelObject& object, const Span& parent);
bool readMaterialChunks(Reader& r, ModelMaterial& material, const Span& parent);

// Runs `body` once per nested chunk of `parent`, guarding the nesting depth.
template <typename Body> bool chunkLoop(Reader& r, const Span& parent, Body body) {
    if (++r.depth > kMaxDepth)
        return r.fail("chunks nested too deeply");
    while (r.pos < parent.end) {
        Span chunk;
        if (!readHeader(r, parent.end, chunk) || !body(chunk))
            return false;
    }
    r.depth--;
    return true;
}

bool readObjectChunks(Reader& r, ModelObject& object, const Span& parent) {
    return chunkLoop(r, parent, [&](const Span& chunk) {
        switch (chunk.id) {
        case 0x4100:
            return readObjectChunks(r, object, chunk);
        case 0x4110:
            return readVertices(r, chunk, object);
        case 0x4120:
            return readFaces(r, chunk, object);
        case 0x4130:
            return readObjectMaterial(r, chunk, object);
        case 0x4140:
            return readTexCoords(r, chunk, object);
        default:
            r.pos = chunk.end;
            return true;
        }
    });
}

bool readMaterialChunks(Reader& r, ModelMaterial& material, const Span& parent) {
    return chunkLoop(r, parent, [&](const Span& chunk) {
        switch (chunk.id) {
        case 0xA000:
            readWholeName(r, chunk.end, material.name);
            return true;
        case 0xA020:
            return readColor(r, chunk, material);
        case 0xA200:
            return readMaterialChunks(r, material, chunk);
        case 0xA300:
            readWholeName(r, chunk.end, material.fileName);
            return true;
        default:
            r.pos = chunk.end;
            return true;
        }
    });
}

void warn(const char* text) {
    FILE* out = modelWarningStream ? modelWarningStream : stdout;
    fprintf(out, "%s\n", text);
    fflush(out);
}

bool readChunks(Reader& r, const Span& parent) {
    return chunkLoop(r, parent, [&](const Span& chunk) {
        switch (chunk.id) {
        case 0x0002: {
            if (r.left(chunk.end) < 4)
                return r.fail("version chunk cut short");
            if (r.u32() > 3)
                warn("This 3DS file is over version 3 so it may load incorrectly");
            r.pos = chunk.end;
            return true;
        }
        case 0x3D3D: {
            // The first sub-chunk (the mesh version) is discarded unread.
            if (r.pos < chunk.end) {
                Span first;
                if (!readHeader(r, chunk.end, first))
                    return false;
                r.pos = first.end;
            }
            return readChunks(r, chunk);
        }
        case 0x4000: {
            r.model.objectCount++;
            r.model.objects.emplace_back();
            ModelObject& object = r.model.objects.back();
            return readString(r, chunk.end, object.name) && readObjectChunks(r, object, chunk);
        }
        case 0xAFFF: {
            r.model.materialCount++;
            r.model.materials.emplace_back();
            return readMaterialChunks(r, r.model.materials.back(), chunk);
        }
        default:
            r.pos = chunk.end;
            return true;
        }
    });
}

// Faces may come before their vertex list, so indices are checked once the file is read.
bool checkFaceIndices(Reader& r) {
    for (const ModelObject& object : r.model.objects)
        for (const ModelFace& f : object.faces)
            if (f.a >= object.vertexCount || f.b >= object.vertexCount || f.c >= object.vertexCount)
                return r.fail("face index beyond the vertex list");
    return true;
}

void clearModel(Model& model) {
    model.objectCount = 0;
    model.materialCount = 0;
    model.objects.clear();
    model.materials.clear();
}

} // namespace

bool readModelData(Model& model, const uint8_t* data, size_t size, const char* fileName) {
    clearModel(model);
    Reader r{data, size, 0, model, std::string()};
    // Anything that does not start with the main chunk id, the empty file included, is
    // not a 3DS file.
    if (size < 2 || data[0] != 0x4D || data[1] != 0x4D) {
        model.error = std::string("Unable to load PRIMARY chuck from file: ") + fileName + "!";
        return false;
    }
    Span main;
    bool ok = readHeader(r, size, main) && readChunks(r, main) && checkFaceIndices(r);
    if (!ok) {
        clearModel(model);
        model.error = std::string("Corrupt 3DS file: ") + fileName + "! (" + r.fault + ")";
        return false;
    }
    model.error.clear();
    return true;
}

// What a path names when it is not a regular file, for the message.
static const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

bool readModelFile(Model& model, const char* fileName) {
    clearModel(model);
    // Opened without blocking, so a FIFO with no writer cannot hold start-up; only a
    // regular file is read, since a FIFO or device might never end.
    int fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        model.error = std::string("Unable to find the file: ") + fileName + "!";
        return false;
    }
    struct stat info;
    // A chunk length has 32 bits: a larger file cannot be a 3DS file, and would only
    // exhaust memory.
    const char* fault = fstat(fd, &info) != 0                 ? strerror(errno)
                        : !S_ISREG(info.st_mode)              ? kindOf(info.st_mode)
                        : uint64_t(info.st_size) > UINT32_MAX ? "larger than a 3DS file can be"
                                                              : nullptr;
    if (fault) {
        model.error = std::string("Unable to read the file: ") + fileName + "! (" + fault + ")";
        close(fd);
        return false;
    }
    // One read for a file of the size fstat gave; the loop also copes with one that
    // changes meanwhile.
    std::vector<uint8_t> bytes(size_t(info.st_size) + 1);
    size_t used = 0;
    bool failed = false;
    int readError = 0;
    for (;;) {
        ssize_t n = read(fd, bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed = n < 0;
            readError = errno;
            break;
        }
        used += size_t(n);
        if (used == bytes.size()) {
            if (used > UINT32_MAX) {
                readError = EFBIG;
                failed = true;
                break;
            }
            bytes.resize(bytes.size() * 2);
        }
    }
    close(fd);
    if (failed) {
        model.error =
            std::string("Unable to read the file: ") + fileName + "! (" + strerror(readError) + ")";
        return false;
    }
    bytes.resize(used);
    return readModelData(model, bytes.data(), bytes.size(), fileName);
}
