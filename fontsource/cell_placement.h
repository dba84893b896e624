#pragma once
// Where glyphs go in a cell: one pen origin for the whole font, each glyph at its own offset from it.

#include "core/glyph/dot_cell.h"
#include "fontsource/glyph_bitmap.h"

#include <vector>

namespace hz::fontsource {

// The cell column and row of the pen origin on the baseline.
struct CellOrigin {
    int x = 0;
    int y = 0;
};

// The mean of the hanzi's ink boxes, in cell dots for a given origin.
struct MeanBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

MeanBox meanBox(const std::vector<InkBox>& boxes, CellOrigin origin);

// The origin that puts the centre of the hanzi's mean ink box on the centre of the cell, rounded up
// or down on each axis, whichever leaves fewer of `all` the glyphs sticking out. Glyphs keep their
// positions relative to one another: "一" stays on the middle rows and "，" low left.
CellOrigin centredOrigin(const std::vector<InkBox>& hanzi, const std::vector<InkBox>& all, int cellSize);

// Whether the font's own origin serves as it is: every hanzi inside the cell and the mean ink box
// centred within one dot.
bool originServes(const std::vector<InkBox>& hanzi, CellOrigin origin, int cellSize);

enum class Placement {
    AsDrawn,
    Moved,   // stuck out of the cell but fitted: moved just inside
    Cropped, // larger than the cell: centred and cut
};

struct PlacedGlyph {
    hz::DotCell cell;
    Placement placement = Placement::AsDrawn;
    CellOrigin pen{}; // where the pen origin landed in the cell, after any move
};

// Draws the glyph into a cell of width x height dots with its pen origin at `origin`; a glyph
// sticking out is moved just inside, one larger than the cell is centred and cut.
PlacedGlyph placeGlyph(const GlyphBitmap& glyph, CellOrigin origin, int width, int height,
                       hz::WidthClass widthClass = hz::WidthClass::Full);

} // namespace hz::fontsource
