#version 130
// Glow passes: the full-screen quad in window pixels, straight through the orthographic
// projection.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal; // the quad's normal; part of the interface, not needed for a flat quad
in vec2 texCoord;

out vec2 uv;

void main() {
    uv = texCoord;
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
