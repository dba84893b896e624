#pragma once
// A reader of LVGL's binary font files, written from the format's published description and the
// header LVGL's loader reads (a 32-bit version first, subpixels and underline fields last): the
// head, cmap, loca and glyf tables, glyph records as bit streams of the widths the head names. It draws a glyph the way walk_font.c draws one from a C
// font, so the two outputs compare with one expectation.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hz::test {

struct LvglBinGlyph {
    int advance16 = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<int> levels; // width * height
};

struct LvglBinFont {
    int fontSize = 0;
    int ascent = 0;
    int descent = 0;
    int bpp = 0;
    int compression = -1;
    bool kern = false;
    std::vector<std::string> tags; // in file order
    std::map<std::uint32_t, int> glyphIds;
    std::vector<LvglBinGlyph> glyphs; // by glyph id
};

// Nothing, with the reason in error, for a file that breaks the format.
std::optional<LvglBinFont> readLvglBin(const std::vector<std::uint8_t>& file, std::string& error);

// "line H base B bpp N format 0 kern 0" and each code's grid, as walk_font.c prints them.
std::string drawLvglBin(const LvglBinFont& font, const std::vector<std::uint32_t>& codes);

} // namespace hz::test
