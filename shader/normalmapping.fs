#version 130
// Normal mapping: colour map on unit 0, tangent-space normal map on unit 1, lit from the
// view-space direction "lightDir" (see normalmapping.vs).
uniform sampler2D firstTexture;
uniform sampler2D normalMap;
uniform vec3 lightDir;

in vec2 uv;
in vec3 viewPos;
in vec3 viewNormal;
in vec3 viewTangent;
in float handedness;

out vec4 fragColor;

const float ambient = 0.35;
const float diffuseScale = 0.75;
const float specularScale = 0.25;
const float shininess = 32.0;

void main() {
    vec3 n = normalize(viewNormal);
    vec3 surfaceNormal = n;

    // Interpolation skews the tangent off the normal's plane: straighten it again.
    vec3 t = viewTangent - n * dot(n, viewTangent);
    float tangentLength = length(t);
    vec3 mapped = texture(normalMap, uv).rgb * 2.0 - 1.0;
    // A tangent-space normal always leans out of the surface (z > 0); anything else means
    // no usable normal map here, and the geometric normal stands.
    if (tangentLength > 1e-6 && mapped.z > 0.0) {
        t /= tangentLength;
        vec3 b = cross(n, t) * handedness;
        surfaceNormal = normalize(t * mapped.x + b * mapped.y + n * mapped.z);
    }

    vec3 l = normalize(lightDir);
    vec3 v = normalize(-viewPos);
    float diffuse = max(dot(surfaceNormal, l), 0.0);
    float specular = 0.0;
    if (diffuse > 0.0)
        specular = pow(max(dot(surfaceNormal, normalize(l + v)), 0.0), shininess);

    vec3 albedo = texture(firstTexture, uv).rgb;
    vec3 colour = albedo * (ambient + diffuseScale * diffuse) + vec3(specularScale * specular);
    fragColor = vec4(colour, 1.0);
}
