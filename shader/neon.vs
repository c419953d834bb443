#version 130
// Neon: lit like the scene program (view-space "lightDir", see normalmapping.vs), with an
// emissive glow map.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal;
in vec2 texCoord;
in vec4 tangent; // part of the shared item interface; unused here

out vec2 uv;
out vec3 viewNormal;

void main() {
    viewNormal = mat3(modelViewMatrix) * normal;
    uv = texCoord;
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
