#include "present/label_placement.h"

#include <algorithm>
#include <cmath>

namespace wavra {

namespace {

// Steps along the line to the centre, and sideways either way, in block
// heights.
constexpr int kInwardSteps = 16;
constexpr int kSideSteps = 3;

TextBox movedBy(TextBox box, double dx, double dy) {
    box.left += dx;
    box.top += dy;
    return box;
}

// The box moved inside the bounds where it sticks out.
TextBox inside(TextBox box, const TextBox& bounds) {
    box.left = std::max(bounds.left, std::min(box.left, bounds.right() - box.width));
    box.top = std::max(bounds.top, std::min(box.top, bounds.bottom() - box.height));
    return box;
}

double overlapWith(const TextBox& box, const std::vector<TextBox>& others) {
    double total = 0;
    for (const TextBox& o : others) total += box.overlap(o);
    return total;
}

// The candidate places of a block: along the line to the centre first
// (k = 0 is the wanted place), at each step straight, then sideways.
std::vector<TextBox> candidates(const TextBlock& b, const TextBox& bounds, double centreX, double centreY) {
    double ux = centreX - b.anchorX, uy = centreY - b.anchorY;
    const double length = std::hypot(ux, uy);
    if (length > 0) {
        ux /= length;
        uy /= length;
    }
    const double step = std::max(b.wanted.height, 1.0);
    std::vector<TextBox> places;
    for (int k = 0; k <= kInwardSteps; ++k)
        for (int j = 0; j <= 2 * kSideSteps; ++j) {
            const double side = (j % 2 == 0 ? 1 : -1) * ((j + 1) / 2) * step;
            places.push_back(inside(movedBy(b.wanted, k * step * ux - side * uy, k * step * uy + side * ux), bounds));
        }
    return places;
}

} // namespace

double TextBox::overlap(const TextBox& o) const {
    const double w = std::min(right(), o.right()) - std::max(left, o.left);
    const double h = std::min(bottom(), o.bottom()) - std::max(top, o.top);
    return w > 0 && h > 0 ? w * h : 0;
}

std::vector<TextBox> placeTextBlocks(const std::vector<TextBlock>& blocks, const std::vector<TextBox>& fixed,
                                     const TextBox& bounds, double centreX, double centreY) {
    std::vector<TextBox> taken = fixed, placed;
    for (const TextBlock& b : blocks) {
        TextBox best = inside(b.wanted, bounds);
        double least = overlapWith(best, taken);
        for (const TextBox& place : candidates(b, bounds, centreX, centreY)) {
            if (least <= 0) break;
            const double o = overlapWith(place, taken);
            if (o < least) {
                least = o;
                best = place;
            }
        }
        placed.push_back(best);
        taken.push_back(best);
    }
    return placed;
}

} // namespace wavra
