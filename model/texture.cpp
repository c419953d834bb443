// Texture loading: the platform decodes the image and builds the mipmap chain.
#include <GL/glew.h>

#include "model/model.h"
#include "platform/platform.h"

uint32_t loadTexture(const char* path, Model& model, uint32_t kept) {
    DecodedImage image;
    if (!decodeImage(path, &model.imageName, image))
        return kept;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    uploadMipmaps(image);
    releaseImage(image);
    return name;
}
