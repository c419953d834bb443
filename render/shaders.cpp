// The five shader programs, their locations, and the GPU buffers of every render item
// (the glow builds its own quad, render/glow.cpp). Built once at start-up; nothing here is
// released.
#include <GL/glew.h>
#include <sys/stat.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "model/renderlist.h"
#include "platform/platform.h"
#include "render/internal.h"
#include "render/reload.h"
#include "render/render.h"

Renderer renderer;

// The whole file plus a NUL, or nullptr; the caller frees it (free).
static char* readTextFile(const char* path) {
    if (path == nullptr)
        return nullptr;
    FILE* file = fopen(path, "rt");
    if (file == nullptr)
        return nullptr;
    // A directory opens too, and reports a nonsense length: only regular files are text.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        fclose(file);
        return nullptr;
    }
    char* text = nullptr;
    if (fseek(file, 0, SEEK_END) == 0) {
        long length = ftell(file);
        rewind(file);
        if (length >= 1) {
            text = static_cast<char*>(malloc(size_t(length) + 1));
            if (text != nullptr) {
                // Text mode may hand back fewer bytes than the file holds.
                size_t got = fread(text, 1, size_t(length), file);
                text[got] = '\0';
            }
        }
    }
    fclose(file);
    return text;
}

bool shaderCompiled(unsigned int shader) {
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    return status == GL_TRUE;
}

bool programLinked(unsigned int program) {
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    return status == GL_TRUE;
}

// Where a build's complaints go: printed, or, while a program is rebuilt for a changed
// file, collected so the reload can say in one place which program stays as it was.
static std::string* collectedFailures = nullptr;

static void reportFailure(const std::string& message) {
    if (collectedFailures == nullptr) {
        printf("\n%s", message.c_str());
        return;
    }
    if (!collectedFailures->empty())
        *collectedFailures += "\n";
    *collectedFailures += message;
}

// Reads a source file into the shader, with the variant's defines after the version line.
// A missing or empty file is reported and leaves the shader without source (its program
// then fails to link and draws nothing): GL never sees a null string. Returns whether a
// source was set.
static bool loadShaderSource(unsigned int shader, const char* path, const char* defines = "") {
    char* text = readTextFile(path);
    if (text == nullptr) {
        reportFailure(std::string("shader source missing or empty: ") + path);
        return false;
    }
    // The first line is the platform's: the dialect it compiles (and its precisions).
    const char* body = text;
    if (strncmp(body, "#version", 8) == 0) {
        body = strchr(body, '\n');
        body = body ? body + 1 : "";
    }
    std::string source = std::string(shaderVersionLine());
    // The file's own line numbers in the compiler's log, whatever came before.
    if (*defines != '\0')
        source += std::string(defines) + (body == text ? "#line 1\n" : "#line 2\n");
    source += body;
    const GLchar* sourceText = source.c_str();
    glShaderSource(shader, 1, &sourceText, nullptr);
    free(text);
    return true;
}

// The info log of a shader or a program: the two are asked alike, through different calls.
static std::string infoLog(unsigned int object, PFNGLGETSHADERIVPROC getParameter,
                           PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(size_t(length > 0 ? length : 1), '\0');
    getLog(object, GLsizei(log.size()), nullptr, &log[0]);
    return log.c_str();
}

static std::string shaderLog(unsigned int shader) {
    return infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
}

static std::string programLog(unsigned int program) {
    return infoLog(program, glGetProgramiv, glGetProgramInfoLog);
}

// Compiles; a shader that had a source and fails prints its log under the file name.
static void compileShader(unsigned int shader, bool hasSource, const char* path) {
    glCompileShader(shader);
    if (hasSource && !shaderCompiled(shader))
        reportFailure(std::string(path) + " failed to compile:\n" + shaderLog(shader));
}

