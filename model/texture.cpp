// Texture loading: the platform decodes the image and builds the mipmap chain.
#include <GL/glew.h>

#include "model/model.h"
#include "platform/platform.h"

uint32_t colorTextureId = 0;
uint32_t bumpTextureId = 0;

void loadTexture(const char* path, Model& model, uint32_t* textureName) {
    DecodedImage image;
    if (!decodeImage(path, &model.imageName, image))
        return; // the caller keeps the name it had
    GLuint name = 0;
    glGenTextures(1, &name);
    *textureName = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    uploadMipmaps(image);
    releaseImage(image);
}
