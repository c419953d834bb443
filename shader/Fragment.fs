#version 130
// The scene program: colour map on unit 0, diffuse light plus ambient.
uniform sampler2D firstTexture;
uniform sampler2D normalMap; // part of the shared item interface; unused here
uniform vec3 lightDir;

in vec2 uv;
in vec3 viewNormal;

out vec4 fragColor;

void main() {
    float diffuse = max(dot(normalize(viewNormal), normalize(lightDir)), 0.0);
    vec3 albedo = texture(firstTexture, uv).rgb;
    fragColor = vec4(albedo * (0.35 + 0.75 * diffuse), 1.0);
}
