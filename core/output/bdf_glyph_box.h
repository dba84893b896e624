#pragma once
// A glyph's ink box against the baseline, as BDF's BBX states it, shared by the BDF and u8g2 fonts
// (u8g2's glyph boxes are BDF's): the box's width and height, x from the cell's left edge (the pen
// origin) to the leftmost inked column, y from the baseline up to the lowest inked row (negative
// for a glyph reaching below the line). A blank cell has the empty box 0 0 0 0.
//
// `baseline` is the number of cell rows above the baseline: row baseline - 1 stands on it.

#include "core/glyph/dot_cell.h"

#include <cstddef>
#include <vector>

namespace hz {

// One glyph of a font written whole: the character, its cell, and where in the input it came from.
struct FontGlyph {
    std::size_t position = 0;
    char32_t character = 0;
    DotCell cell;
};

struct GlyphBox {
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;

    bool empty() const { return width == 0 || height == 0; }
    int top() const { return y + height; } // rows of the box above the baseline
};

GlyphBox glyphBox(const DotCell& cell, int baseline);

// Dot (col, row) of the box, col and row from its top left, in the cell it was cut from.
inline bool boxDot(const DotCell& cell, const GlyphBox& box, int baseline, int col, int row) {
    return cell.dot(box.x + col, baseline - box.top() + row);
}

// The union of the glyphs' boxes and of their cells (from the baseline's point of view), so that a
// line of text is at least a cell high.
GlyphBox fontBox(const std::vector<FontGlyph>& glyphs, int baseline);

} // namespace hz
