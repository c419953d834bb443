#version 130
// Glow, the first and last of its passes; the blur between them is shader/glowblur.fs.
//   renderpass 1: firstTexture = the scene. The bright part of each pixel, averaged over
//                 the "glowScale" rows of each row of the glow image: full width, a
//                 fraction of the height, in the lower-left corner of the glow target.
//   renderpass 2: firstTexture = the glow target, blurred; secondTexture = the scene. The
//                 glow, interpolated between its rows, added to the scene.
// "brightness" scales the composite: from 0 to 1 the glow grows from three quarters of
// its strength to the full glow (the second scene runs at 0, where the glow must still
// show), and from 1 to 2 the picture washes out to white, so the fades at the end of each
// scene read as the picture brightening. "dd" is the blur's.
// A software rasteriser runs every branch of a shader for every pixel, and pays several
// times more for a filtered fetch than for a whole texel: both passes share one loop of
// four whole-texel taps down a column, and the branches only choose them and their weights.
uniform sampler2D firstTexture;
uniform sampler2D secondTexture;
uniform float brightness;
uniform float dd;
uniform int renderpass;
uniform int glowScale; // scene rows per glow row: at most 4, the taps of the loop below

in vec2 uv;

out vec4 fragColor;

const float threshold = 0.6; // luminance where the glow starts
const float knee = 0.3;      // ... and reaches full strength at threshold + knee
const float glowGain = 1.2;
const float glowAtZero = 0.75; // share of the glow at brightness 0

void main() {
    ivec2 size = textureSize(firstTexture, 0);
    float scale = float(glowScale);
    ivec2 column;
    int limit;                        // rows to stay within
    float bright = 0.0;               // 1: take the bright part of each tap
    vec4 weights = vec4(1.0 / scale); // of the four taps
    if (renderpass == 1) {
        column = ivec2(gl_FragCoord.x, int(gl_FragCoord.y) * glowScale);
        limit = size.y;
        bright = 1.0;
        weights *= vec4(lessThan(ivec4(0, 1, 2, 3), ivec4(glowScale)));
    } else {
        // The two glow rows whose centres enclose this pixel's centre.
        ivec2 sceneSize = textureSize(secondTexture, 0);
        ivec2 pixel = clamp(ivec2(uv * vec2(sceneSize)), ivec2(0), sceneSize - 1);
        float row = (float(pixel.y) + 0.5) / scale - 0.5;
        column = ivec2(pixel.x, int(floor(row)));
        limit = int(ceil(float(sceneSize.y) / scale));
        weights = vec4(1.0 - fract(row), fract(row), 0.0, 0.0);
    }

    vec3 sum = vec3(0.0);
    for (int k = 0; k < 4; k++) {
        ivec2 at = ivec2(column.x, clamp(column.y + k, 0, limit - 1));
        vec3 c = texelFetch(firstTexture, at, 0).rgb;
        float luminance = dot(c, vec3(0.2126, 0.7152, 0.0722));
        sum +=
            c * (weights[k] * mix(1.0, smoothstep(threshold, threshold + knee, luminance), bright));
    }
    if (renderpass == 1) {
        fragColor = vec4(sum, 1.0);
        return;
    }

    ivec2 sceneSize = textureSize(secondTexture, 0);
    vec3 scene =
        texelFetch(secondTexture, clamp(ivec2(uv * vec2(sceneSize)), ivec2(0), sceneSize - 1), 0)
            .rgb;
    float b = clamp(brightness, 0.0, 2.0);
    vec3 composite = scene + sum * (glowGain * mix(glowAtZero, 1.0, min(b, 1.0)));
    fragColor = vec4(mix(composite, vec3(1.0), max(b - 1.0, 0.0)), 1.0);
}
