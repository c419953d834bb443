// A Model: one .3DS file read and prepared into RenderItems when it is constructed.
#include "model/model.h"

Model::Model(const char* name, int shaderKind, int passKind) {
    fileName = name;
    itemTemplate.shaderKind = shaderKind;
    itemTemplate.passKind = passKind;
    loaded = importFile(*this, name);
}

bool importFile(Model& model, const char* fileName) {
    if (!readModelFile(model, fileName))
        return false;
    prepareModel(model);
    return true;
}