// Fragment shader first, then vertex, as the programs have always been put together.
// "vertex" is pinned to attribute 0: a compatibility context may draw nothing unless
// attribute 0 is fed, whatever order the linker would pick.
static unsigned int linkProgram(unsigned int vertexShader, unsigned int fragmentShader,
                                bool bindOutput, const char* vsPath, const char* fsPath) {
    unsigned int program = glCreateProgram();
    glAttachShader(program, fragmentShader);
    glAttachShader(program, vertexShader);
    glBindAttribLocation(program, 0, "vertex");
    if (bindOutput)
        bindFragmentOutput(program, "fragColor");
    glLinkProgram(program);
    if (!programLinked(program))
        reportFailure(std::string("program of ") + vsPath + " and " + fsPath +
                      " failed to link:\n" + programLog(program));
    return program;
}

// Compiles and links a program from its two files, reporting a failure under their names.
unsigned int buildProgram(unsigned int& vertexShader, unsigned int& fragmentShader,
                          const char* vsPath, const char* fsPath, const char* defines,
                          bool bindOutput) {
    vertexShader = glCreateShader(GL_VERTEX_SHADER);
    fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
    bool vsSource = loadShaderSource(vertexShader, vsPath, defines);
    bool fsSource = loadShaderSource(fragmentShader, fsPath, defines);
    compileShader(vertexShader, vsSource, vsPath);
    compileShader(fragmentShader, fsSource, fsPath);
    return linkProgram(vertexShader, fragmentShader, bindOutput, vsPath, fsPath);
}

// Attribute arrays enabled so far, and those fed since the last disableUnfedAttributes,
// one bit per location.
static uint64_t enabledArrays = 0;
static uint64_t fedArrays = 0;

// Feeds a program attribute from the bound array buffer; a name the program lacks (-1)
// is simply not fed.
static void setAttribute(int location, int components) {
    if (location < 0 || location >= 64)
        return;
    glVertexAttribPointer(GLuint(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(GLuint(location));
    enabledArrays |= uint64_t(1) << location;
    fedArrays |= uint64_t(1) << location;
}

// An array left enabled by another draw points into that draw's buffer, which may be
// shorter than this draw's indices reach; GL is free to fetch from it.
void disableUnfedAttributes() {
    uint64_t stale = enabledArrays & ~fedArrays;
    for (GLuint location = 0; stale != 0; location++, stale >>= 1)
        if (stale & 1)
            glDisableVertexAttribArray(location);
    enabledArrays = fedArrays;
    fedArrays = 0;
}

void bindAttribute(unsigned int buffer, int location, int components) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    setAttribute(location, components);
}

unsigned int makeBuffer(unsigned int target, size_t bytes, const void* data) {
    unsigned int buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(bytes), data, GL_STATIC_DRAW);
    return buffer;
}

unsigned int makeAttributeBuffer(size_t bytes, const void* data, int location, int components) {
    unsigned int buffer = makeBuffer(GL_ARRAY_BUFFER, bytes, data);
    setAttribute(location, components);
    return buffer;
}

template <typename T> static size_t byteSize(const std::vector<T>& v) {
    return v.size() * sizeof(T);
}

void uploadRenderItem(int index) {
    const Renderer& r = renderer;
    RenderItem& item = renderItem(index);
    // Sizes come from the arrays themselves, so a short array is never read past its end.
    item.vertexBuffer =
        makeAttributeBuffer(byteSize(item.vertices), item.vertices.data(), r.sceneVertexAttr, 4);
    item.normalBuffer =
        makeAttributeBuffer(byteSize(item.normals), item.normals.data(), r.sceneNormalAttr, 3);
    item.indexBuffer =
        makeBuffer(GL_ELEMENT_ARRAY_BUFFER, byteSize(item.indices), item.indices.data());
    item.texCoordBuffer = makeAttributeBuffer(byteSize(item.texCoords), item.texCoords.data(),
                                              r.sceneTexCoordAttr, 2);
    item.tangentBuffer =
        makeAttributeBuffer(byteSize(item.tangents), item.tangents.data(), r.sceneTangentAttr, 4);
}

// One location of a program's interface: where it goes, and its name.
struct Location {
    int* into;
    const char* uniform;   // a uniform's name, or
    const char* attribute; // an attribute's
};

// Looks the locations up in the program, in the order given.
static void lookUp(unsigned int program, std::initializer_list<Location> locations) {
    for (const Location& l : locations)
        *l.into = l.uniform ? glGetUniformLocation(program, l.uniform)
                            : glGetAttribLocation(program, l.attribute);
}

