// The 3DS reader on chunk trees built here byte by byte.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/reader3ds.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Little-endian on this machine, as in the file.
template <class T> void put(Bytes& b, T v) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + sizeof v);
}
Bytes str(const std::string& s) {
    return Bytes(s.c_str(), s.c_str() + s.size() + 1);
}
Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
Bytes chunk(uint16_t id, std::initializer_list<Bytes> parts) {
    Bytes data = cat(parts), out;
    put(out, id);
    put(out, uint32_t(data.size() + 6));
    return cat({out, data});
}
Bytes vertices(std::initializer_list<Vec3> points, size_t extraBytes = 0) {
    Bytes b;
    put(b, uint16_t(points.size()));
    for (Vec3 p : points)
        put(b, p.x), put(b, p.y), put(b, p.z);
    b.resize(b.size() + extraBytes, 0xEE);
    return chunk(0x4110, {b});
}
Bytes faces(std::initializer_list<std::array<uint16_t, 4>> list,
            std::initializer_list<Bytes> children = {}) {
    Bytes b;
    put(b, uint16_t(list.size()));
    for (auto f : list)
        put(b, f);
    return chunk(0x4120, {b, cat(children)});
}
Bytes oneFace(std::initializer_list<Bytes> children = {}) {
    return faces({{0, 1, 2, 0}}, children);
}
Bytes group(const std::string& material) {
    return chunk(0x4130, {str(material), {1, 0, 0, 0}});
}
const Bytes triangle = vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
Bytes object(const std::string& name, std::initializer_list<Bytes> meshParts) {
    return chunk(0x4000, {str(name), chunk(0x4100, {cat(meshParts)})});
}
Bytes material(const std::string& name, const std::string& map1 = "") {
    Bytes m = chunk(0xA000, {str(name)});
    if (!map1.empty())
        m = cat({m, chunk(0xA200, {chunk(0xA300, {str(map1)})})});
    return chunk(0xAFFF, {m});
}
const Bytes meshVersion = chunk(0x3D3E, {{3, 0, 0, 0}});
Bytes file(std::initializer_list<Bytes> editorParts) {
    return chunk(0x4D4D, {chunk(0x3D3D, {meshVersion, cat(editorParts)})});
}

bool read(Model& m, const Bytes& b) {
    return readModelData(m, b.data(), b.size(), "t.3ds");
}
// Per object: the material index and whether it has a texture.
std::vector<std::pair<int, int>> materialsOf(const Model& m) {
    std::vector<std::pair<int, int>> out;
    for (const ModelObject& o : m.objects)
        out.push_back({o.materialIndex, o.hasTexture});
    return out;
}

} // namespace

