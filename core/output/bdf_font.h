#pragma once
// A BDF 2.1 font of one-bit glyphs, every glyph cut to its ink box (bdf_glyph_box.h) and encoded
// by its Unicode code point (CHARSET_REGISTRY ISO10646, CHARSET_ENCODING 1).
//
//   STARTFONT 2.1
//   FONT -HzDot-FAMILY-Medium-R-Normal--PIXELS-POINTS*10-72-72-SPACING-AVERAGE*10-ISO10646-1
//   SIZE PIXELS 72 72                 (at 72 dots an inch a point is a dot)
//   FONTBOUNDINGBOX W H X Y           the union of the glyph boxes and the cells
//   STARTPROPERTIES N ... ENDPROPERTIES   FONT_ASCENT + FONT_DESCENT = the cell's height
//   CHARS N
//   STARTCHAR uniXXXX / ENCODING code / SWIDTH w*1000/PIXELS 0 / DWIDTH cell-width 0 /
//   BBX w h x y / BITMAP, one line a row, ceil(w/8) bytes in hex, leftmost dot in the top bit /
//   ENDCHAR ... ENDFONT

#include "core/output/bdf_glyph_box.h"

#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct BdfFontInput {
    std::vector<FontGlyph> glyphs; // each character once, in any order; one-bit cells
    int baseline = 0;              // cell rows above the baseline
    int cellHeight = 0;            // the full-width cell's height: the font's pixel size
    std::string family;            // the font's family name; characters XLFD reserves are replaced
    std::string description;       // where the glyphs came from, for a COMMENT line
};

// The glyphs are written in code order.
std::string makeBdfFont(const BdfFontInput& input);

} // namespace hz
