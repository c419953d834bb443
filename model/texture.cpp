// Texture loading: DevIL decodes the image, GLU builds the mipmap chain.
#include <GL/glew.h>
#include <GL/glu.h>
#include <IL/il.h>
#include <cstdio>

#include "model/model.h"

uint32_t colorTextureId = 0;
uint32_t bumpTextureId = 0;

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
    gluBuild2DMipmaps(GL_TEXTURE_2D, bytesPerPixel, width, height, GLenum(format), GL_UNSIGNED_BYTE,
                      pixels);
}