// The same names in every item program, looked up afresh for each drawn item.
void lookUpItemLocations(unsigned int program) {
    Renderer& r = renderer;
    lookUp(program, {{&r.sceneProjectionLoc, "projectionMatrix", nullptr},
                     {&r.sceneModelViewLoc, "modelViewMatrix", nullptr},
                     {&r.sceneNormalAttr, nullptr, "normal"},
                     {&r.sceneVertexAttr, nullptr, "vertex"},
                     {&r.sceneFirstTextureLoc, "firstTexture", nullptr},
                     {&r.sceneTexCoordAttr, nullptr, "texCoord"},
                     {&r.sceneTangentAttr, nullptr, "tangent"},
                     {&r.sceneNormalMapLoc, "normalMap", nullptr},
                     {&r.sceneLightDirLoc, "lightDir", nullptr}});
}

static void lookUpBloomLocations() {
    Renderer& r = renderer;
    lookUp(r.bloomProgram, {{&r.bloomProjectionLoc, "projectionMatrix", nullptr},
                            {&r.bloomModelViewLoc, "modelViewMatrix", nullptr},
                            {&r.bloomNormalAttr, nullptr, "normal"},
                            {&r.bloomVertexAttr, nullptr, "vertex"},
                            {&r.bloomFirstTextureLoc, "firstTexture", nullptr},
                            {&r.bloomSecondTextureLoc, "secondTexture", nullptr},
                            {&r.bloomTexCoordAttr, nullptr, "texCoord"},
                            {&r.bloomBrightnessLoc, "brightness", nullptr},
                            {&r.bloomDdLoc, "dd", nullptr}});
    r.bloomGlowScaleLoc = glGetUniformLocation(r.bloomProgram, "glowScale");
}

namespace {

// How each program is built: its files, the defines that make it a variant, whether its
// one output is bound by name (the scene and glow programs always have been), where its
// names are kept, and what the renderer keeps of its interface, looked up once it links
// (the item programs' locations are looked up at every draw).
struct ProgramBuild {
    const char* name; // as messages name it
    const char* vertexFile;
    const char* fragmentFile;
    const char* defines;
    bool bindOutput;
    unsigned int Renderer::*program;
    unsigned int Renderer::*vertexShader;
    unsigned int Renderer::*fragmentShader;
    void (*linked)();
};

// By ProgramId. llvmpipe runs every branch of a shader for every fragment, so each
// variant leaves out the lighting its items never take.
const ProgramBuild programBuilds[kProgramCount] = {
    {"scene", "shader/Vertex.vs", "shader/Fragment.fs", "", true, &Renderer::sceneProgram,
     &Renderer::sceneVertexShader, &Renderer::sceneFragmentShader, nullptr},
    {"bloom", "shader/bloom.vs", "shader/bloom.fs", "", true, &Renderer::bloomProgram,
     &Renderer::bloomVertexShader, &Renderer::bloomFragmentShader, lookUpBloomLocations},
    {"normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs", "", false,
     &Renderer::normalMappingProgram, &Renderer::normalMappingVertexShader,
     &Renderer::normalMappingFragmentShader, nullptr},
    {"neon", "shader/neon.vs", "shader/neon.fs", "", false, &Renderer::neonProgram,
     &Renderer::neonVertexShader, &Renderer::neonFragmentShader, nullptr},
    {"flat", "shader/flat.vs", "shader/flat.fs", "", false, &Renderer::flatProgram,
     &Renderer::flatVertexShader, &Renderer::flatFragmentShader, nullptr},
    {"beam", "shader/beam.vs", "shader/beam.fs", "", false, &Renderer::beamProgram,
     &Renderer::beamVertexShader, &Renderer::beamFragmentShader, lookUpBeamLocations},
    {"hall's normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs",
     "#define DAYLIGHT_ONLY\n", false, &Renderer::daylightProgram, &Renderer::daylightVertexShader,
     &Renderer::daylightFragmentShader, nullptr},
    {"harbour's normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs",
     "#define HARBOUR_DUSK_ONLY\n", false, &Renderer::harbourProgram,
     &Renderer::harbourVertexShader, &Renderer::harbourFragmentShader, nullptr},
    {"water's normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs",
     "#define WATER_ONLY\n", false, &Renderer::waterProgram, &Renderer::waterVertexShader,
     &Renderer::waterFragmentShader, nullptr},
    {"visitor's normal mapping", "shader/normalmapping.vs", "shader/normalmapping.fs",
     "#define VISITOR_ONLY\n", false, &Renderer::visitorProgram, &Renderer::visitorVertexShader,
     &Renderer::visitorFragmentShader, nullptr},
    {"glow blur", "shader/bloom.vs", "shader/glowblur.fs", "", false, &Renderer::glowBlurProgram,
     &Renderer::glowBlurVertexShader, &Renderer::glowBlurFragmentShader, lookUpGlowBlurLocations},
};

} // namespace

