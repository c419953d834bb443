// Rebuilding programs from changed sources, and the GL side of models and textures read
// again while the show runs. A new object is made first; the old one goes only once the
// new one is in place, so a bad file never leaves the show without its program.
#include <GL/glew.h>
#include <cstdio>

#include "render/internal.h"
#include "render/reload.h"

bool isShaderSource(const std::string& path) {
    return !programsUsingFile(path).empty();
}

std::vector<std::string> rebuildProgramsOf(const std::string& path) {
    // The variants of one file usually fail alike: one message names them all.
    std::vector<std::string> whys, names;
    for (int which : programsUsingFile(path)) {
        std::string why;
        if (rebuildProgram(which, &why))
            continue;
        size_t i = 0;
        while (i < whys.size() && whys[i] != why)
            i++;
        if (i == whys.size()) {
            whys.push_back(why);
            names.push_back(programLabel(which));
        } else {
            names[i] += std::string(", ") + programLabel(which);
        }
    }
    std::vector<std::string> failures;
    for (size_t i = 0; i < whys.size(); i++) {
        bool several = names[i].find(", ") != std::string::npos;
        failures.push_back(
            "the " + names[i] +
            (several ? " programs stay as they were: " : " program stays as it was: ") + whys[i]);
    }
    return failures;
}

void deleteItemBuffers(RenderItem& item) {
    GLuint buffers[] = {item.vertexBuffer, item.normalBuffer, item.indexBuffer, item.texCoordBuffer,
                        item.tangentBuffer};
    glDeleteBuffers(5, buffers);
    item.vertexBuffer = item.normalBuffer = item.indexBuffer = item.texCoordBuffer =
        item.tangentBuffer = 0;
}

void deleteTextures(const std::vector<uint32_t>& names) {
    if (!names.empty())
        glDeleteTextures(GLsizei(names.size()), names.data());
}

void refillTexture(uint32_t name, const DecodedImage& image) {
    glBindTexture(GL_TEXTURE_2D, name);
    uploadMipmaps(image);
}

GlObjectCounts countGlObjects() {
    GlObjectCounts counts;
    GLuint probe = 0;
    glGenBuffers(1, &probe);
    for (GLuint name = 1; name < probe; name++)
        counts.buffers += glIsBuffer(name) ? 1 : 0;
    glDeleteBuffers(1, &probe);
    glGenTextures(1, &probe);
    for (GLuint name = 1; name < probe; name++)
        counts.textures += glIsTexture(name) ? 1 : 0;
    glDeleteTextures(1, &probe);
    // Programs and shaders share their names.
    probe = glCreateShader(GL_VERTEX_SHADER);
    for (GLuint name = 1; name < probe; name++) {
        counts.programs += glIsProgram(name) ? 1 : 0;
        counts.shaders += glIsShader(name) ? 1 : 0;
    }
    glDeleteShader(probe);
    return counts;
}
