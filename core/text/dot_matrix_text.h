#pragma once
// The enlarged dot matrix as text: one mark per dot, one line per row, CR LF after every line.

#include "core/glyph/dot_cell.h"

#include <string>
#include <string_view>

namespace hz {

struct Marks {
    std::string DotMark = "■";  // a set dot
    std::string BackMark = "□"; // a clear dot while BackMarkOn
    bool BackMarkOn = true;     // off: a clear dot is two ASCII spaces
};

// From a record's row-wise assembly text ("DB ..." lines), the dots per side and the byte count.
// A byte whose field is missing from the text is drawn as eight set dots.
std::string dotMatrixText(std::string_view rowAssemblyText, int rows, int bytes, const Marks& marks);

// From a cell: one mark per dot, any size; a half-width cell is drawn half as wide.
std::string dotMatrixText(const DotCell& cell, const Marks& marks);

} // namespace hz
