// Author mode's overlay: every lit pixel of the 5x7 font and every bar is a quad, batched
// into one buffer per frame and drawn with blending, without depth, into the window.
#include <GL/glew.h>

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "render/internal.h"
#include "render/overlay.h"

namespace {

struct Glyph {
    char c;
    uint8_t rows[7]; // five bits a row, the leftmost pixel in bit 4
};

// clang-format off
const Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
    {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}}, {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
    {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
};
// clang-format on

const int kScale = 2;            // window pixels per font pixel
const int kAdvance = 6 * kScale; // a glyph and a column of space
const int kLineHeight = 10 * kScale;
const int kMargin = 12; // from the window's top left
const int kBarHeight = 8;

struct Colour {
    float r, g, b, a;
};

struct Batch {
    std::vector<float> positions; // two floats a vertex
    std::vector<float> colours;   // four
    void quad(float x, float y, float w, float h, Colour c) {
        const float corners[6][2] = {{x, y}, {x + w, y},     {x + w, y + h},
                                     {x, y}, {x + w, y + h}, {x, y + h}};
        for (const auto& p : corners) {
            positions.insert(positions.end(), {p[0], p[1]});
            colours.insert(colours.end(), {c.r, c.g, c.b, c.a});
        }
    }
};

struct OverlayProgram {
    bool tried = false;
    bool usable = false;
    unsigned int program = 0, vertexShader = 0, fragmentShader = 0;
    unsigned int positionBuffer = 0, colourBuffer = 0;
    int windowSizeLoc = -1, vertexAttr = -1, colourAttr = -1;
};
OverlayProgram overlayProgram;

const Glyph* glyphOf(char c) {
    c = char(toupper((unsigned char)c));
    for (const Glyph& glyph : kFont)
        if (glyph.c == c)
            return &glyph;
    return nullptr; // a space, or a character the font lacks
}

void addText(Batch& batch, const std::string& text, float x, float y, Colour colour) {
    for (char c : text) {
        if (const Glyph* glyph = glyphOf(c))
            for (int row = 0; row < 7; row++)
                for (int column = 0; column < 5; column++)
                    if (glyph->rows[row] & (0x10 >> column))
                        batch.quad(x + column * kScale, y + row * kScale, kScale, kScale, colour);
        x += kAdvance;
    }
}

bool setUp() {
    OverlayProgram& o = overlayProgram;
    o.tried = true;
    o.program = buildProgram(o.vertexShader, o.fragmentShader, "shader/overlay.vs",
                             "shader/overlay.fs", "", false);
    if (!programLinked(o.program))
        return false;
    o.windowSizeLoc = glGetUniformLocation(o.program, "windowSize");
    o.vertexAttr = glGetAttribLocation(o.program, "vertex");
    o.colourAttr = glGetAttribLocation(o.program, "colour");
    glGenBuffers(1, &o.positionBuffer);
    glGenBuffers(1, &o.colourBuffer);
    return true;
}

void upload(unsigned int buffer, const std::vector<float>& data, int location, int components) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.size() * sizeof(float)), data.data(),
                 GL_STREAM_DRAW);
    bindAttribute(buffer, location, components);
}

} // namespace

void drawOverlay(const OverlayDescription& overlay, int width, int height) {
    OverlayProgram& o = overlayProgram;
    if (!o.tried)
        o.usable = setUp();
    if (!o.usable || width <= 0 || height <= 0)
        return;

    Batch batch;
    const Colour shade = {0, 0, 0, 0.55f}, text = {1, 1, 1, 1};
    size_t longest = 0;
    for (const std::string& line : overlay.lines)
        longest = line.size() > longest ? line.size() : longest;
    batch.quad(kMargin - 6, kMargin - 6, float(longest * kAdvance + 10),
               float(overlay.lines.size() * kLineHeight + 6), shade);
    for (size_t i = 0; i < overlay.lines.size(); i++)
        addText(batch, overlay.lines[i], kMargin, float(kMargin + int(i) * kLineHeight), text);

    // The timeline bar along the bottom edge.
    const float barX = kMargin, barW = float(width - 2 * kMargin);
    const float barY = float(height - kMargin - kBarHeight);
    batch.quad(barX - 2, barY - 2, barW + 4, kBarHeight + 4, shade);
    batch.quad(barX, barY, barW, kBarHeight, {0.35f, 0.35f, 0.4f, 0.9f});
    if (overlay.loopFrom >= 0) {
        float to = overlay.loopTo >= 0 ? overlay.loopTo : overlay.played;
        float from = overlay.loopFrom < to ? overlay.loopFrom : to;
        to = overlay.loopFrom < to ? to : overlay.loopFrom;
        batch.quad(barX + from * barW, barY - 4, (to - from) * barW + 2, kBarHeight + 8,
                   {1.0f, 0.6f, 0.1f, 0.8f});
    }
    batch.quad(barX, barY + 2, overlay.played * barW, kBarHeight - 4, {0.9f, 0.9f, 1.0f, 1.0f});
    if (overlay.mark >= 0)
        batch.quad(barX + overlay.mark * barW - 1, barY - 4, 2, kBarHeight + 8,
                   {0.4f, 0.8f, 1.0f, 1.0f});
    batch.quad(barX + overlay.played * barW - 1, barY - 6, 3, kBarHeight + 12, text);

    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(o.program);
    glUniform2f(o.windowSizeLoc, float(width), float(height));
    upload(o.positionBuffer, batch.positions, o.vertexAttr, 2);
    upload(o.colourBuffer, batch.colours, o.colourAttr, 4);
    disableUnfedAttributes();
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(batch.positions.size() / 2));
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
