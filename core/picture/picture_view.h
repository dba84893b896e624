#pragma once
// A picture's enlarged dot matrix as text, as a glyph's is (core/text/dot_matrix_text.h): one mark a
// dot, one line a row, CR LF after every line.

#include "core/picture/dot_picture.h"
#include "core/text/dot_matrix_text.h"

#include <string>

namespace hz {

std::string pictureDotText(const DotPicture& picture, const Marks& marks);

} // namespace hz
