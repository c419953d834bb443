// Images in a browser: stb_image decodes the package's PNG and JPEG files (whatever their
// names say: the format is read from the bytes), and WebGL2 builds the mipmap chain.
#include <GL/glew.h>
#include <cstdio>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO_WARNINGS
#include <stb_image.h>

#include "platform/platform.h"

void initImageDecoder() {
    // Bottom row first, as GL and the desktop's decoder have it.
    stbi_set_flip_vertically_on_load(1);
}

bool decodeImage(const char* path, unsigned int*, DecodedImage& image) {
    int width = 0, height = 0, components = 0;
    FILE* file = fopen(path, "rb");
    if (!file) {
        printf("\n%s image not found\n", path);
        return false;
    }
    bool known = stbi_info_from_file(file, &width, &height, &components);
    // Alpha stays, everything else becomes RGB: 8-bit RGB or RGBA whatever was stored.
    int wanted = components == 2 || components == 4 ? 4 : 3;
    unsigned char* pixels =
        known ? stbi_load_from_file(file, &width, &height, &components, wanted) : nullptr;
    fclose(file);
    if (!pixels) {
        printf("\n%s image not usable: %s\n", path, stbi_failure_reason());
        return false;
    }
    image.width = width;
    image.height = height;
    image.components = wanted;
    image.pixels = pixels;
    image.owner = pixels;
    return true;
}

void uploadMipmaps(const DecodedImage& image) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // WebGL2 takes a sized internal format, not a component count.
    bool alpha = image.components == 4;
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA8 : GL_RGB8, image.width, image.height, 0,
                 alpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void releaseImage(DecodedImage& image) {
    stbi_image_free(image.owner);
    image.owner = nullptr;
    image.pixels = nullptr;
}

void forgetImage(unsigned int) {} // releaseImage freed the pixels already
