// The 3DS reader on chunk trees built here byte by byte.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "model/model.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putFloat(Bytes& b, float f) {
    uint32_t bits;
    memcpy(&bits, &f, 4);
    put32(b, bits);
}
Bytes str(const std::string& s) {
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}
Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
Bytes chunk(uint16_t id, std::initializer_list<Bytes> parts) {
    Bytes data = cat(parts);
    Bytes out;
    put16(out, id);
    put32(out, uint32_t(data.size() + 6));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}
Bytes vertices(std::initializer_list<Vec3> points, size_t extraBytes = 0) {
    Bytes b;
    put16(b, uint32_t(points.size()));
    for (Vec3 p : points) {
        putFloat(b, p.x);
        putFloat(b, p.y);
        putFloat(b, p.z);
    }
    b.resize(b.size() + extraBytes, 0xEE);
    return chunk(0x4110, {b});
}
Bytes faces(std::initializer_list<std::array<uint16_t, 4>> list,
            std::initializer_list<Bytes> children = {}) {
    Bytes b;
    put16(b, uint32_t(list.size()));
    for (auto f : list)
        for (uint16_t v : f)
            put16(b, v);
    return chunk(0x4120, {b, cat(children)});
}
Bytes group(const std::string& material) {
    Bytes list;
    put16(list, 1);
    put16(list, 0);
    return chunk(0x4130, {str(material), list});
}
Bytes triangle() {
    return vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
}
Bytes object(const std::string& name, std::initializer_list<Bytes> meshParts) {
    return chunk(0x4000, {str(name), chunk(0x4100, {cat(meshParts)})});
}
Bytes material(const std::string& name, const std::string& map1 = "") {
    Bytes m = chunk(0xA000, {str(name)});
    if (!map1.empty())
        m = cat({m, chunk(0xA200, {chunk(0xA300, {str(map1)})})});
    return chunk(0xAFFF, {m});
}
Bytes meshVersion() {
    Bytes v;
    put32(v, 3);
    return chunk(0x3D3E, {v});
}
Bytes file(std::initializer_list<Bytes> editorParts, std::initializer_list<Bytes> top = {}) {
    return chunk(0x4D4D, {cat(top), chunk(0x3D3D, {meshVersion(), cat(editorParts)})});
}

bool read(Model& m, const Bytes& b) {
    return readModelData(m, b.data(), b.size(), "t.3ds");
}

} // namespace

TEST(Reader, ConvertsAxesAndDropsFaceFlags) {
    Bytes data = file({object("Box", {vertices({{1, 2, 3},
                                                {0, 0, 0},
                                                {0, 0, 0},
                                                {0, 0, 0},
                                                {0, 0, 0},
                                                {0, 0, 0},
                                                {0, 0, 0},
                                                {0, 0, 0}}),
                                      faces({{5, 6, 7, 3}})})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 1);
    const ModelObject& o = m.objects[0];
    EXPECT_STREQ(o.name, "Box");
    ASSERT_EQ(o.vertexCount, 8);
    EXPECT_EQ(o.vertices[0].x, 1.0f);
    EXPECT_EQ(o.vertices[0].y, 3.0f);
    EXPECT_EQ(o.vertices[0].z, -2.0f);
    ASSERT_EQ(o.faceCount, 1);
    EXPECT_EQ(o.faces[0].a, 5);
    EXPECT_EQ(o.faces[0].b, 6);
    EXPECT_EQ(o.faces[0].c, 7);
    EXPECT_EQ(o.materialIndex, 0); // no group: stays 0
}

TEST(Reader, MaterialGroupsMatchMaterialsReadSoFar) {
    Bytes data = file({
        material("first", "a.png"),
        material("second"),
        object("named second", {triangle(), faces({{0, 1, 2, 0}}, {group("second")})}),
        object("unknown", {triangle(), faces({{0, 1, 2, 0}}, {group("nothing")})}),
        object("two groups",
               {triangle(), faces({{0, 1, 2, 0}}, {group("first")}), group("second")}),
        object("textured", {triangle(), faces({{0, 1, 2, 0}}, {group("first")})}),
        object("later", {triangle(), faces({{0, 1, 2, 0}}, {group("third")})}),
        material("third", "c.png"),
    });
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.materialCount, 3);
    ASSERT_EQ(m.objectCount, 5);
    EXPECT_EQ(m.objects[0].materialIndex, 1);
    EXPECT_EQ(m.objects[0].hasTexture, 0);
    EXPECT_EQ(m.objects[1].materialIndex, -1);
    EXPECT_EQ(m.objects[2].materialIndex, 1); // the last group decides
    EXPECT_EQ(m.objects[2].hasTexture, 0);
    EXPECT_EQ(m.objects[3].materialIndex, 0);
    EXPECT_EQ(m.objects[3].hasTexture, 1);
    EXPECT_EQ(m.objects[4].materialIndex, -1); // a later material is not found
    EXPECT_STREQ(m.materials[2].fileName, "c.png");
}

