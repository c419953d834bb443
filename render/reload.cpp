// Rebuilding programs from changed sources, and the GL side of models and textures read
// again while the show runs. A new object is made first; the old one goes only once the
// new one is in place, so a bad file never leaves the show without its program.
#include <GL/glew.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "render/internal.h"
#include "render/reload.h"

namespace {

// A program with the two files it is built from and where render/ keeps it.
struct ProgramFiles {
    const char* name;
    const char* vsPath;
    const char* fsPath;
    unsigned int Renderer::*program;
    unsigned int Renderer::*vertexShader;
    unsigned int Renderer::*fragmentShader;
    bool bindOutput;                      // "fragColor" bound to colour 0 before linking
    void (*lookUp)(unsigned int program); // locations kept by render/, or nullptr
};

void lookUpBloom(unsigned int program) {
    Renderer& r = renderer;
    r.bloomProjectionLoc = glGetUniformLocation(program, "projectionMatrix");
    r.bloomModelViewLoc = glGetUniformLocation(program, "modelViewMatrix");
    r.bloomNormalAttr = glGetAttribLocation(program, "normal");
    r.bloomVertexAttr = glGetAttribLocation(program, "vertex");
    r.bloomFirstTextureLoc = glGetUniformLocation(program, "firstTexture");
    r.bloomSecondTextureLoc = glGetUniformLocation(program, "secondTexture");
    r.bloomTexCoordAttr = glGetAttribLocation(program, "texCoord");
    r.bloomBrightnessLoc = glGetUniformLocation(program, "brightness");
    r.bloomDdLoc = glGetUniformLocation(program, "dd");
}

void lookUpBeam(unsigned int program) {
    Renderer& r = renderer;
    r.beamProjectionLoc = glGetUniformLocation(program, "projectionMatrix");
    r.beamModelViewLoc = glGetUniformLocation(program, "modelViewMatrix");
    r.beamStrengthLoc = glGetUniformLocation(program, "strength");
    r.beamVertexAttr = glGetAttribLocation(program, "vertex");
    r.beamNormalAttr = glGetAttribLocation(program, "normal");
    r.beamTexCoordAttr = glGetAttribLocation(program, "texCoord");
    r.beamUsable = true;
}

// The item programs' locations are looked up for every drawn item: nothing to keep.
const ProgramFiles programFiles[] = {
    {"scene", "shader/Vertex.vs", "shader/Fragment.fs", &Renderer::sceneProgram,
     &Renderer::sceneVertexShader, &Renderer::sceneFragmentShader, true, nullptr},
    {"bloom", "shader/bloom.vs", "shader/bloom.fs", &Renderer::bloomProgram,
     &Renderer::bloomVertexShader, &Renderer::bloomFragmentShader, true, lookUpBloom},
    {"normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs",
     &Renderer::normalMappingProgram, &Renderer::normalMappingVertexShader,
     &Renderer::normalMappingFragmentShader, false, nullptr},
    {"neon", "shader/neon.vs", "shader/neon.fs", &Renderer::neonProgram,
     &Renderer::neonVertexShader, &Renderer::neonFragmentShader, false, nullptr},
    {"flat", "shader/flat.vs", "shader/flat.fs", &Renderer::flatProgram,
     &Renderer::flatVertexShader, &Renderer::flatFragmentShader, false, nullptr},
    {"beam", "shader/beam.vs", "shader/beam.fs", &Renderer::beamProgram,
     &Renderer::beamVertexShader, &Renderer::beamFragmentShader, false, lookUpBeam},
};

bool usesFile(const ProgramFiles& p, const std::string& path) {
    return path == p.vsPath || path == p.fsPath;
}

std::string infoLog(unsigned int object, bool program) {
    GLint length = 0;
    if (program)
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(size_t(length > 0 ? length : 1), '\0');
    if (program)
        glGetProgramInfoLog(object, GLsizei(log.size()), nullptr, &log[0]);
    else
        glGetShaderInfoLog(object, GLsizei(log.size()), nullptr, &log[0]);
    return log.c_str();
}

// The file's text under the platform's version line, as start-up gives it; false for a
// missing or empty file.
bool setSource(unsigned int shader, const char* path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::string body = text.str();
    if (!file || body.empty())
        return false;
    if (body.compare(0, 8, "#version") == 0) {
        size_t end = body.find('\n');
        body = end == std::string::npos ? "" : body.substr(end + 1);
    }
    std::string source = std::string(shaderVersionLine()) + body;
    const GLchar* sourceText = source.c_str();
    glShaderSource(shader, 1, &sourceText, nullptr);
    return true;
}

// Compiles one shader; on failure says why under the file's name into why.
unsigned int compile(GLenum kind, const char* path, std::string& why) {
    unsigned int shader = glCreateShader(kind);
    if (!setSource(shader, path)) {
        why += std::string(path) + ": missing or empty\n";
        return shader;
    }
    glCompileShader(shader);
    if (!shaderCompiled(shader))
        why += std::string(path) + " failed to compile:\n" + infoLog(shader, false);
    return shader;
}

bool rebuild(const ProgramFiles& p, std::vector<std::string>& failures) {
    std::string why;
    unsigned int vs = compile(GL_VERTEX_SHADER, p.vsPath, why);
    unsigned int fs = compile(GL_FRAGMENT_SHADER, p.fsPath, why);
    unsigned int program = 0;
    if (why.empty()) {
        program = glCreateProgram();
        glAttachShader(program, fs);
        glAttachShader(program, vs);
        glBindAttribLocation(program, 0, "vertex");
        if (p.bindOutput)
            bindFragmentOutput(program, "fragColor");
        glLinkProgram(program);
        if (!programLinked(program))
            why = std::string("program of ") + p.vsPath + " and " + p.fsPath +
                  " failed to link:\n" + infoLog(program, true);
    }
    if (!why.empty()) {
        glDeleteProgram(program);
        glDeleteShader(vs);
        glDeleteShader(fs);
        failures.push_back(std::string("the ") + p.name + " program stays as it was: " + why);
        return false;
    }
    Renderer& r = renderer;
    // Deleting the program in use only marks it: GL frees it once another is bound.
    glDeleteProgram(r.*p.program);
    glDeleteShader(r.*p.vertexShader);
    glDeleteShader(r.*p.fragmentShader);
    r.*p.program = program;
    r.*p.vertexShader = vs;
    r.*p.fragmentShader = fs;
    if (p.lookUp)
        p.lookUp(program);
    // The key x leaves the scene program bound between frames, or none.
    if (p.program == &Renderer::sceneProgram && r.shaderEnabled)
        glUseProgram(program);
    return true;
}

} // namespace

