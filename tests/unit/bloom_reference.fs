#version 130
// The glow as it was drawn before its reduced passes: two full-size passes of 9 taps each.
// Kept as the reference that glow_gl_test.cpp compares the glow with; not part of the demo.
// Glow, as a separable Gaussian blur split over the two passes so each pixel takes
// 2 x 9 samples instead of a full square kernel.
//   renderpass 1: firstTexture = the scene. Keep its bright parts and blur them along x.
//   renderpass 2: firstTexture = pass 1, secondTexture = the scene. Finish the blur along
//                 y, then add the glow to the scene.
// "dd" is the distance between taps in texture space along x; along y it is scaled by the
// texture's aspect so the glow stays round.
// "brightness" scales the composite: from 0 to 1 the glow grows from three quarters of
// its strength to the full glow (the second scene runs at 0, where the glow must still
// show), and from 1 to 2 the picture washes out to white, so the fades at the end of each
// scene read as the picture brightening.
uniform sampler2D firstTexture;
uniform sampler2D secondTexture;
uniform float brightness;
uniform float dd;
uniform int renderpass;

in vec2 uv;

out vec4 fragColor;

// Gaussian weights (sigma 2 taps) for the centre and offsets 1 to 4 on each side; their
// sum over -4..4 is 4.8980.
const float w0 = 1.0 / 4.8980, w1 = 0.8825 / 4.8980, w2 = 0.6065 / 4.8980, w3 = 0.3247 / 4.8980,
            w4 = 0.1353 / 4.8980;
const float threshold = 0.6; // luminance where the glow starts
const float knee = 0.3;      // ... and reaches full strength at threshold + knee
const float glowGain = 1.2;
const float glowAtZero = 0.75; // share of the glow at brightness 0

vec3 brightPart(vec3 c) {
    float luminance = dot(c, vec3(0.2126, 0.7152, 0.0722));
    return c * smoothstep(threshold, threshold + knee, luminance);
}

// Taps fetch whole texels: unfiltered fetches cost a software rasteriser well under half
// of filtered ones, and a blur does not need the filtering. Clamped to the edge.
ivec2 texel(vec2 offset) {
    ivec2 size = textureSize(firstTexture, 0);
    return clamp(ivec2((uv + offset) * vec2(size)), ivec2(0), size - 1);
}

vec3 brightAt(vec2 offset) {
    return brightPart(texelFetch(firstTexture, texel(offset), 0).rgb);
}

vec3 glowAt(vec2 offset) {
    return texelFetch(firstTexture, texel(offset), 0).rgb;
}

void main() {
    if (renderpass == 1) {
        vec2 s = vec2(dd, 0.0);
        vec3 sum = w0 * brightAt(vec2(0.0));
        sum += w1 * (brightAt(-s) + brightAt(s));
        sum += w2 * (brightAt(-2.0 * s) + brightAt(2.0 * s));
        sum += w3 * (brightAt(-3.0 * s) + brightAt(3.0 * s));
        sum += w4 * (brightAt(-4.0 * s) + brightAt(4.0 * s));
        fragColor = vec4(sum, 1.0);
        return;
    }

    vec2 size = vec2(textureSize(firstTexture, 0));
    vec2 s = vec2(0.0, dd * size.x / max(size.y, 1.0));
    vec3 glow = w0 * glowAt(vec2(0.0));
    glow += w1 * (glowAt(-s) + glowAt(s));
    glow += w2 * (glowAt(-2.0 * s) + glowAt(2.0 * s));
    glow += w3 * (glowAt(-3.0 * s) + glowAt(3.0 * s));
    glow += w4 * (glowAt(-4.0 * s) + glowAt(4.0 * s));
    vec3 scene = texture(secondTexture, uv).rgb;
    float b = clamp(brightness, 0.0, 2.0);
    vec3 composite = scene + glow * (glowGain * mix(glowAtZero, 1.0, min(b, 1.0)));
    fragColor = vec4(mix(composite, vec3(1.0), max(b - 1.0, 0.0)), 1.0);
}
