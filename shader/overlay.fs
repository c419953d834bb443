#version 130
// Author mode's overlay: each quad in its own colour, blended over the picture.
in vec4 quadColour;

out vec4 fragColor;

void main() {
    fragColor = quadColour;
}
