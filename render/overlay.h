// Author mode's overlay: a few lines of text in a tiny bitmap font and a timeline bar,
// drawn over the finished picture as one batch of flat quads with a program of its own
// (shader/overlay.vs, .fs). It knows nothing of the show: the caller says what to write.
#pragma once
#include <string>
#include <vector>

struct OverlayDescription {
    std::vector<std::string> lines; // upper case, digits and : . / - + ( ) are drawn
    // The bar: fractions of its length, from 0 (the show's start) to 1 (its end).
    float played = 0;                 // where the show is
    float mark = -1;                  // a tick (the scene switch); below 0: none
    float loopFrom = -1, loopTo = -1; // the loop range; loopFrom below 0: none
};

// Over the window's framebuffer of that size; builds its program on first use. A program
// that does not link is reported once and the overlay is left out.
void drawOverlay(const OverlayDescription& overlay, int width, int height);
