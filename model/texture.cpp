// Texture loading: DevIL decodes the image, GLU builds the mipmap chain.
#include <GL/glew.h>
#include <GL/glu.h>
#include <IL/il.h>
#include <cstdio>

#include "model/model.h"

uint32_t colorTextureId = 0;
uint32_t bumpTextureId = 0;

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

void loadTexture(const char* path, Model& model, uint32_t* textureName) {
    ILuint image = model.imageName;
    ilGenImages(1, &image);
    model.imageName = image;
    ilBindImage(image);
    if (!ilLoadImage(path)) {
        ilDeleteImages(1, &image);
        printf("\n%s image not found\n", path);
        return; // the caller keeps the name it had
    }
    // GL gets 8-bit RGB or RGBA whatever was decoded (16-bit, float, greyscale, palette,
    // BGR), and rows as tightly packed as DevIL keeps them.
    if (!ilConvertImage(hasAlpha() ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE)) {
        ilDeleteImages(1, &image);
        printf("\n%s image not usable\n", path);
        return;
    }
    int width = ilGetInteger(IL_IMAGE_WIDTH);
    int height = ilGetInteger(IL_IMAGE_HEIGHT);
    int bytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    int format = ilGetInteger(IL_IMAGE_FORMAT); // DevIL's values equal GL's
    ILubyte* pixels = ilGetData();
    GLuint name = 0;
    glGenTextures(1, &name);
    *textureName = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, bytesPerPixel, width, height, GLenum(format), GL_UNSIGNED_BYTE,
                      pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}
