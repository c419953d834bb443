#version 130
// The lighthouse beam: brightest where the cone is seen face on, fading to nothing at its
// silhouette (so it reads as a shaft of light, not a solid) and towards its far end.
uniform float strength;

in vec3 viewPosition;
in vec3 viewNormal;
in float along;

out vec4 fragColor;

void main() {
    float facing = abs(dot(normalize(viewNormal), normalize(viewPosition)));
    float fade = 1.0 - along;
    vec3 light = vec3(1.0, 0.86, 0.6) * strength * facing * facing * fade * fade;
    fragColor = vec4(light, 1.0);
}
