// .3DS writer: only the chunks the demo's reader understands, materials before the
// objects that name them, every object one triangle mesh with one material group.
#include <cstring>

#include "content/writer3ds.h"

namespace {

struct ChunkWriter {
    std::vector<uint8_t>& out;
    void u8(uint8_t v) { out.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void f32(float f) {
        uint32_t bits;
        static_assert(sizeof bits == sizeof f, "IEEE single");
        std::memcpy(&bits, &f, 4);
        u32(bits);
    }
    void str(const std::string& s) {
        out.insert(out.end(), s.begin(), s.end());
        u8(0);
    }
    // Opens a chunk; the returned offset is patched with the length by close().
    size_t open(uint16_t id) {
        size_t at = out.size();
        u16(id);
        u32(0);
        return at;
    }
    void close(size_t at) {
        uint32_t len = uint32_t(out.size() - at);
        for (int k = 0; k < 4; ++k)
            out[at + 2 + k] = uint8_t(len >> (8 * k));
    }
};

void writeMaterial(ChunkWriter& w, const MeshMaterial& m) {
    size_t entry = w.open(0xAFFF);
    size_t name = w.open(0xA000);
    w.str(m.name);
    w.close(name);
    size_t diffuse = w.open(0xA020);
    size_t colour = w.open(0x0011);
    w.u8(m.color[0]);
    w.u8(m.color[1]);
    w.u8(m.color[2]);
    w.close(colour);
    w.close(diffuse);
    if (!m.texture.empty()) {
        size_t map = w.open(0xA200);
        size_t file = w.open(0xA300);
        w.str(m.texture);
        w.close(file);
        w.close(map);
    }
    w.close(entry);
}

void writeObject(ChunkWriter& w, const MeshObject& o) {
    size_t object = w.open(0x4000);
    w.str(o.name);
    size_t mesh = w.open(0x4100);

    size_t points = w.open(0x4110);
    w.u16(uint16_t(o.vertices.size()));
    // World (x, y, z) y-up is stored z-up as (x, -z, y); the reader turns it back.
    for (const MeshVertex& v : o.vertices) {
        w.f32(v.p.x);
        w.f32(-v.p.z);
        w.f32(v.p.y);
    }
    w.close(points);

    size_t faces = w.open(0x4120);
    uint16_t faceCount = uint16_t(o.indices.size() / 3);
    w.u16(faceCount);
    for (size_t f = 0; f < faceCount; ++f) {
        w.u16(uint16_t(o.indices[3 * f]));
        w.u16(uint16_t(o.indices[3 * f + 1]));
        w.u16(uint16_t(o.indices[3 * f + 2]));
        w.u16(7); // edge visibility flags, as modelling tools write them
    }
    size_t group = w.open(0x4130);
    w.str(o.material);
    w.u16(faceCount);
    for (uint16_t f = 0; f < faceCount; ++f)
        w.u16(f);
    w.close(group);
    w.close(faces);

    size_t uvs = w.open(0x4140);
    w.u16(uint16_t(o.vertices.size()));
    for (const MeshVertex& v : o.vertices) {
        w.f32(v.u);
        w.f32(v.v);
    }
    w.close(uvs);

    w.close(mesh);
    w.close(object);
}

} // namespace

std::vector<uint8_t> encode3ds(const Scene& scene) {
    std::vector<uint8_t> bytes;
    ChunkWriter w{bytes};
    size_t main = w.open(0x4D4D);
    size_t version = w.open(0x0002);
    w.u32(3);
    w.close(version);
    size_t editor = w.open(0x3D3D);
    size_t meshVersion = w.open(0x3D3E);
    w.u32(3);
    w.close(meshVersion);
    for (const MeshMaterial& m : scene.materials)
        writeMaterial(w, m);
    for (const MeshObject& o : scene.objects)
        writeObject(w, o);
    w.close(editor);
    w.close(main);
    return bytes;
}
