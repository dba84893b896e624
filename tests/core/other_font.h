#pragma once
// Libraries drawn by hzdot-mkfont from fonts none of the six libraries is made from at that size,
// for tests that match glyphs across fonts as users' firmware does.

#include "core/glyph/dot_cell.h"

#include <string>

namespace hz::test {

// The folder holding the six libraries the build made.
std::string programDir();

// A library file of size dots (12, 16 or 24), rows-msb records in GB2312 order from row 0xA1, made
// once per test program: 16 and 24 from WenQuanYi Micro Hei, 12 from AR PL UMing (Micro Hei is
// barely legible at 12 dots).
const std::string& otherFontLibrary(int size);

// The glyph of a character in that library: a size x size cell.
DotCell otherFontGlyph(int size, char32_t character);

} // namespace hz::test