TEST(Reader, GroupWithoutAnyMaterialChangesNothing) {
    Model m;
    ASSERT_TRUE(read(m, file({object("o", {triangle(), faces({{0, 1, 2, 0}}, {group("x")})})})));
    EXPECT_EQ(m.objects[0].materialIndex, 0);
}

TEST(Reader, VersionOverThreeWarnsAndReadingGoesOn) {
    // The main chunk of 42 bytes and the version chunk holding 4.
    Bytes version = {0x02, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00};
    Bytes data = cat({Bytes{0x4D, 0x4D, 0x2A, 0x00, 0x00, 0x00}, version,
                      chunk(0x3D3D, {meshVersion(), chunk(0x4000, {str("obj")})})});
    ASSERT_EQ(data.size(), 42u);
    Model m;
    testing::internal::CaptureStdout();
    bool ok = read(m, data);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "This 3DS file is over version 3 so it may load incorrectly\n");
    ASSERT_TRUE(ok) << m.error;
    EXPECT_EQ(m.objectCount, 1);

    data[6 + 6] = 3;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(read(m, data));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(Reader, SkippedChunksKeepTheByteAccounting) {
    Bytes smoothing;
    put32(smoothing, 1);
    Bytes odd = {1, 2, 3, 4, 5, 6, 7};
    Bytes data = chunk(
        0x4D4D,
        {chunk(0x3D3D,
               {meshVersion(), chunk(0x0100, {odd}),
                object("first", {vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, 13),
                                 faces({{0, 1, 2, 0}}, {group("none"), chunk(0x4150, {smoothing})}),
                                 chunk(0x4160, {odd}), chunk(0x4140, {Bytes{0, 0}})}),
                chunk(0x4000, {str("light"), chunk(0x4600, {odd, odd})}),
                object("second", {vertices({{4, 5, 6}}), faces({{0, 0, 0, 7}})})}),
         chunk(0xB000, {odd, chunk(0xB00A, {odd})})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 3);
    EXPECT_EQ(m.objects[0].vertexCount, 3);
    EXPECT_EQ(m.objects[0].texCoordCount, 0);
    // A light is an object without a mesh.
    EXPECT_STREQ(m.objects[1].name, "light");
    EXPECT_EQ(m.objects[1].vertexCount, 0);
    EXPECT_EQ(m.objects[1].faceCount, 0);
    EXPECT_STREQ(m.objects[2].name, "second");
    ASSERT_EQ(m.objects[2].vertexCount, 1);
    EXPECT_EQ(m.objects[2].vertices[0].y, 6.0f);
}

