// The RenderList: every drawable of every model, append-only, addressed by index.
#include <string>

#include "model/renderlist.h"
#include "platform/platform.h"

static std::vector<RenderItem> renderList;

int renderListSize() {
    return int(renderList.size());
}

RenderItem& renderItem(int index) {
    if (index < 0 || index >= renderListSize()) {
        std::string message = "RenderList index " + std::to_string(index) + " out of range (size " +
                              std::to_string(renderListSize()) + ")";
        fatalError(message.c_str());
    }
    return renderList[size_t(index)];
}

void appendRenderItem(RenderItem item) {
    // Grow by half the old capacity: the list is filled once, at start-up.
    if (renderList.size() == renderList.capacity()) {
        size_t grown = renderList.capacity() + renderList.capacity() / 2;
        renderList.reserve(grown > renderList.size() ? grown : renderList.size() + 1);
    }
    renderList.push_back(std::move(item));
}

void resetRenderList() {
    renderList.clear();
}
