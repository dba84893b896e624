#pragma once
// The enlarged dot matrix as text: one mark per dot, one line per row, CR LF after every line.

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

} // namespace hz
