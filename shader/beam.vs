#version 130
// The lighthouse beam: a cone of light, added to what is drawn behind it.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec3 normal;
in vec2 texCoord; // u: 0 at the lantern, 1 at the beam's far end

out vec3 viewPosition;
out vec3 viewNormal;
out float along;

void main() {
    vec4 position = modelViewMatrix * vertex;
    viewPosition = position.xyz;
    viewNormal = mat3(modelViewMatrix) * normal;
    along = texCoord.x;
    gl_Position = projectionMatrix * position;
}
