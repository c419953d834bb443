#version 130
// Flat: the colour texture as it is.
uniform sampler2D firstTexture;
uniform sampler2D normalMap; // part of the shared item interface; unused here
uniform vec3 lightDir;       // likewise

in vec2 uv;

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(firstTexture, uv).rgb, 1.0);
}
