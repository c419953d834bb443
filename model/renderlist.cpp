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

std::vector<RenderItem> replaceRenderItems(int first, int count, int from) {
    int size = renderListSize();
    if (first < 0 || count < 0 || first + count > from || from > size) {
        std::string message = "RenderList replacement of " + std::to_string(count) + " at " +
                              std::to_string(first) + " by those from " + std::to_string(from) +
                              " out of range (size " + std::to_string(size) + ")";
        fatalError(message.c_str());
    }
    auto at = [](int index) { return renderList.begin() + index; };
    std::vector<RenderItem> added(std::make_move_iterator(at(from)),
                                  std::make_move_iterator(renderList.end()));
    renderList.erase(at(from), renderList.end());
    std::vector<RenderItem> removed(std::make_move_iterator(at(first)),
                                    std::make_move_iterator(at(first + count)));
    renderList.erase(at(first), at(first + count));
    renderList.insert(at(first), std::make_move_iterator(added.begin()),
                      std::make_move_iterator(added.end()));
    return removed;
}