bool isShaderSource(const std::string& path) {
    for (const ProgramFiles& p : programFiles)
        if (usesFile(p, path))
            return true;
    return false;
}

std::vector<std::string> rebuildProgramsOf(const std::string& path) {
    std::vector<std::string> failures;
    for (const ProgramFiles& p : programFiles)
        if (usesFile(p, path))
            rebuild(p, failures);
    return failures;
}

template <typename T> static size_t byteSize(const std::vector<T>& v) {
    return v.size() * sizeof(T);
}

void uploadItemBuffers(RenderItem& item) {
    item.vertexBuffer = makeBuffer(GL_ARRAY_BUFFER, byteSize(item.vertices), item.vertices.data());
    item.normalBuffer = makeBuffer(GL_ARRAY_BUFFER, byteSize(item.normals), item.normals.data());
    item.indexBuffer =
        makeBuffer(GL_ELEMENT_ARRAY_BUFFER, byteSize(item.indices), item.indices.data());
    item.texCoordBuffer =
        makeBuffer(GL_ARRAY_BUFFER, byteSize(item.texCoords), item.texCoords.data());
    item.tangentBuffer = makeBuffer(GL_ARRAY_BUFFER, byteSize(item.tangents), item.tangents.data());
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

uint64_t backBufferChecksum(int width, int height) {
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    // FNV-1a, byte by byte.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : pixels)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}
