#pragma once
// How one face draws cells of one size. The rule is fitted once over the GB2312 set; a library
// built by hzdot-mkfont and every live lookup then draw by it, so a glyph drawn live is dot for dot
// the one in a library built from the same font, face and size.

#include "core/glyph/dot_cell.h"
#include "core/system/result.h"
#include "fontsource/cell_placement.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/font_face.h"
#include "fontsource/glyph_bitmap.h"
#include "fontsource/width_class.h"

#include <optional>
#include <span>
#include <vector>

namespace hz::fontsource {

// Full-width cells are size x size dots; half-width cells ceil(size/2) x size. Both share one
// baseline: the row of the full-width pen origin. That row comes from the hanzi (centred in the
// cell, or the strike's own ascent when that already centres them); a font without hanzi puts it
// at its ascender, scaled so that ascender to descender spans the cell. Half-width glyphs are drawn
// at the same pixel size on that row, each centred across its cell on its advance, so "温度25℃"
// reads on one line; one wider than its cell is drawn narrower, never cut.
//
// With proportional widths each glyph's cell is its own advance (widened to any ink outside it),
// at most size dots, the pen origin at its left edge.
struct CellRule {
    int size = 0;
    Drawing drawing = Drawing::Outline;
    int pixels = 0;        // the pixel size glyphs are rendered at
    CellOrigin origin;     // the full-width pen origin; its row is the shared baseline
    bool fromHanzi = true; // false: a font without GB2312 hanzi, placed by its metrics alone
    std::optional<int> threshold;

    int width(hz::WidthClass widthClass) const { return widthClass == hz::WidthClass::Half ? (size + 1) / 2 : size; }
    // Outlines too large for the cell are drawn smaller, down to three quarters of the cell.
    int smallestPixels() const { return size - size / 4; }
    int largestPixels() const { return size + size / 4; }
};

// One character as drawn for a cell: the first form the font has, at the rule's pixel size or
// smaller where it would not fit.
struct DrawnGlyph {
    RenderStatus status = RenderStatus::NotMapped;
    GlyphBitmap bitmap;
    std::optional<InkBox> ink; // the bitmap's ink box, measured once
    int advance = 0;
    char32_t shown = 0; // the form drawn
    int pixels = 0;     // the pixel size it was drawn at
    bool shrunk = false;
    bool narrowed = false;            // drawn narrower than the font has it, its rows and baseline kept
    double across = 1.0;              // the outline's scale across (narrowed outlines are drawn narrower)
    std::optional<InkBox> mergedFrom; // set: the ink columns of this box were merged into the bitmap's
};

struct FittedSet {
    CellRule rule;
    std::vector<DrawnGlyph> glyphs; // one per entry, drawn full width
    std::vector<InkBox> hanzi;      // the inked hanzi's boxes, for the builder's report
};

// Fits the rule over the entries (a GB2312 table, in any form) and draws each entry by it.
//
// Outline faces: the ideographic em box fills the cell at a pixel size equal to the cell, but fonts
// draw their hanzi at different shares of the em. Steps from there to the largest size at which no
// hanzi is larger than the cell, so that full-cell characters reach the edges and none is cut; then
// draws any other glyph still larger than the cell (box drawing, long dashes) at the largest size
// at which it fits, and centres the hanzi's mean ink box. Strike faces keep the font's baseline and
// ascent unless that leaves the hanzi cut or off-centre. The problem: a pixel size the face refuses.
hz::Result<FittedSet> fitCells(FacePool& pool, const std::vector<CodeEntry>& entries, int size,
                               std::optional<int> threshold);

// Draws the first of the forms the font has (0 entries are skipped), as the fitting does; Unusable
// when the face refuses a size it needs. A full-width glyph too large for its cell is drawn smaller
// as the fitting does. A half-width one too tall is drawn smaller; one too wide for its cell (with
// proportional widths: for the full cell) is drawn narrower, keeping its height and baseline.
DrawnGlyph drawGlyph(FontFace& face, const CellRule& rule, std::span<const char32_t> forms, hz::WidthClass widthClass,
                     GlyphWidths widths = GlyphWidths::Fixed);

// The glyph in its cell by the rule: a cell of the fixed width, or of its own.
PlacedGlyph placeDrawn(const DrawnGlyph& glyph, const CellRule& rule, hz::WidthClass widthClass,
                       GlyphWidths widths = GlyphWidths::Fixed);

// The bitmap's columns from the ink's left to its right merged into `width` columns, each column
// of the result holding the ink of the columns that fall into it, so no stroke is lost.
GlyphBitmap mergeColumns(const GlyphBitmap& bitmap, const InkBox& ink, int width);

} // namespace hz::fontsource
