#version 130
// Normal mapping: colour map on unit 0, tangent-space normal map on unit 1 (see
// normalmapping.vs for the space the light is worked out in).
// The normal map's alpha says how the surface is lit (maps without alpha read 1):
//   above 0.9     daylight: ambient plus the lamp beside the viewer ("lightDir");
//   0.5 to 0.85   the harbour at dusk: sky light, the street lamps and the haze around
//                 them, and light of its own (emission) rising from 0 at 0.85 to 1 at 0.5;
//   0.25 to 0.45  the UFO and its platform at dusk: sky light and emission from 0 at 0.45
//                 to 1 at 0.25. They move, and the harbour's lamps, known only in harbour
//                 terms, would move with them;
//   below 0.15    water at dusk: the sky and the lamps mirrored in its ripples, fading
//                 into the haze of the horizon far out.
// Built also as variants with only some of these (a define before the first line):
//   DAYLIGHT_ONLY  for maps without alpha (the hall), HARBOUR_DUSK_ONLY for the harbour
//   but its water, WATER_ONLY for the water, VISITOR_ONLY for the UFO and its platform. A variant draws its own surfaces
//   exactly as the whole program does; it only leaves out the branches they never take,
//   which a software rasteriser would otherwise run for every pixel.
// Positions are model coordinates: for the harbour those of the world (y up, the sea
// towards +z, the sunset towards -z), for the visitor its own, centred on the pad.
uniform sampler2D firstTexture;
uniform sampler2D normalMap;

in vec2 uv;
in vec3 position;
in vec3 surfaceNormal;
in vec4 surfaceTangent;
flat in vec3 eye;
flat in vec3 toLight;

out vec4 fragColor;

const float ambient = 0.35;
const float diffuseScale = 0.75;
const float specularScale = 0.25;
const float shininess = 32.0;

const vec3 skyZenith = vec3(0.03, 0.055, 0.18);
const vec3 skyHorizon = vec3(0.24, 0.2, 0.36);
const vec3 sunsetGlow = vec3(1.0, 0.55, 0.27);
const vec2 sunsetWay = vec2(-0.41, -0.91); // towards the sun below the horizon, in x and z
const vec3 lampColour = vec3(1.0, 0.72, 0.4);
const vec3 sunWay = vec3(-0.41, -0.045, -0.91); // the sun itself, just below the horizon

// The dusk sky in direction d, as the sky box paints it.
vec3 skyColour(vec3 d) {
    // Mirrored sky is seen at a glance, near the horizon, where d.xz is nearly a unit vector.
    float toward = clamp(dot(d.xz, sunsetWay) * 0.5 + 0.5, 0.0, 1.0);
    vec3 horizon = mix(skyHorizon, sunsetGlow, toward * toward * toward);
    return mix(horizon, skyZenith, sqrt(clamp(d.y * 1.2, 0.0, 1.0)));
}

// The haze at the horizon in the level direction d, as the sky box paints it below the
// horizon: the far sea fades into it, so that sea and sky meet at one horizon.
vec3 horizonHaze(vec3 d) {
    return skyColour(d) + vec3(1.0, 0.78, 0.47) * (0.6 * pow(max(dot(d, sunWay), 0.0), 30.0));
}

// The street lamp nearest to x: heads every 20 units from x = -60 to 60, over the quay.
vec3 lampNear(float x) {
    return vec3(clamp(floor(x / 20.0 + 0.5) * 20.0, -60.0, 60.0), 7.6, 13.5);
}

