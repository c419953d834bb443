// libFuzzer entry: any byte string must end in a model or a clean failure, and a model
// that was read must hold only face indices inside its vertex list.
#include <cstdio>
#include <cstdlib>

#include "model/model.h"
#include "model/reader3ds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* devNull = fopen("/dev/null", "w");
    modelWarningStream = devNull;
    Model model;
    if (!readModelData(model, data, size, "fuzz.3ds")) {
        if (model.error.empty() || !model.objects.empty() || !model.materials.empty())
            abort();
        return 0;
    }
    if (model.objectCount != int32_t(model.objects.size()) ||
        model.materialCount != int32_t(model.materials.size()))
        abort();
    for (const ModelObject& o : model.objects) {
        if (size_t(o.vertexCount) != o.vertices.size() || size_t(o.faceCount) != o.faces.size())
            abort();
        for (const ModelFace& f : o.faces)
            if (f.a >= o.vertexCount || f.b >= o.vertexCount || f.c >= o.vertexCount)
                abort();
    }
    return 0;
}
