#version 130
// Author mode's overlay: flat quads given in window pixels, the origin at the top left.
uniform vec2 windowSize;

in vec2 vertex;
in vec4 colour;

out vec4 quadColour;

void main() {
    quadColour = colour;
    gl_Position = vec4(vertex.x / windowSize.x * 2.0 - 1.0, 1.0 - vertex.y / windowSize.y * 2.0,
                       0.0, 1.0);
}
