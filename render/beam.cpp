// The lighthouse beam: two cones of light turning about the lantern, drawn after the items
// and added to what they left, behind the depth test but not writing depth. It has its own
// program, so the items' programs and their interface stay as they are.
#include <GL/glew.h>

#include <cmath>
#include <vector>

#include "render/internal.h"
#include "render/render.h"

namespace {

constexpr int kSides = 48;
constexpr float kLength = 240.0f;   // world units from the lantern to where the beam fades
constexpr float kNearRadius = 0.6f; // inside the lantern's glass
constexpr float kFarRadius = 20.0f;
constexpr float kStrength = 0.22f;

// One cone along +x or -x: a ring at the lantern and one at the far end, sides between.
void addCone(float direction, std::vector<float>& vertices, std::vector<float>& normals,
             std::vector<float>& texCoords, std::vector<unsigned int>& indices) {
    unsigned int first = unsigned(vertices.size() / 4);
    for (int end = 0; end < 2; end++) {
        float x = direction * (end ? kLength : 0.0f);
        float radius = end ? kFarRadius : kNearRadius;
        for (int i = 0; i < kSides; i++) {
            float a = 2.0f * float(M_PI) * float(i) / kSides;
            float y = std::cos(a), z = std::sin(a);
            vertices.insert(vertices.end(), {x, radius * y, radius * z, 1.0f});
            normals.insert(normals.end(), {0.0f, y, z});
            texCoords.insert(texCoords.end(), {float(end), 0.0f});
        }
    }
    for (unsigned int i = 0; i < kSides; i++) {
        unsigned int next = (i + 1) % kSides;
        unsigned int a = first + i, b = first + next, c = first + kSides + i,
                     d = first + kSides + next;
        indices.insert(indices.end(), {a, b, d, a, d, c});
    }
}

} // namespace

void lookUpBeamLocations() {
    Renderer& r = renderer;
    r.beamUsable = true; // it linked
    r.beamProjectionLoc = glGetUniformLocation(r.beamProgram, "projectionMatrix");
    r.beamModelViewLoc = glGetUniformLocation(r.beamProgram, "modelViewMatrix");
    r.beamStrengthLoc = glGetUniformLocation(r.beamProgram, "strength");
    r.beamVertexAttr = glGetAttribLocation(r.beamProgram, "vertex");
    r.beamNormalAttr = glGetAttribLocation(r.beamProgram, "normal");
    r.beamTexCoordAttr = glGetAttribLocation(r.beamProgram, "texCoord");
}

// The cones are built whether or not the program links: a rebuilt program may shine later.
void setupBeam() {
    Renderer& r = renderer;
    r.beamUsable = false;
    buildListedProgram(kBeamProgram); // its log says why, where it does not link

    std::vector<float> vertices, normals, texCoords;
    std::vector<unsigned int> indices;
    addCone(1.0f, vertices, normals, texCoords, indices);
    addCone(-1.0f, vertices, normals, texCoords, indices);
    r.beamVertexBuffer =
        makeBuffer(GL_ARRAY_BUFFER, vertices.size() * sizeof(float), vertices.data());
    r.beamNormalBuffer =
        makeBuffer(GL_ARRAY_BUFFER, normals.size() * sizeof(float), normals.data());
    r.beamTexCoordBuffer =
        makeBuffer(GL_ARRAY_BUFFER, texCoords.size() * sizeof(float), texCoords.data());
    r.beamIndexBuffer =
        makeBuffer(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(unsigned int), indices.data());
    r.beamIndexCount = int(indices.size());
}

void drawBeam(const float* modelView, const float* projection) {
    const Renderer& r = renderer;
    if (!r.beamUsable)
        return; // a beam that did not build is left out; its log said why
    glUseProgram(r.beamProgram);
    bindAttribute(r.beamVertexBuffer, r.beamVertexAttr, 4);
    bindAttribute(r.beamNormalBuffer, r.beamNormalAttr, 3);
    bindAttribute(r.beamTexCoordBuffer, r.beamTexCoordAttr, 2);
    disableUnfedAttributes();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, r.beamIndexBuffer);
    glUniformMatrix4fv(r.beamProjectionLoc, 1, GL_FALSE, projection);
    glUniformMatrix4fv(r.beamModelViewLoc, 1, GL_FALSE, modelView);
    glUniform1f(r.beamStrengthLoc, kStrength);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    glDrawElements(GL_TRIANGLES, r.beamIndexCount, GL_UNSIGNED_INT, nullptr);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
