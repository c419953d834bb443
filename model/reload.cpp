// A model read again from its changed file while the show runs, in place of its old items.
#include <algorithm>

#include "model/model.h"

bool reloadModel(Model& model, const std::vector<Model*>& others, std::vector<RenderItem>& replaced,
                 std::string& error) {
    int end = renderListSize();
    Model loaded(model.fileName, model.itemTemplate.shaderKind, model.itemTemplate.passKind);
    if (!loaded.loaded) {
        error = loaded.error;
        return false;
    }
    // The whole model stands where the show put it: every item has the same transform.
    float translation[3] = {0, 0, 0}, rotation[3] = {0, 0, 0};
    if (model.itemCount > 0) {
        const RenderItem& old = renderItem(model.firstItem);
        std::copy(old.translation, old.translation + 3, translation);
        std::copy(old.rotation, old.rotation + 3, rotation);
    }
    for (int i = end; i < renderListSize(); i++) {
        std::copy(translation, translation + 3, renderItem(i).translation);
        std::copy(rotation, rotation + 3, renderItem(i).rotation);
    }
    replaced.clear();
    if (model.itemCount > 0) {
        replaced = replaceRenderItems(model.firstItem, model.itemCount, end);
        int moved = loaded.itemCount - model.itemCount;
        for (Model* other : others) {
            if (other != &model && other->itemCount > 0 && other->firstItem > model.firstItem)
                other->firstItem += moved;
        }
        loaded.firstItem = model.firstItem;
    } else {
        loaded.firstItem = end; // nothing to replace: the new items stay where they came
    }
    model = std::move(loaded);
    return true;
}