TEST(Reader, FirstEditorSubChunkIsDiscardedWhateverItIs) {
    Bytes data =
        chunk(0x4D4D, {chunk(0x3D3D, {chunk(0x4000, {str("hidden")}), chunk(0x4000, {str("b")})})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 1);
    EXPECT_STREQ(m.objects[0].name, "b");
}

TEST(Reader, OnlyTheFirstMapGivesTheFileNameAndColourTakesItsFirstSubChunk) {
    Bytes rgb = {10, 20, 30};
    Bytes gamma = {40, 50, 60};
    Bytes floats;
    for (int i = 0; i < 3; i++)
        putFloat(floats, 0.5f);
    Bytes data = file({
        chunk(0xAFFF, {chunk(0xA000, {str("m")}),
                       chunk(0xA020, {chunk(0x0011, {rgb}), chunk(0x0012, {gamma})}),
                       chunk(0xA210, {chunk(0xA300, {str("spec.png")})}),
                       chunk(0xA200, {chunk(0xA351, {Bytes{0, 0}}), chunk(0xA300, {str("d.png")})}),
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
    Bytes data = file({material(longName, longName), object(longName, {triangle()}),
                       object("next", {triangle()})});
    Model m;
    ASSERT_TRUE(read(m, data)) << m.error;
    ASSERT_EQ(m.objectCount, 2);
    EXPECT_EQ(std::string(m.objects[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(m.materials[0].name), longName.substr(0, 254));
    EXPECT_EQ(std::string(m.materials[0].fileName), longName.substr(0, 254));
    EXPECT_STREQ(m.objects[1].name, "next");
}

TEST(Reader, VertexListReadsWhatItsCountNeedsAndSkipsTheRest) {
    Model m;
    ASSERT_TRUE(read(m, file({object("o", {vertices({{1, 2, 3}}, 50), faces({{0, 0, 0, 0}})})})));
    EXPECT_EQ(m.objects[0].vertexCount, 1);
    EXPECT_EQ(m.objects[0].faceCount, 1);
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
    Bytes good = file({material("m"), object("o", {triangle(), faces({{0, 1, 2, 0}})})});
    std::vector<std::pair<const char*, Bytes>> cases;
    cases.push_back({"cut short", Bytes(good.begin(), good.end() - 1)});
    Bytes tooShort = good;
    tooShort[2] = 3; // main length below its header
    tooShort[3] = tooShort[4] = tooShort[5] = 0;
    cases.push_back({"length below header", tooShort});
    cases.push_back(
        {"count beyond chunk", file({object("o", {chunk(0x4110, {Bytes{5, 0, 0, 0, 0, 0}})})})});
    cases.push_back({"face count beyond chunk",
                     file({object("o", {triangle(), chunk(0x4120, {Bytes{9, 0, 1, 0}})})})});
    cases.push_back(
        {"texture coordinates beyond chunk", file({object("o", {chunk(0x4140, {Bytes{2, 0}})})})});
    cases.push_back({"face index", file({object("o", {triangle(), faces({{0, 1, 3, 0}})})})});
    cases.push_back({"face before too few vertices",
                     file({object("o", {faces({{0, 1, 2, 0}}), vertices({{0, 0, 0}})})})});
    cases.push_back({"name without end", file({chunk(0x4000, {Bytes{'a', 'b'}})})});
    cases.push_back({"version cut short", chunk(0x4D4D, {chunk(0x0002, {Bytes{4, 0}})})});
    Bytes longer = file({object("o", {triangle()})});
    longer[longer.size() - 44 + 2] += 1; // the vertex list claims one byte more than its mesh
    cases.push_back({"child longer than parent", longer});
    Bytes nested = triangle();
    for (int i = 0; i < 100; i++)
        nested = chunk(0x4100, {nested});
    cases.push_back({"nested too deeply", file({chunk(0x4000, {str("o"), nested})})});

    for (auto& [what, bytes] : cases) {
        Model m;
        EXPECT_FALSE(readModelData(m, bytes.data(), bytes.size(), "bad.3ds")) << what;
        EXPECT_EQ(m.error.rfind("Corrupt 3DS file: bad.3ds!", 0), 0u) << what << ": " << m.error;
        EXPECT_EQ(m.objectCount, 0) << what;
        EXPECT_EQ(m.materialCount, 0) << what;
        EXPECT_TRUE(m.objects.empty() && m.materials.empty()) << what;
    }
}
