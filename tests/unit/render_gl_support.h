// Shared by the render GL tests: one hidden window with a GL context per test binary, run
// from a folder where shader/ is found, plus small GL helpers.
#pragma once
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "math/vecmath.h"
#include "model/model.h"
#include "platform/platform.h"

// Opens the hidden window at the screen size (the size start-up gives the targets) and
// enters the run folder, or else the sources, for shader/. Once per process.
inline void openGlWindow() {
    static bool open = false;
    if (open)
        return;
    open = true;
    int argc = 1;
    char name[] = "render_gl_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    desktopSize(&windowWidth, &windowHeight);
    glutInitWindowSize(windowWidth, windowHeight);
    glutCreateWindow("Kestrune render test");
    glutHideWindow();
    aspectRatio = float(windowWidth) / float(windowHeight);
    glewExperimental = GL_TRUE;
    glewInit();
    glEnable(GL_DEPTH_TEST);
    for (const char* var : {"KESTRUNE_RUN_DIR", "KESTRUNE_SOURCE_DIR"}) {
        const char* dir = getenv(var);
        if (dir && access((std::string(dir) + "/shader/bloom.fs").c_str(), R_OK) == 0) {
            if (chdir(dir) != 0)
                ADD_FAILURE() << "cannot enter " << dir;
            return;
        }
    }
}

// A 1 x 1 texture of one colour.
inline unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    unsigned int texture = 0;
    unsigned char pixel[4] = {r, g, b, 255};
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return texture;
}

// A square of side 2 * half in the plane z = 0 facing +z, as one item with consistent
// normals, texture coordinates and tangents.
inline RenderItem squareItem(float half, int shaderKind, int passKind) {
    RenderItem item;
    item.vertices = {-half, -half, 0, 1, half, -half, 0, 1, half, half, 0, 1, -half, half, 0, 1};
    item.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    item.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    item.indices = {0, 1, 2, 0, 2, 3};
    item.tangents = {1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
    item.vertexCount = 4;
    item.faceCount = 2;
    item.shaderKind = shaderKind;
    item.passKind = passKind;
    return item;
}

// The bound read framebuffer at the window size, RGB rows from the bottom; after
// readWindow(), the back buffer where the frame was drawn before its swap.
inline std::vector<unsigned char> readImage() {
    std::vector<unsigned char> image(size_t(windowWidth) * size_t(windowHeight) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

inline void readWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
}
