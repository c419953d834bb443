#version 130
// Normal mapping. Lighting is done in the model's own space: the eye is found from the
// model-view matrix, which holds only rotations and translations (so its upper 3x3
// transposed is its inverse), and the view-space direction "lightDir" is turned back into
// it. For the harbour, whose model stands at the origin unturned, model space is the world.
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;
uniform vec3 lightDir; // towards the light, in view space: a lamp beside the viewer

in vec4 vertex;
in vec3 normal;
in vec2 texCoord;
in vec4 tangent; // xyz unit tangent along +u, w handedness of the bitangent

out vec2 uv;
out vec3 position;
out vec3 surfaceNormal;
out vec4 surfaceTangent;
flat out vec3 eye; // the same for the whole draw: not interpolated
flat out vec3 toLight; // unit length

void main() {
    mat3 back = transpose(mat3(modelViewMatrix));
    position = vertex.xyz;
    eye = -(back * modelViewMatrix[3].xyz);
    toLight = normalize(back * lightDir);
    surfaceNormal = normal;
    surfaceTangent = tangent;
    uv = texCoord;
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
