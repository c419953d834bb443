#version 130
// Normal mapping. Lighting is done in view space: "lightDir" is a direction in view space
// pointing from the surface towards the light, so the light stays put relative to the
// viewer (a lamp to the right of the camera) and every surface the camera sees reads well.
// modelViewMatrix holds only rotations and translations, so its upper 3x3 turns normals
// and tangents without an inverse-transpose.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal;
in vec2 texCoord;
in vec4 tangent; // xyz unit tangent along +u, w handedness of the bitangent

out vec2 uv;
out vec3 viewPos;
out vec3 viewNormal;
out vec3 viewTangent;
out float handedness;

void main() {
    vec4 p = modelViewMatrix * vertex;
    mat3 turn = mat3(modelViewMatrix);
    viewPos = p.xyz;
    viewNormal = turn * normal;
    viewTangent = turn * tangent.xyz;
    handedness = tangent.w < 0.0 ? -1.0 : 1.0;
    uv = texCoord;
    gl_Position = projectionMatrix * p;
}
