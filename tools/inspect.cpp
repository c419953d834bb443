// kestrune-inspect FILE.3ds: reads one model file with the demo's reader (no window, no
// GL, no preparation) and prints its objects and materials as JSON.
#include <cstdio>
#include <string>

#include "model/model.h"
#include "model/reader3ds.h"

static std::string jsonString(const char* text) {
    std::string out = "\"";
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++) {
        switch (*p) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (*p < 0x20 || *p >= 0x7F) {
                // Names are bytes in an unknown code page: escape all but plain ASCII.
                char buffer[8];
                snprintf(buffer, sizeof buffer, "\\u%04x", *p);
                out += buffer;
            } else {
                out += char(*p);
            }
        }
    }
    return out + "\"";
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: kestrune-inspect FILE.3ds\n");
        return 2;
    }
    modelWarningStream = stderr; // stdout carries the JSON only
    Model model;
    if (!readModelFile(model, argv[1])) {
        printf("%s\n", model.error.c_str());
        return 1;
    }
    printf("{\"objects\": [");
    for (size_t i = 0; i < model.objects.size(); i++) {
        const ModelObject& o = model.objects[i];
        printf("%s\n  {\"name\": %s, \"vertexCount\": %d, \"faceCount\": %d, "
               "\"texCoordCount\": %d, \"materialIndex\": %d, \"hasTexture\": %s}",
               i ? "," : "", jsonString(o.name).c_str(), o.vertexCount, o.faceCount,
               o.texCoordCount, o.materialIndex, o.hasTexture ? "true" : "false");
    }
    printf("%s], \"materials\": [", model.objects.empty() ? "" : "\n");
    for (size_t i = 0; i < model.materials.size(); i++) {
        const ModelMaterial& m = model.materials[i];
        printf("%s\n  {\"name\": %s, \"fileName\": %s, \"color\": [%d, %d, %d]}", i ? "," : "",
               jsonString(m.name).c_str(), jsonString(m.fileName).c_str(), m.color[0], m.color[1],
               m.color[2]);
    }
    printf("%s]}\n", model.materials.empty() ? "" : "\n");
    return 0;
}