TEST(Reader, ConvertsAxesDropsFaceFlagsAndKeepsMaterialZeroWithoutMaterials) {
    Bytes data = file({object("Box", {vertices({{1, 2, 3}, {0, 0, 0}, {0, 0, 0}}),
                                      faces({{2, 0, 1, 3}, {1, 2, 0, 7}})}),
                       object("grouped", {triangle, oneFace({group("x")})})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 2);
    const ModelObject& o = m.objects[0];
    EXPECT_STREQ(o.name, "Box");
    ASSERT_EQ(o.vertexCount, 3);
    EXPECT_EQ(o.vertices[0].x, 1.0f);
    EXPECT_EQ(o.vertices[0].y, 3.0f);
    EXPECT_EQ(o.vertices[0].z, -2.0f);
    ASSERT_EQ(o.faceCount, 2);
    EXPECT_EQ(o.faces[0].a, 2);
    EXPECT_EQ(o.faces[0].b, 0);
    EXPECT_EQ(o.faces[0].c, 1);
    EXPECT_EQ(o.faces[1].a, 1);
    // A group with no materials at all changes nothing.
    EXPECT_EQ(materialsOf(m), (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
}

TEST(Reader, MaterialGroupsMatchMaterialsReadSoFar) {
    Bytes data = file({
        material("first", "a.png"),
        material("second"),
        object("named second", {triangle, oneFace({group("second")})}),
        object("unknown", {triangle, oneFace({group("nothing")})}),
        object("two groups", {triangle, oneFace({group("first")}), group("second")}),
        object("textured", {triangle, oneFace({group("first")})}),
        object("later", {triangle, oneFace({group("third")})}),
        material("third", "c.png"),
    });
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.materialCount, 3);
    ASSERT_EQ(m.objectCount, 5);
    // The last group decides; a later material is not found.
    EXPECT_EQ(materialsOf(m),
              (std::vector<std::pair<int, int>>{{1, 0}, {-1, 0}, {1, 0}, {0, 1}, {-1, 0}}));
    EXPECT_STREQ(m.materials[2].fileName, "c.png");
}

// The editor's first sub-chunk is taken as the mesh version whatever it is.
TEST(Reader, VersionOverThreeWarnsAndReadingGoesOn) {
    Bytes data = chunk(
        0x4D4D, {chunk(0x0002, {{4, 0, 0, 0}}),
                 chunk(0x3D3D, {chunk(0x4000, {str("hidden")}), chunk(0x4000, {str("obj")})})});
    for (uint8_t version : {4, 3}) {
        data[12] = version;
        Model m;
        testing::internal::CaptureStdout();
        bool ok = read(m, data);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  version > 3 ? "This 3DS file is over version 3 so it may load incorrectly\n"
                              : "");
        ASSERT_TRUE(ok) << m.error;
        ASSERT_EQ(m.objectCount, 1);
        EXPECT_STREQ(m.objects[0].name, "obj");
    }
}

// Unknown chunks, a light (an object without a mesh) and a vertex list longer than its count.
TEST(Reader, SkippedChunksKeepTheByteAccounting) {
    Bytes odd = {1, 2, 3, 4, 5, 6, 7};
    Bytes data = chunk(
        0x4D4D,
        {chunk(0x3D3D, {meshVersion, chunk(0x0100, {odd}),
                        object("first", {vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, 13),
                                         oneFace({group("none"), chunk(0x4150, {{1, 0, 0, 0}})}),
                                         chunk(0x4160, {odd}), chunk(0x4140, {{0, 0}})}),
                        chunk(0x4000, {str("light"), chunk(0x4600, {odd, odd})}),
                        object("second", {vertices({{4, 5, 6}}), faces({{0, 0, 0, 7}})})}),
         chunk(0xB000, {odd, chunk(0xB00A, {odd})})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 3);
    EXPECT_EQ(m.objects[0].vertexCount, 3);
    EXPECT_EQ(m.objects[0].texCoordCount, 0);
    EXPECT_STREQ(m.objects[1].name, "light");
    EXPECT_EQ(m.objects[1].vertexCount, 0);
    EXPECT_EQ(m.objects[1].faceCount, 0);
    EXPECT_STREQ(m.objects[2].name, "second");
    ASSERT_EQ(m.objects[2].vertexCount, 1);
    EXPECT_EQ(m.objects[2].vertices[0].y, 6.0f);
}

TEST(Reader, OnlyTheFirstMapGivesTheFileNameAndColourTakesItsFirstSubChunk) {
    Bytes floats;
    for (int i = 0; i < 3; i++)
        put(floats, 0.5f);
    Bytes data = file({
        chunk(0xAFFF,
              {chunk(0xA000, {str("m")}),
               chunk(0xA020, {chunk(0x0011, {{10, 20, 30}}), chunk(0x0012, {{40, 50, 60}})}),
               chunk(0xA210, {chunk(0xA300, {str("spec.png")})}),
               chunk(0xA200, {chunk(0xA351, {{0, 0}}), chunk(0xA300, {str("d.png")})}),
               chunk(0xA230, {chunk(0xA300, {str("bump.png")})})}),
        chunk(0xAFFF,
              {chunk(0xA000, {str("float colour")}), chunk(0xA020, {chunk(0x0010, {floats})})}),
    });
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.materialCount, 2);
    EXPECT_STREQ(m.materials[0].name, "m");
    EXPECT_STREQ(m.materials[0].fileName, "d.png");
    EXPECT_EQ(m.materials[0].color[0], 10);
    EXPECT_EQ(m.materials[0].color[2], 30);
    EXPECT_STREQ(m.materials[1].fileName, "");
    EXPECT_EQ(m.materials[1].color[0], floats[0]); // only the first three bytes are kept
}

