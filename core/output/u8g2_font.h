#pragma once
// A u8g2 font array: the bytes u8g2's setFont takes, for one bit a dot.
//
//   offset  bytes  content
//   0       1      number of glyphs (255 for more; readers do not depend on it)
//   1       1      bounding box mode: 0, every glyph box cut to its ink
//   2, 3    1, 1   m0, m1: bits of a run of clear dots and of a run of set dots
//   4..8    1 each bits of a glyph's box width, height, x, y and advance fields
//   9..12   1 each the font's box: width, height, x offset, y offset (signed)
//   13..16  1 each ascent of 'A', descent of 'g', ascent and descent of '(' (signed)
//   17..18  2      offset of the first glyph from 'A' on, from the end of the header (big-endian)
//   19..20  2      offset of the first glyph from 'a' on
//   21..22  2      offset of the Unicode lookup table
// Glyphs below U+0100 follow, in code order, each: code (1 byte), size of the glyph in bytes (1),
// then a bit stream, least significant bit of each byte first: width, height (unsigned), x, y,
// advance (signed, stored plus 2^(bits-1)), then the box's dots row by row as run pairs: m0 bits
// of clear dots, m1 bits of set dots, a 1 bit for each time the pair repeats, a 0 bit to end it.
// Two zero bytes end them. The lookup table: 4-byte entries (offset, last code of the block; both
// big-endian): the first offset leads from the table to the first block, each next one is the
// size of the block before; the last entry has code 0xFFFF. Glyphs from U+0100 follow in blocks,
// each: code (2 bytes, big-endian), size (1), bit stream as above; two zero bytes end them.

#include "core/output/bdf_glyph_box.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct U8g2FontInput {
    std::vector<FontGlyph> glyphs; // each character once, in any order; one-bit cells
    int baseline = 0;              // cell rows above the baseline (bdf_glyph_box.h)
};

enum class U8g2Refusal {
    BeyondBmp, // u8g2 codes are 16 bits
    TooLarge,  // more than 255 bytes once coded: a glyph's size field is one byte
};

struct U8g2LeftOut {
    std::size_t position = 0;
    char32_t character = 0;
    U8g2Refusal reason = U8g2Refusal::BeyondBmp;
    std::size_t bytes = 0; // TooLarge: the glyph's coded size
};

struct U8g2Font {
    std::vector<std::uint8_t> bytes;
    std::size_t glyphCount = 0; // glyphs in the font
    std::vector<U8g2LeftOut> leftOut;
};

inline constexpr std::size_t kU8g2HeaderSize = 23;
inline constexpr std::size_t kU8g2MaxGlyphBytes = 255;

U8g2Font makeU8g2Font(const U8g2FontInput& input);

// The font as a C file defining `const uint8_t NAME[]` (NAME a valid C name, checkHeaderName),
// in u8g2's font section where u8g2.h defines one, in program memory on AVR otherwise.
std::string u8g2CText(const U8g2Font& font, std::string_view name, std::string_view description);

} // namespace hz
