#include "fontsource/cell_placement.h"

#include <algorithm>
#include <cmath>

namespace hz::fontsource {

namespace {

// The shift along one axis that brings the span [first, last] inside 0..size-1, and whether the
// span had to be cut because it is longer than the cell.
struct AxisFit {
    int shift = 0;
    bool cropped = false;
};

AxisFit fitAxis(int first, int last, int size) {
    const int length = last - first + 1;
    if (length > size)
        return {(size - length) / 2 - first, true};
    if (first < 0)
        return {-first, false};
    if (last >= size)
        return {size - 1 - last, false};
    return {};
}

} // namespace

MeanBox meanBox(const std::vector<InkBox>& boxes, CellOrigin origin) {
    MeanBox mean;
    if (boxes.empty())
        return mean;
    for (const InkBox& box : boxes) {
        mean.left += box.left;
        mean.top += box.top;
        mean.right += box.right;
        mean.bottom += box.bottom;
    }
    const double n = static_cast<double>(boxes.size());
    return {mean.left / n + origin.x, mean.top / n + origin.y, mean.right / n + origin.x, mean.bottom / n + origin.y};
}

CellOrigin centredOrigin(const std::vector<InkBox>& hanzi, const std::vector<InkBox>& all, int cellSize) {
    const MeanBox mean = meanBox(hanzi, {});
    const double centre = (cellSize - 1) / 2.0;
    const double idealX = centre - (mean.left + mean.right) / 2;
    const double idealY = centre - (mean.top + mean.bottom) / 2;

    auto outside = [&](int shift, auto first, auto last) {
        return std::count_if(all.begin(), all.end(), [&](const InkBox& box) {
            return first(box) + shift < 0 || last(box) + shift >= cellSize;
        });
    };
    auto pick = [&](double ideal, auto first, auto last) {
        const int down = static_cast<int>(std::floor(ideal));
        const int up = down + 1;
        const auto outsideDown = outside(down, first, last);
        const auto outsideUp = outside(up, first, last);
        if (outsideDown != outsideUp)
            return outsideDown < outsideUp ? down : up;
        return static_cast<int>(std::lround(ideal));
    };
    return {pick(
                idealX, [](const InkBox& b) { return b.left; }, [](const InkBox& b) { return b.right; }),
            pick(
                idealY, [](const InkBox& b) { return b.top; }, [](const InkBox& b) { return b.bottom; })};
}

bool originServes(const std::vector<InkBox>& hanzi, CellOrigin origin, int cellSize) {
    for (const InkBox& box : hanzi) {
        if (box.left + origin.x < 0 || box.right + origin.x >= cellSize || box.top + origin.y < 0 ||
            box.bottom + origin.y >= cellSize)
            return false;
    }
    const MeanBox mean = meanBox(hanzi, origin);
    const double centre = (cellSize - 1) / 2.0;
    return std::abs((mean.left + mean.right) / 2 - centre) <= 1.0 &&
           std::abs((mean.top + mean.bottom) / 2 - centre) <= 1.0;
}

PlacedGlyph placeGlyph(const GlyphBitmap& glyph, CellOrigin origin, int width, int height, hz::WidthClass widthClass) {
    PlacedGlyph placed{hz::DotCell(width, height, widthClass), Placement::AsDrawn, origin};
    const auto box = glyph.inkBox();
    if (!box)
        return placed;

    const AxisFit fx = fitAxis(box->left + origin.x, box->right + origin.x, width);
    const AxisFit fy = fitAxis(box->top + origin.y, box->bottom + origin.y, height);
    if (fx.cropped || fy.cropped)
        placed.placement = Placement::Cropped;
    else if (fx.shift != 0 || fy.shift != 0)
        placed.placement = Placement::Moved;

    placed.pen = {origin.x + fx.shift, origin.y + fy.shift};
    const int dx = placed.pen.x + glyph.left;
    const int dy = placed.pen.y - glyph.top;
    for (int y = 0; y < glyph.rows; ++y) {
        const int cy = y + dy;
        if (cy < 0 || cy >= height)
            continue;
        for (int x = 0; x < glyph.width; ++x) {
            const int cx = x + dx;
            if (cx >= 0 && cx < width && glyph.ink(x, y))
                placed.cell.setDot(cx, cy);
        }
    }
    return placed;
}

} // namespace hz::fontsource