void main() {
    vec3 n = normalize(surfaceNormal);
    vec3 normal = n;
    vec4 mapped = texture(normalMap, uv);
    vec3 m = mapped.rgb * 2.0 - 1.0;
    // Interpolation skews the tangent off the normal's plane: straighten it again. A
    // tangent-space normal always leans out of the surface (z > 0); anything else means no
    // usable normal map here, and the geometric normal stands.
    vec3 t = surfaceTangent.xyz - n * dot(n, surfaceTangent.xyz);
    float tangentLength = length(t);
    if (tangentLength > 1e-6 && m.z > 0.0) {
        t /= tangentLength;
        vec3 b = cross(n, t) * (surfaceTangent.w < 0.0 ? -1.0 : 1.0);
        normal = normalize(t * m.x + b * m.y + n * m.z);
    }

    vec3 albedo = texture(firstTexture, uv).rgb;
    vec3 toEye = eye - position;
    vec3 v = normalize(toEye);
    vec3 l = toLight;
    float diffuse = max(dot(normal, l), 0.0);
    float kind = mapped.a;

#if defined(DAYLIGHT_ONLY)
    {
#elif !defined(HARBOUR_DUSK_ONLY) && !defined(WATER_ONLY) && !defined(VISITOR_ONLY)
    if (kind > 0.9) {
#else
    if (false) {
#endif
        float specular = 0.0;
        if (diffuse > 0.0)
            specular = pow(max(dot(normal, normalize(l + v)), 0.0), shininess);
        fragColor = vec4(albedo * (ambient + diffuseScale * diffuse) +
                         vec3(specularScale * specular), 1.0);
        return;
    }
#ifndef DAYLIGHT_ONLY

    // Sky light from above and the sunset's glow from the west, a little of the viewer's
    // lamp so that shapes read (more close by, so a near wall never goes black), and
    // contact shade where walls meet the ground.
    vec3 light = mix(vec3(0.03, 0.03, 0.045), skyZenith * 2.4, normal.y * 0.5 + 0.5);
    light += sunsetGlow * (0.22 * max(dot(normal, vec3(-0.37, 0.2, -0.9)), 0.0));
    light += vec3(0.1, 0.11, 0.14) * diffuse +
             vec3(0.5, 0.5, 0.55) * (diffuse / (1.0 + 0.02 * dot(toEye, toEye)));
    light *= 0.55 + 0.45 * clamp(abs(position.y) * 0.4 + abs(normal.y), 0.0, 1.0);

#if defined(VISITOR_ONLY)
    const bool water = false;
    const float harbour = 0.0;
#elif defined(HARBOUR_DUSK_ONLY)
    const bool water = false;
    const float harbour = 1.0;
#elif defined(WATER_ONLY)
    const bool water = true;
    const float harbour = 1.0;
#else
    bool water = kind < 0.15;
    float harbour = (kind > 0.475 || water) ? 1.0 : 0.0;
#endif
    float emission = water ? 0.0
                     : harbour > 0.5 ? clamp((0.85 - kind) / 0.35, 0.0, 1.0)
                                     : clamp((0.45 - kind) * 5.0, 0.0, 1.0);

    vec3 toLamp = lampNear(position.x) - position;
    float lampDistance2 = dot(toLamp, toLamp);
    vec3 lampWay = toLamp * inversesqrt(lampDistance2);
    light += lampColour * (harbour * clamp(lampWay.y * 2.0 - 0.4, 0.0, 1.0) *
                           max(dot(normal, lampWay), 0.0) * 70.0 / (lampDistance2 + 12.0));

    vec3 colour = albedo * (light + emission * 1.25);

    if (water) {
        // Water: mostly a mirror at a glance. A light mirrored in ripples spreads far
        // towards the viewer and little sideways, so the lamps show as streaks of broken
        // light.
        vec3 g = reflect(-v, normalize(n + normal)); // half the ripples: calmer reflections
        float glance = 1.0 - max(dot(normal, v), 0.0);
        float fresnel = 0.04 + 0.96 * glance * glance * glance * glance * glance;
        vec3 lamp = lampNear(position.x + g.x * (13.5 - position.z) / min(g.z, -1e-3));
        lamp = normalize(lamp - position);
        vec2 offLamp = vec2(g.x * lamp.z - g.z * lamp.x, g.y - lamp.y);
        float glint = exp(-dot(offLamp * offLamp, vec2(3000.0, 40.0))) * step(0.0, dot(g, lamp));
        colour = mix(albedo * light * 0.6, skyColour(g), 0.2 + 0.75 * fresnel) +
                 lampColour * glint;
        // The sky box's walls stand 1000 away: by then the sea is all haze.
        vec2 away = position.xz - eye.xz;
        float reach = length(away);
        vec3 level = vec3(away.x, 0.0, away.y) / max(reach, 1e-3);
        colour = mix(colour, horizonHaze(level), smoothstep(120.0, 950.0, reach));
    }

    // Haze in the evening air around the lamp nearest to the line of sight: light
    // scattered towards the viewer along the way to this surface.
    float way = -toEye.z;
    float across = clamp((13.5 - eye.z) / (way + (way < 0.0 ? -1e-3 : 1e-3)), 0.0, 1.0);
    vec3 lampHead = lampNear(eye.x - toEye.x * across) + vec3(0.0, 0.2, 0.0);
    vec3 nearest = eye - toEye * clamp(dot(eye - lampHead, toEye) / dot(toEye, toEye), 0.0, 1.0);
    float off = dot(nearest - lampHead, nearest - lampHead);
    colour += lampColour * (harbour * (0.8 / (1.0 + 1.5 * off) + 0.12 / (1.0 + 0.1 * off)));
    fragColor = vec4(colour, 1.0);
#endif
}
