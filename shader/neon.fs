#version 130
// Neon: colour map on unit 0 lit by "lightDir"; the glow map on unit 1 adds its own light,
// which the glow passes then spread.
uniform sampler2D firstTexture;
uniform sampler2D normalMap; // the glow map for this program
uniform vec3 lightDir;

in vec2 uv;
in vec3 viewNormal;

out vec4 fragColor;

void main() {
    float diffuse = max(dot(normalize(viewNormal), normalize(lightDir)), 0.0);
    vec3 albedo = texture(firstTexture, uv).rgb;
    vec3 emissive = texture(normalMap, uv).rgb;
    fragColor = vec4(albedo * (0.35 + 0.75 * diffuse) + emissive, 1.0);
}
