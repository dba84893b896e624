#pragma once
// A reader of BDF 2.1 text written from the format's description, to check HzDot's BDF fonts:
// the font's header lines and properties, and every glyph's metrics and bitmap.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace hz::test {

struct BdfReadGlyph {
    std::string name;
    std::uint32_t encoding = 0;
    int swidth = 0, dwidth = 0;
    int width = 0, height = 0, x = 0, y = 0; // BBX
    std::vector<std::string> rows;           // top to bottom, '#' set, '.' clear
};

struct BdfRead {
    std::string font;                              // the FONT line's name
    std::vector<int> size;                         // SIZE
    std::vector<int> box;                          // FONTBOUNDINGBOX
    std::map<std::string, std::string> properties; // strings without their quotes
    std::map<std::uint32_t, BdfReadGlyph> glyphs;
    std::string error; // set: the text is not well-formed BDF 2.1, and where
};

BdfRead readBdf(const std::string& text);

} // namespace hz::test
