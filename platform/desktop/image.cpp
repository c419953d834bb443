// Images on the desktop: DevIL decodes, GLU builds the mipmap chain.
#include <GL/glew.h>
#include <GL/glu.h>
#include <IL/il.h>
#include <cstdio>

#include "platform/platform.h"

void initImageDecoder() {
    ilInit();
}

// Whether the bound image carries alpha, directly or in its palette.
static bool hasAlpha() {
    switch (ilGetInteger(IL_IMAGE_FORMAT)) {
    case IL_RGBA:
    case IL_BGRA:
    case IL_LUMINANCE_ALPHA:
    case IL_ALPHA:
        return true;
    case IL_COLOUR_INDEX: {
        int palette = ilGetInteger(IL_PALETTE_TYPE);
        return palette == IL_PAL_RGBA32 || palette == IL_PAL_BGRA32;
    }
    default:
        return false;
    }
}

bool decodeImage(const char* path, unsigned int* imageName, DecodedImage& image) {
    ILuint name = *imageName;
    ilGenImages(1, &name);
    *imageName = name;
    ilBindImage(name);
    if (!ilLoadImage(path)) {
        ilDeleteImages(1, &name);
        printf("\n%s image not found\n", path);
        return false;
    }
    // GL gets 8-bit RGB or RGBA whatever was decoded (16-bit, float, greyscale, palette,
    // BGR), and rows as tightly packed as DevIL keeps them.
    if (!ilConvertImage(hasAlpha() ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE)) {
        ilDeleteImages(1, &name);
        printf("\n%s image not usable\n", path);
        return false;
    }
    image.width = ilGetInteger(IL_IMAGE_WIDTH);
    image.height = ilGetInteger(IL_IMAGE_HEIGHT);
    image.components = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    image.pixels = ilGetData();
    image.owner = nullptr; // the image stays in DevIL until the process ends
    return true;
}

void uploadMipmaps(const DecodedImage& image) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLenum format = image.components == 4 ? GL_RGBA : GL_RGB;
    gluBuild2DMipmaps(GL_TEXTURE_2D, image.components, image.width, image.height, format,
                      GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void releaseImage(DecodedImage& image) {
    image.pixels = nullptr;
}

void forgetImage(unsigned int imageName) {
    ILuint name = imageName;
    if (name != 0)
        ilDeleteImages(1, &name);
}
