// The large benchmark file: 8 objects of 65,535 vertices and 65,535 faces each, a wavy
// grid with texture coordinates, written with lib3ds (an independent writer).
#pragma once
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

inline std::string bigFilePath() {
    static std::string path;
    if (!path.empty())
        return path;
    path = "/tmp/kestrune-bench-big.3ds";
    Lib3dsFile* file = lib3ds_file_new();
    Lib3dsMaterial* material = lib3ds_material_new();
    strcpy(material->name, "ground");
    strcpy(material->texture1_map.name, "GROUND.JPG");
    lib3ds_file_insert_material(file, material);
    const int width = 255, height = 257, count = 65535; // width * height == count
    for (int object = 0; object < 8; object++) {
        char name[16];
        snprintf(name, sizeof name, "grid%d", object);
        Lib3dsMesh* mesh = lib3ds_mesh_new(name);
        lib3ds_mesh_new_point_list(mesh, count);
        lib3ds_mesh_new_texel_list(mesh, count);
        lib3ds_mesh_new_face_list(mesh, count);
        for (int i = 0; i < count; i++) {
            float x = float(i % width), y = float(i / width);
            mesh->pointL[i].pos[0] = x + 300.0f * float(object);
            mesh->pointL[i].pos[1] = y;
            mesh->pointL[i].pos[2] = 3.0f * std::sin(0.2f * x) * std::cos(0.15f * y);
            mesh->texelL[i][0] = x / float(width - 1);
            mesh->texelL[i][1] = y / float(height - 1);
        }
        // Two triangles per grid cell, in cell order, until the face count is reached.
        for (int f = 0; f < count; f++) {
            int cell = f / 2, cx = cell % (width - 1), cy = cell / (width - 1);
            int v = cy * width + cx;
            Lib3dsFace& face = mesh->faceL[f];
            if (f % 2 == 0) {
                face.points[0] = Lib3dsWord(v);
                face.points[1] = Lib3dsWord(v + 1);
                face.points[2] = Lib3dsWord(v + width);
            } else {
                face.points[0] = Lib3dsWord(v + 1);
                face.points[1] = Lib3dsWord(v + width + 1);
                face.points[2] = Lib3dsWord(v + width);
            }
            face.smoothing = 1;
            strcpy(face.material, "ground");
        }
        lib3ds_file_insert_mesh(file, mesh);
    }
    lib3ds_file_save(file, path.c_str());
    lib3ds_file_free(file);
    return path;
}

inline double fileMegabytes(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? double(st.st_size) / 1e6 : 0;
}
