#version 130
// Flat: the colour texture as it is, no light (sky boxes).
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal;   // part of the shared item interface; unused here
in vec2 texCoord;
in vec4 tangent;  // likewise

out vec2 uv;

void main() {
    uv = texCoord;
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
