#version 130
// Glow, as a separable Gaussian blur split over the two passes so each pixel takes
// 2 x (2 * taps + 1) samples instead of a full square kernel.
//   renderpass 1: firstTexture = the scene. Keep its bright parts and blur them along x.
//   renderpass 2: firstTexture = pass 1, secondTexture = the scene. Finish the blur along
//                 y, then add the glow to the scene.
// "dd" is the distance between taps in texture space along x; along y it is scaled by the
// texture's aspect so the glow stays round.
// "brightness" scales the composite: 0 gives the plain scene, 1 the normal glow, and
// from 1 to 2 the picture washes out to white, so the fades at the end of each scene read
// as the picture brightening.
uniform sampler2D firstTexture;
uniform sampler2D secondTexture;
uniform float brightness;
uniform float dd;
uniform int renderpass;

in vec2 uv;

out vec4 fragColor;

const int taps = 6;          // on each side of the centre
const float sigma = 3.0;     // in taps
const float threshold = 0.6; // luminance where the glow starts
const float knee = 0.3;      // ... and reaches full strength at threshold + knee
const float glowGain = 1.2;

float weight(int i) {
    return exp(-float(i * i) / (2.0 * sigma * sigma));
}

vec3 brightPart(vec3 c) {
    float luminance = dot(c, vec3(0.2126, 0.7152, 0.0722));
    return c * smoothstep(threshold, threshold + knee, luminance);
}

void main() {
    vec3 sum = vec3(0.0);
    float total = 0.0;
    if (renderpass == 1) {
        for (int i = -taps; i <= taps; i++) {
            float w = weight(i);
            sum += w * brightPart(texture(firstTexture, uv + vec2(float(i) * dd, 0.0)).rgb);
            total += w;
        }
        fragColor = vec4(sum / total, 1.0);
        return;
    }

    vec2 size = vec2(textureSize(firstTexture, 0));
    float stepY = dd * size.x / max(size.y, 1.0);
    for (int i = -taps; i <= taps; i++) {
        float w = weight(i);
        sum += w * texture(firstTexture, uv + vec2(0.0, float(i) * stepY)).rgb;
        total += w;
    }
    vec3 glow = sum / total;
    vec3 scene = texture(secondTexture, uv).rgb;
    float b = clamp(brightness, 0.0, 2.0);
    vec3 composite = scene + glow * (glowGain * min(b, 1.0));
    fragColor = vec4(mix(composite, vec3(1.0), max(b - 1.0, 0.0)), 1.0);
}
