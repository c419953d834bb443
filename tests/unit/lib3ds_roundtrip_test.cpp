// Files written by an independent writer (lib3ds) from data chosen here are read back with
// the same counts, positions (after the change to y-up) and material names.
#include <gtest/gtest.h>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>

#include "model/model.h"
#include "model/reader3ds.h"

TEST(Lib3dsRoundTrip, MeshesAndMaterialsComeBackUnchanged) {
    const struct MeshSpec {
        const char* name;
        int points, faces, texels;
        const char* material; // for every face; empty for none
    } specs[] = {{"ground", 300, 500, 300, "stone"},
                 {"tower", 4, 2, 0, "plain"},
                 {"lonely", 1, 0, 0, ""},
                 {"big", 65535, 65535, 65535, "stone"}};
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> coord(-100, 100);

    Lib3dsFile* file = lib3ds_file_new();
    for (auto [name, map] :
         {std::pair<const char*, const char*>{"stone", "STONE.JPG"}, {"plain", ""}}) {
        Lib3dsMaterial* mat = lib3ds_material_new();
        strcpy(mat->name, name);
        strcpy(mat->texture1_map.name, map);
        lib3ds_file_insert_material(file, mat);
    }

    for (const MeshSpec& spec : specs) {
        Lib3dsMesh* mesh = lib3ds_mesh_new(spec.name);
        lib3ds_mesh_new_point_list(mesh, spec.points);
        for (int i = 0; i < spec.points; i++)
            for (int k = 0; k < 3; k++)
                mesh->pointL[i].pos[k] = coord(rng);
        if (spec.texels)
            lib3ds_mesh_new_texel_list(mesh, spec.texels);
        for (int i = 0; i < spec.texels; i++)
            mesh->texelL[i][0] = coord(rng), mesh->texelL[i][1] = coord(rng);
        if (spec.faces)
            lib3ds_mesh_new_face_list(mesh, spec.faces);
        for (int i = 0; i < spec.faces; i++) {
            for (int k = 0; k < 3; k++)
                mesh->faceL[i].points[k] = Lib3dsWord(rng() % unsigned(spec.points));
            mesh->faceL[i].flags = 7;
            strcpy(mesh->faceL[i].material, spec.material);
        }
        lib3ds_file_insert_mesh(file, mesh);
    }
    char path[] = "/tmp/kestrune-roundtrip-XXXXXX";
    close(mkstemp(path));
    ASSERT_TRUE(lib3ds_file_save(file, path));
    Model m;
    bool ok = readModelFile(m, path);
    remove(path);
    ASSERT_TRUE(ok) << m.error;
    ASSERT_EQ(m.materialCount, 2);
    ASSERT_EQ(m.objectCount, 4);
    for (const ModelMaterial& mat : m.materials) { // names and texture map 1
        Lib3dsMaterial* theirs = lib3ds_file_material_by_name(file, mat.name);
        ASSERT_NE(theirs, nullptr) << mat.name;
        EXPECT_STREQ(mat.fileName, theirs->texture1_map.name);
    }
    for (const ModelObject& o : m.objects) {
        SCOPED_TRACE(o.name);
        Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(file, o.name);
        ASSERT_NE(mesh, nullptr);
        ASSERT_EQ(o.vertexCount, int(mesh->points));
        ASSERT_EQ(o.faceCount, int(mesh->faces));
        ASSERT_EQ(o.texCoordCount, int(mesh->texels));
        for (int i = 0; i < o.vertexCount; i++) {
            ASSERT_EQ(o.vertices[size_t(i)].x, mesh->pointL[i].pos[0]);
            ASSERT_EQ(o.vertices[size_t(i)].y, mesh->pointL[i].pos[2]);
            ASSERT_EQ(o.vertices[size_t(i)].z, -mesh->pointL[i].pos[1]);
        }
        for (int i = 0; i < o.faceCount; i++) {
            ASSERT_EQ(o.faces[size_t(i)].a, mesh->faceL[i].points[0]);
            ASSERT_EQ(o.faces[size_t(i)].b, mesh->faceL[i].points[1]);
            ASSERT_EQ(o.faces[size_t(i)].c, mesh->faceL[i].points[2]);
        }
        for (int i = 0; i < o.texCoordCount; i++) {
            ASSERT_EQ(o.texCoords[size_t(i)].u, mesh->texelL[i][0]);
            ASSERT_EQ(o.texCoords[size_t(i)].v, mesh->texelL[i][1]);
        }
        if (o.faceCount > 0) {
            ASSERT_GE(o.materialIndex, 0);
            EXPECT_STREQ(m.materials[size_t(o.materialIndex)].name, mesh->faceL[0].material);
            EXPECT_EQ(o.hasTexture, m.materials[size_t(o.materialIndex)].fileName[0] != 0);
        }
    }
    lib3ds_file_free(file);
}
