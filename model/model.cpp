// A Model: one .3DS file read and prepared into RenderItems when it is constructed, and
// then moved and turned as a whole through its range of items.
#include "model/model.h"
#include "model/reader3ds.h"

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

// Writes one three-float field of every item of the model.
static void setEveryItem(const Model& model, float (RenderItem::*field)[3], float x, float y,
                         float z) {
    for (int i = model.firstItem; i < model.firstItem + model.itemCount; i++) {
        float* value = renderItem(i).*field;
        value[0] = x;
        value[1] = y;
        value[2] = z;
    }
}

void setTranslation(Model& model, float x, float y, float z) {
    setEveryItem(model, &RenderItem::translation, x, y, z);
}

void setRotation(Model& model, float x, float y, float z) {
    setEveryItem(model, &RenderItem::rotation, x, y, z);
}
