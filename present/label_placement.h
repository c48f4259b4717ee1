// Where blocks of text go so that they stay readable: each block is wanted
// at a place beside a point of the picture (a lobe's direction on the outer
// ring of the pattern plot, say) and moves, when that place is taken, along
// the line from the point towards the centre of the picture and sideways
// across it, to the first place clear of the fixed texts (the scale's
// labels), of the blocks placed before it and of the picture's edge.
// Plain arithmetic on rectangles in pixels (y downwards), so the renderer
// only measures and draws.
#pragma once

#include <vector>

namespace wavra {

struct TextBox {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    // The area two boxes share; 0 when they only touch.
    double overlap(const TextBox& other) const;
};

struct TextBlock {
    TextBox wanted;                  // the block at its own place
    double anchorX = 0, anchorY = 0; // the point it belongs to
};

// The places of `blocks`, in their order (earlier blocks are placed first
// and keep the better places). A block that fits nowhere takes the place
// where it overlaps least.
std::vector<TextBox> placeTextBlocks(const std::vector<TextBlock>& blocks, const std::vector<TextBox>& fixed,
                                     const TextBox& bounds, double centreX, double centreY);

} // namespace wavra
