// For the tests that draw in a hidden window: one-texel textures, square render items and
// reading pixels back.
#pragma once
#include <GL/glew.h>

#include <filesystem>
#include <vector>

#include "app/startup.h"
#include "files.h"

#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/render.h"
#include "show/timer.h"

using Image = std::vector<unsigned char>;

inline unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    unsigned int texture = 0;
    unsigned char pixel[4] = {r, g, b, 255};
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return texture;
}

// A square of side 2 in the plane z = 0 facing +z, centred at (x, y), appended to the
// RenderList.
inline RenderItem& addSquare(int shaderKind, int passKind, unsigned int color, unsigned int bump,
                             float x = 0, float y = 0) {
    RenderItem item;
    item.vertices = {-1, -1, 0, 1, 1, -1, 0, 1, 1, 1, 0, 1, -1, 1, 0, 1};
    item.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    item.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    item.indices = {0, 1, 2, 0, 2, 3};
    item.tangents = {1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
    item.vertexCount = 4;
    item.faceCount = 2;
    item.shaderKind = shaderKind;
    item.passKind = passKind;
    item.colorTexture = color;
    item.bumpTexture = bump;
    item.translation[0] = x;
    item.translation[1] = y;
    appendRenderItem(item);
    return renderItem(renderListSize() - 1);
}

// A rectangle of the back buffer, where a frame was drawn before its swap, or of a
// target's colour: RGB rows from the bottom.
inline Image readImage(unsigned int framebuffer, int x, int y, int w, int h) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glReadBuffer(framebuffer ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    Image image(size_t(w) * size_t(h) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

// One pixel of the back buffer or of a target.
inline Image pixel(unsigned int framebuffer, int x, int y) {
    return readImage(framebuffer, x, y, 1, 1);
}

// The items both GL tests draw: what the frame draws in each scene, then items drawn by
// hand only.
enum Item { Sky, Red, Green, FacingLit, LeaningLit, ShortTangents, UnknownKind, ShortIndices };

inline int windowWidth = 0, windowHeight = 0; // the screen's, which the window covers
inline int programAfterSetup = -1;

// The hidden window at the screen's size, GL set up, the run folder entered for shader/,
// the pointer left alone, the items below appended, the programs and targets built and
// the clocks started.
inline void openItemWindow(const char* title) {
    openHiddenWindow(title);
    desktopSize(&windowWidth, &windowHeight);
    setupGraphics();
    std::filesystem::current_path(envFolder("KESTRUNE_RUN_DIR"));
    setCursorWarp(false);

    // The sky, drawn first, sits where the previous frame's eye put it: out of sight.
    addSquare(3, 1, solidTexture(0, 0, 255), 0, 0, -80);
    addSquare(3, 1, solidTexture(255, 0, 0), 0);
    addSquare(3, 2, solidTexture(0, 255, 0), 0); // at the same place in scene 2
    unsigned int white = solidTexture(255, 255, 255);
    addSquare(1, 2, white, solidTexture(128, 128, 255), -2.5f);
    addSquare(1, 2, white, solidTexture(218, 128, 218), 2.5f); // leans to +u, +x here
    addSquare(0, 0, white, 0).tangents.resize(4);              // fewer tangents than vertices
    addSquare(7, 0, white, 0);
    addSquare(3, 0, white, 0).faceCount = 5; // more faces than indices

    setupShaders(windowWidth, windowHeight);
    glGetIntegerv(GL_CURRENT_PROGRAM, &programAfterSetup);
    setupRenderTargets(windowWidth, windowHeight);
    reshape(windowWidth, windowHeight);
    startClock(demoClock);
    startFrameTimer(frameTimer);
}
