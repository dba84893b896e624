#pragma once
// Glyphs with grey levels: the one-bit glyph's cell and place, the dots drawn anti-aliased.

#include "core/glyph/dot_cell.h"
#include "fontsource/cell_fit.h"
#include "fontsource/cell_placement.h"
#include "fontsource/font_face.h"
#include "fontsource/glyph_bitmap.h"

namespace hz::fontsource {

// A dot's coverage 0..255 as a level 0..maxLevel, rounded to the nearest.
constexpr int coverageLevel(int coverage, int maxLevel) {
    return (coverage * maxLevel + 127) / 255;
}

// The glyph `placed` at `bpp` bits a dot: the same cell, the outline rendered again anti-aliased at
// the pixel size and width it was drawn at, its pen origin where the one-bit glyph's is, each dot's
// coverage quantised by coverageLevel. Strikes and glyphs without ink give placed.cell's two levels
// (0 and the top); so does an outline that cannot be drawn again.
hz::DotCell greyCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed, int bpp);

// A coverage bitmap's columns within the ink box merged into `width` columns, as mergeColumns does for
// a one-bit glyph: each column of the result holds the highest coverage of those that fall into it.
// Coverage beside the box (anti-aliased edges) goes to the first or last column.
GlyphBitmap mergeCoverage(const GlyphBitmap& coverage, const InkBox& ink, int width);

} // namespace hz::fontsource
