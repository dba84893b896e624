#pragma once
// Small BDF bitmap fonts written by the tests, with glyphs whose every dot is known.

#include <cstdint>
#include <string>
#include <vector>

namespace hz::test {

struct BdfGlyph {
    std::uint32_t encoding;        // the code in the font's charset
    int xOffset = 0;               // left edge, right of the pen origin
    int yOffset = 0;               // bottom edge, above the baseline
    std::vector<std::string> rows; // top to bottom, '#' ink, '.' paper; all rows one width
    bool bitmapSection = true;     // false: a BBX line but no BITMAP section, as broken fonts have
    int advance = 0;               // the pen advance; 0: the font's pixel size
};

struct BdfFont {
    int pixelSize = 16;
    int ascent = 14;
    int descent = 2;
    std::string registry = "ISO10646"; // CHARSET_REGISTRY
    std::string encoding = "1";        // CHARSET_ENCODING
    std::vector<BdfGlyph> glyphs;

    std::string text() const;
};

// A glyph that draws a frame of the given size with its lower left corner at (x, y).
BdfGlyph frameGlyph(std::uint32_t encoding, int width, int height, int xOffset, int yOffset);

// A font without hanzi: one letter, 'A', a 6x10 frame one dot right of the pen on the baseline,
// advancing 8 dots.
BdfFont latinFont();

} // namespace hz::test