void buildListedProgram(int which) {
    const ProgramBuild& b = programBuilds[which];
    Renderer& r = renderer;
    r.*b.program = buildProgram(r.*b.vertexShader, r.*b.fragmentShader, b.vertexFile,
                                b.fragmentFile, b.defines, b.bindOutput);
    if (b.linked != nullptr && programLinked(r.*b.program))
        b.linked();
}

bool rebuildProgram(int which, std::string* why) {
    if (which < 0 || which >= kProgramCount)
        return false;
    const ProgramBuild& b = programBuilds[which];
    unsigned int vertexShader = 0, fragmentShader = 0;
    collectedFailures = why;
    unsigned int program = buildProgram(vertexShader, fragmentShader, b.vertexFile, b.fragmentFile,
                                        b.defines, b.bindOutput);
    collectedFailures = nullptr;
    if (!shaderCompiled(vertexShader) || !shaderCompiled(fragmentShader) ||
        !programLinked(program)) {
        glDeleteProgram(program);
        glDeleteShader(vertexShader);
        glDeleteShader(fragmentShader);
        return false;
    }
    Renderer& r = renderer;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    unsigned int old = r.*b.program;
    glDeleteProgram(old);
    glDeleteShader(r.*b.vertexShader);
    glDeleteShader(r.*b.fragmentShader);
    r.*b.program = program;
    r.*b.vertexShader = vertexShader;
    r.*b.fragmentShader = fragmentShader;
    if (b.linked != nullptr)
        b.linked();
    if (GLuint(current) == old)
        glUseProgram(program); // what was current stays current, in its new build
    return true;
}

std::vector<int> programsUsingFile(const std::string& path) {
    std::vector<int> found;
    for (int i = 0; i < kProgramCount; i++)
        if (path == programBuilds[i].vertexFile || path == programBuilds[i].fragmentFile)
            found.push_back(i);
    return found;
}

const char* programLabel(int which) {
    if (which < 0 || which >= kProgramCount)
        return "";
    return programBuilds[which].name;
}

unsigned int programName(int which) {
    if (which < 0 || which >= kProgramCount)
        return 0;
    return renderer.*programBuilds[which].program;
}

void setupShaders(int width, int height) {
    Renderer& r = renderer;
    printf("\nw: %d - h: %d", width, height);
    r.shaderEnabled = true;

    for (int which :
         {kSceneProgram, kBloomProgram, kNormalMappingProgram, kNeonProgram, kFlatProgram,
          kDaylightProgram, kHarbourProgram, kWaterProgram, kVisitorProgram})
        buildListedProgram(which);

    lookUpItemLocations(r.sceneProgram);

    for (int i = 0; i < renderListSize(); i++)
        uploadRenderItem(i);

    glUseProgram(r.sceneProgram);
    glUniform1i(r.sceneFirstTextureLoc, 0);
    glUniform1i(r.sceneNormalMapLoc, 1);

    buildGlowQuad(width, height);
    setupBeam();
    disableUnfedAttributes(); // every draw feeds its own from here on

    glUseProgram(r.bloomProgram);
    glUniform1i(r.bloomFirstTextureLoc, 0);
    glUseProgram(r.sceneProgram);
}

void toggleSceneProgram() {
    Renderer& r = renderer;
    r.shaderEnabled = !r.shaderEnabled;
    if (haveGlContext())
        glUseProgram(r.shaderEnabled ? r.sceneProgram : 0);
}
