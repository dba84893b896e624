#pragma once
// A reader of u8g2 font arrays written from u8g2's published font format description, to check
// HzDot's fonts against: the 23-byte header, the glyphs below U+0100, the Unicode lookup table
// and its blocks, and each glyph's run-length coded dots.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hz::test {

struct U8g2Glyph {
    int width = 0;
    int height = 0;
    int x = 0; // left edge from the pen origin
    int y = 0; // bottom edge above the baseline
    int advance = 0;
    std::vector<std::string> rows; // top to bottom, '#' set, '.' clear
};

struct U8g2Header {
    int glyphCount = 0, mode = 0, zeroBits = 0, oneBits = 0;
    int widthBits = 0, heightBits = 0, xBits = 0, yBits = 0, advanceBits = 0;
    int boxWidth = 0, boxHeight = 0, boxX = 0, boxY = 0;
    int ascentA = 0, descentG = 0, ascentParen = 0, descentParen = 0;
    int offsetUpperA = 0, offsetLowerA = 0, offsetUnicode = 0;
};

struct U8g2Decoded {
    U8g2Header header;
    std::map<char32_t, U8g2Glyph> glyphs; // every glyph, found by walking the whole font
    std::string error;                    // set: the font is malformed, and how
};

U8g2Decoded decodeU8g2(const std::vector<std::uint8_t>& font);

// One glyph found as a drawing library finds it: from the 'A' or 'a' offset below U+0100, through
// the lookup table from U+0100 on. Nothing when the font does not have it.
std::optional<U8g2Glyph> lookUpU8g2(const std::vector<std::uint8_t>& font, char32_t code);

// The bytes of the one array initialiser in a C file: the 0x.. numbers between '{' and '}'.
std::vector<std::uint8_t> bytesOfCArray(const std::string& cText);

} // namespace hz::test
