#include "core/output/bdf_glyph_box.h"

#include <algorithm>

namespace hz {

GlyphBox glyphBox(const DotCell& cell, int baseline) {
    int top = cell.height();
    int bottom = -1;
    std::uint64_t columns = 0;
    for (int y = 0; y < cell.height(); ++y) {
        if (const std::uint64_t row = cell.row(y)) {
            top = std::min(top, y);
            bottom = y;
            columns |= row;
        }
    }
    if (bottom < 0)
        return {};
    // Bit 63 is the leftmost dot.
    const int left = __builtin_clzll(columns);
    const int right = 63 - __builtin_ctzll(columns);
    return {right - left + 1, bottom - top + 1, left, baseline - 1 - bottom};
}

GlyphBox fontBox(const std::vector<FontGlyph>& glyphs, int baseline) {
    int left = 0;
    int right = 0;
    int lowest = 0;
    int highest = 0;
    bool any = false;
    for (const FontGlyph& glyph : glyphs) {
        const DotCell& cell = glyph.cell;
        // The cell itself: from the pen origin across its width, from below the line to above it.
        right = std::max(right, cell.width());
        lowest = std::min(lowest, baseline - cell.height());
        highest = std::max(highest, baseline);
        any = true;
        const GlyphBox box = glyphBox(cell, baseline);
        if (box.empty())
            continue;
        left = std::min(left, box.x);
        right = std::max(right, box.x + box.width);
        lowest = std::min(lowest, box.y);
        highest = std::max(highest, box.top());
    }
    if (!any)
        return {};
    return {right - left, highest - lowest, left, lowest};
}

} // namespace hz
