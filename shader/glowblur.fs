#version 130
// The glow's blur, between the two passes of shader/bloom.fs, along one axis of the glow
// image (the scene's width, 1 / "glowScale" of its height), "dd" wide as the taps of a
// full-size blur had it: 9 taps "dd" apart in texture space along x, Gaussian weights
// (sigma 2 taps), and the same number of pixels along y, so the glow stays round.
//   vertical 0: firstTexture = the glow target, whose lower-left corner holds the glow
//               image; along x, into the small target. The taps are pixel for pixel those
//               of the full-size blur, so the glow keeps the fine lines they draw beside
//               sharp bright edges.
//   vertical 1: firstTexture = the small target; along y, back into the corner. The rows
//               are fewer, so the blur is the Gaussian the taps sampled, taken on every row.
// One loop of whole-texel taps serves both: a software rasteriser runs every branch of a
// shader for every pixel, and pays several times more for filtered fetches.
uniform sampler2D firstTexture;
uniform float dd;
uniform int glowScale;
uniform int vertical;

out vec4 fragColor;

// For offsets -4 to 4; their sum is 4.8980.
const float gauss[9] =
    float[9](0.1353 / 4.8980, 0.3247 / 4.8980, 0.6065 / 4.8980, 0.8825 / 4.8980, 1.0 / 4.8980,
             0.8825 / 4.8980, 0.6065 / 4.8980, 0.3247 / 4.8980, 0.1353 / 4.8980);

void main() {
    ivec2 size = textureSize(firstTexture, 0);
    ivec2 here = ivec2(gl_FragCoord.xy);
    float scale = float(glowScale);
    ivec2 axis, limit;
    float start, spacing;
    // Along y a Gaussian of the same spread on every glow row, less what averaging the rows
    // and interpolating between them add; its taps one row apart, or further for a wide blur.
    float pixels = dd * float(size.x);
    float variance = max((pixels * pixels * (4.0 + 1.0 / 12.0) - (scale * scale - 1.0) / 12.0 -
                          scale * scale / 6.0) /
                             (scale * scale),
                         0.01);
    float reach = 4.5 * abs(pixels) / scale;
    if (vertical == 1) {
        axis = ivec2(0, 1);
        limit = size;
        spacing = max(ceil(reach / 8.0), 1.0);
        start = float(here.y) + 0.5 - 8.0 * spacing;
    } else {
        axis = ivec2(1, 0);
        limit = ivec2(size.x, int(ceil(float(size.y) / scale)));
        spacing = pixels;
        start = float(here.x) + 0.5 - 4.0 * spacing;
    }
    vec3 sum = vec3(0.0);
    float total = 0.0;
    for (int k = 0; k < 17; k++) {
        int along = int(floor(start + float(k) * spacing));
        ivec2 at = clamp(here * (ivec2(1) - axis) + along * axis, ivec2(0), limit - 1);
        float d = (float(k) - 8.0) * spacing;
        float w = vertical == 1 ? (abs(d) <= reach + 0.5 ? exp(-d * d / (2.0 * variance)) : 0.0)
                                : (k < 9 ? gauss[k] : 0.0);
        sum += w * texelFetch(firstTexture, at, 0).rgb;
        total += w;
    }
    fragColor = vec4(sum / total, 1.0);
}