TEST(Reader, LongNamesAreTruncatedButFullyConsumed) {
    std::string longName(400, 'n');
    Bytes data = file(
        {material(longName, longName), object(longName, {triangle}), object("next", {triangle})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 2);
    EXPECT_EQ(std::string(m.objects[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(m.materials[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(m.materials[0].fileName), longName.substr(0, 254));
    EXPECT_STREQ(m.objects[1].name, "next");
}

TEST(ReaderFailure, NotA3dsFile) {
    Model m;
    EXPECT_FALSE(readModelData(m, nullptr, 0, "empty.3ds"));
    EXPECT_EQ(m.error, "Unable to load PRIMARY chuck from file: empty.3ds!");
    Bytes other = chunk(0x3D3D, {});
    EXPECT_FALSE(readModelData(m, other.data(), other.size(), "x.3ds"));
    EXPECT_EQ(m.error, "Unable to load PRIMARY chuck from file: x.3ds!");
    EXPECT_FALSE(readModelFile(m, "/nonexistent/folder/x.3ds"));
    EXPECT_EQ(m.error, "Unable to find the file: /nonexistent/folder/x.3ds!");
}

// Each case is corrupt in one way; the model must come back empty with the corrupt message.
TEST(ReaderFailure, CorruptFilesAreRejectedAndNothingIsKept) {
    Bytes good = file({material("m"), object("o", {triangle, oneFace()})});
    Bytes tooShort = good;
    tooShort[2] = 3; // main length below its header
    tooShort[3] = tooShort[4] = tooShort[5] = 0;
    Bytes longer = file({object("o", {triangle})});
    longer[longer.size() - 44 + 2] += 1; // the vertex list claims one byte more than its mesh
    Bytes nested = triangle;
    for (int i = 0; i < 100; i++)
        nested = chunk(0x4100, {nested});
    std::pair<const char*, Bytes> cases[] = {
        {"cut short", Bytes(good.begin(), good.end() - 1)},
        {"length below header", tooShort},
        {"count beyond chunk", file({object("o", {chunk(0x4110, {{5, 0, 0, 0, 0, 0}})})})},
        {"face count beyond chunk", file({object("o", {triangle, chunk(0x4120, {{9, 0, 1, 0}})})})},
        {"texture coordinates beyond chunk", file({object("o", {chunk(0x4140, {{2, 0}})})})},
        {"face index", file({object("o", {triangle, faces({{0, 1, 3, 0}})})})},
        {"face before too few vertices", file({object("o", {oneFace(), vertices({{0, 0, 0}})})})},
        {"name without end", file({chunk(0x4000, {{'a', 'b'}})})},
        {"version cut short", chunk(0x4D4D, {chunk(0x0002, {{4, 0}})})},
        {"child longer than parent", longer},
        {"nested too deeply", file({chunk(0x4000, {str("o"), nested})})},
    };
    for (auto& [what, bytes] : cases) {
        Model m;
        EXPECT_FALSE(readModelData(m, bytes.data(), bytes.size(), "bad.3ds")) << what;
        EXPECT_EQ(m.error.rfind("Corrupt 3DS file: bad.3ds!", 0), 0u) << what << ": " << m.error;
        EXPECT_EQ(m.objectCount, 0) << what;
        EXPECT_EQ(m.materialCount, 0) << what;
        EXPECT_TRUE(m.objects.empty() && m.materials.empty()) << what;
    }
}
