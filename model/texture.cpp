// Texture loading: the platform decodes the image and builds the mipmap chain. Every
// texture made is noted under its file, so that a file changed while the show runs can be
// uploaded again into the textures made from it.
#include <GL/glew.h>
#include <algorithm>
#include <map>

#include "model/model.h"
#include "platform/platform.h"

namespace {
struct TextureFiles {
    std::map<std::string, std::vector<uint32_t>> names; // file -> textures made from it
    bool keepImages = true; // the decoder keeps each image, as at start-up
};
TextureFiles textureFiles;
} // namespace

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
    if (!textureFiles.keepImages)
        forgetImage(model.imageName);
    textureFiles.names[path].push_back(name);
    return name;
}

std::vector<uint32_t> texturesOfFile(const std::string& path) {
    auto found = textureFiles.names.find(path);
    return found == textureFiles.names.end() ? std::vector<uint32_t>() : found->second;
}

void forgetTextures(const std::vector<uint32_t>& names) {
    for (auto& file : textureFiles.names) {
        std::vector<uint32_t>& made = file.second;
        made.erase(std::remove_if(made.begin(), made.end(),
                                  [&](uint32_t name) {
                                      return std::find(names.begin(), names.end(), name) !=
                                             names.end();
                                  }),
                   made.end());
    }
}

void keepDecodedImages(bool keep) {
    textureFiles.keepImages = keep;
}
