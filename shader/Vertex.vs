#version 130
// The scene program: textured, lit per pixel by the view-space direction "lightDir"
// (as in normalmapping.vs) with the geometric normal.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal;
in vec2 texCoord;
in vec4 tangent; // part of the shared item interface; plain lighting needs no tangent

out vec2 uv;
out vec3 viewNormal;

void main() {
    viewNormal = mat3(modelViewMatrix) * normal;
    uv = texCoord;
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
