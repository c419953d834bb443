// The one hash of a picture: what kestrune-capture --checksums writes for each frame, what
// author mode's key k prints and what the reload probe prints, so any two can be compared.
#include <GL/glew.h>
#include <cstring>
#include <vector>

#include "render/render.h"

uint64_t pictureChecksum(const unsigned char* bytes, size_t size) {
    // FNV-1a over 64-bit words, then the bytes left: fast enough to hash every frame.
    const uint64_t prime = 1099511628211ull;
    uint64_t hash = 14695981039346656037ull;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        memcpy(&word, bytes + i, 8);
        hash = (hash ^ word) * prime;
    }
    for (; i < size; i++)
        hash = (hash ^ bytes[i]) * prime;
    return hash;
}

uint64_t windowChecksum(int width, int height) {
    std::vector<unsigned char> rows(size_t(width) * size_t(height) * 3), picture(rows.size());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    // GL reads from the bottom row up; a picture is written top row first.
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; y++)
        memcpy(&picture[size_t(y) * stride], &rows[size_t(height - 1 - y) * stride], stride);
    return pictureChecksum(picture.data(), picture.size());
}
