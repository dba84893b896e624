#pragma once
// The spacing designer's cell: the fixed 12x12 sample glyph placed in a 16x16 cell, and the
// preview text drawn from it.

#include "core/layout/arrangements.h"
#include "core/text/dot_matrix_text.h"

#include <QString>

namespace hz::gui {

inline constexpr int kMaxSpace = 4; // a 12x12 glyph fits a 16x16 cell with up to 4 blank columns or rows

// The sample: a frame with a diagonal, its first row clear, at the top left of the cell.
const hz::Cell16& sampleGlyphCell();

// The sample moved spaceX columns right and spaceY rows down, by the same rule as every 12x12 glyph
// the program looks up.
hz::Cell16 placedSample(int spaceX, int spaceY);

// Row r (0-based) of the cell as sixteen "0"/"1" characters, leftmost dot first.
QString cellRowText(const hz::Cell16& cell, int row);

// Sixteen lines of sixteen marks, each line ending in CR LF, the last one too.
QString designerGlyphText(const hz::Cell16& cell, const hz::Marks& marks);

} // namespace hz::gui
