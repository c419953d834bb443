// What only render/ uses, and the tests and benchmarks that look inside it: the GL names
// of the programs, shaders, buffers and targets, the location variables, and the pieces of
// the frame.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Everything render/ keeps between calls. Set-up writes it (shaders.cpp, glow.cpp,
// targets.cpp); after that only the item locations change, refilled by every item draw
// (draw.cpp), and shaderEnabled, flipped by the key x (toggleSceneProgram).
struct Renderer {
    // Programs, and their ten shader objects, kept but not used after linking.
    unsigned int sceneProgram, bloomProgram, normalMappingProgram, neonProgram, flatProgram;
    unsigned int sceneVertexShader, sceneFragmentShader, bloomVertexShader, bloomFragmentShader,
        normalMappingVertexShader, normalMappingFragmentShader, neonVertexShader,
        neonFragmentShader, flatVertexShader, flatFragmentShader;
    bool shaderEnabled; // which program the key x bound last
    // Variants of the normal-mapping program, each compiled with only the lighting its
    // items' maps ask for (shader/normalmapping.fs), and their shaders.
    unsigned int daylightProgram, harbourProgram, waterProgram, visitorProgram;
    unsigned int daylightVertexShader, daylightFragmentShader, harbourVertexShader,
        harbourFragmentShader, waterVertexShader, waterFragmentShader, visitorVertexShader,
        visitorFragmentShader;

    // Item-program locations: one shared set, refilled for each drawn item's program; -1
    // until looked up, so a stray upload before set-up lands nowhere.
    int sceneProjectionLoc = -1, sceneModelViewLoc = -1, sceneNormalAttr = -1, sceneVertexAttr = -1,
        sceneFirstTextureLoc = -1, sceneTexCoordAttr = -1, sceneTangentAttr = -1,
        sceneNormalMapLoc = -1, sceneLightDirLoc = -1;
    // Glow-program locations, looked up once.
    int bloomProjectionLoc = -1, bloomModelViewLoc = -1, bloomNormalAttr = -1, bloomVertexAttr = -1,
        bloomFirstTextureLoc = -1, bloomSecondTextureLoc = -1, bloomTexCoordAttr = -1,
        bloomBrightnessLoc = -1, bloomDdLoc = -1;

    // The glow's full-screen quad, and the height it was built for (the targets').
    unsigned int quadVertexBuffer, quadNormalBuffer, quadIndexBuffer, quadTexCoordBuffer;
    float quadHeight;

    // The lighthouse beam's program, its locations and its cones (render/beam.cpp).
    unsigned int beamProgram, beamVertexShader, beamFragmentShader;
    int beamProjectionLoc = -1, beamModelViewLoc = -1, beamStrengthLoc = -1, beamVertexAttr = -1,
        beamNormalAttr = -1, beamTexCoordAttr = -1;
    unsigned int beamVertexBuffer, beamNormalBuffer, beamTexCoordBuffer, beamIndexBuffer;
    int beamIndexCount;
    bool beamUsable; // its program linked

    // The off-screen targets.
    unsigned int sceneFbo, sceneDepthBuffer, sceneFboTexture;
    unsigned int glowFbo, glowDepthBuffer, glowFboTexture;

    // The glow image has the scene's width and 1 / glowScale of its height, in the
    // lower-left corner of glowFbo (glowWidth x glowHeight); glowSmallFbo, of that size,
    // holds the blur along x between. The targets' size, which the corner is taken from.
    int glowScale, glowWidth, glowHeight, targetWidth, targetHeight;
    unsigned int glowSmallFbo, glowSmallTexture;
    int bloomGlowScaleLoc = -1;
    // The glow's blur program ("shader/bloom.vs" and "shader/glowblur.fs") and its
    // locations; "vertex" is attribute 0, as in the bloom program.
    unsigned int glowBlurProgram, glowBlurVertexShader, glowBlurFragmentShader;
    int blurProjectionLoc = -1, blurModelViewLoc = -1, blurFirstTextureLoc = -1, blurDdLoc = -1,
        blurGlowScaleLoc = -1, blurVerticalLoc = -1;
    // Where the finished picture goes: 0, the window, unless setOutputTarget chose one.
    unsigned int outputFbo = 0, outputColorBuffer = 0, outputDepthBuffer = 0;
};
extern Renderer renderer;

bool shaderCompiled(unsigned int shader);
bool programLinked(unsigned int program);
// The nine item locations of the program, into renderer's scene* fields.
void lookUpItemLocations(unsigned int program);
// A new buffer, bound to target and filled once.
unsigned int makeBuffer(unsigned int target, size_t bytes, const void* data);
// The same for an array buffer that feeds the attribute at location.
unsigned int makeAttributeBuffer(size_t bytes, const void* data, int location, int components);
// Binds buffer as the array buffer and feeds the attribute at location from it (floats,
// tightly packed), enabled; a location of -1 (a name the program lacks) is left alone.
void bindAttribute(unsigned int buffer, int location, int components);
// Compiles and links a program from its two files, the defines after their version line,
// reporting a failure under their names.
unsigned int buildProgram(unsigned int& vertexShader, unsigned int& fragmentShader,
                          const char* vsPath, const char* fsPath, const char* defines,
                          bool bindOutput);

// Every program the renderer builds, by its row in the table of render/shaders.cpp.
enum ProgramId {
    kSceneProgram,
    kBloomProgram,
    kNormalMappingProgram,
    kNeonProgram,
    kFlatProgram,
    kBeamProgram,
    kDaylightProgram, // normal mapping, daylight only: the hall
    kHarbourProgram,  // normal mapping, the harbour at dusk but its water
    kWaterProgram,    // normal mapping, the harbour's water
    kVisitorProgram,  // normal mapping, the UFO and its platform at dusk
    kGlowBlurProgram, // the glow's blur between the bloom program's two passes
    kProgramCount
};
// Builds that program for set-up, kept whether or not it links (one that does not draws
// nothing); the locations kept for it are looked up once it links.
void buildListedProgram(int which);
// Builds the program anew from its files and swaps it in only if both shaders compile and
// it links (the old one is then deleted, and the locations kept for it looked up again);
// otherwise the old one stays and the log says why: printed, or into why where it is
// given. Any id outside the table: false.
bool rebuildProgram(int which, std::string* why = nullptr);
// The programs built from that file, named as the table names it ("shader/flat.fs").
std::vector<int> programsUsingFile(const std::string& path);
// The program's name in messages ("flat", "hall's normal mapping"); "" outside the table.
const char* programLabel(int which);
// The program's GL name now (it changes when rebuilt); 0 outside the table.
unsigned int programName(int which);
// Disables every array enabled earlier that was not fed since the last call: each draw
// calls it once its attributes are bound.
void disableUnfedAttributes();

// --- the lighthouse beam (render/beam.cpp) ---
void setupBeam();               // its program and cones; called by setupShaders
void lookUpBeamLocations();     // after its program (re)linked
void lookUpGlowBlurLocations(); // the same for the glow's blur (render/glow.cpp)
// The beam with that model-view (the lantern's place and turn) added to the picture.
void drawBeam(const float* modelView, const float* projection);

// --- the glow's full-screen quad (render/glow.cpp) ---
void buildGlowQuad(int width, int height);  // in pixels; called by setupShaders
void resizeGlowQuad(int width, int height); // into the existing buffer
