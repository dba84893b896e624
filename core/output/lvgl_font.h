#pragma once
// A font for the LVGL graphics library, in its text font form: each glyph cropped to its ink box,
// the box placed against the base line, the boxes' dots packed one after another, and a character
// map from code points to glyph ids. lvgl_font_c.h writes it as a C file, lvgl_font_bin.h as
// LVGL's binary font file; docs/lvgl-format.md describes both byte by byte.
//
// Where the base line lies: a font drawn live (--font) places its glyphs on a baseline row of the
// cell and says so; a dot-matrix library knows no baseline, so its cell's bottom edge is taken as
// the base line (base_line 0, the whole cell above it). Either way a line is the cell's height.
// Every glyph advances by its cell's width: full-width and half-width cells, or proportional
// widths, keep their spacing. There is no kerning.

#include "core/glyph/dot_cell.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hz {

struct LvglGlyphInput {
    char32_t character = 0;
    DotCell cell;
};

struct LvglFontInput {
    std::vector<LvglGlyphInput> glyphs; // each character once, in any order
    int bpp = 1;                        // 1, 2, 4 or 8
    int lineHeight = 0;                 // the full-width cell's height
    int baseline = 0;                   // rows of the cell below the base line
};

// LVGL's glyph descriptor: where the glyph's dots start in the bitmap, its advance in 1/16 dot, its
// ink box and the box's offset from the pen (x to the right, y up from the base line to the box's
// bottom edge).
struct LvglGlyphBox {
    std::uint32_t bitmapIndex = 0;
    std::uint32_t advance16 = 0;
    int boxWidth = 0;
    int boxHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
};

// Only the two kinds without glyph id lists are needed: glyph ids follow the code points' order.
enum class LvglCmapType : std::uint8_t { Range = 2, Sparse = 3 };

struct LvglCmap {
    std::uint32_t rangeStart = 0;
    std::uint32_t rangeLength = 0;      // last code - rangeStart + 1, at most 65535
    std::uint16_t glyphIdStart = 0;     // the glyph id of rangeStart (Range) or of the first code
    std::vector<std::uint16_t> offsets; // Sparse: each code - rangeStart, ascending
    LvglCmapType type = LvglCmapType::Range;
};

enum class LvglRefusal {
    None,
    TooManyGlyphs, // glyph ids are 16 bits: at most kMaxGlyphs characters
    BitmapTooLarge // bitmap indexes are 20 bits: the dots of all glyphs within kMaxBitmapBytes
};

struct LvglFont {
    static constexpr std::size_t kMaxGlyphs = 65534;
    static constexpr std::size_t kMaxBitmapBytes = std::size_t{1} << 20;

    LvglRefusal refusal = LvglRefusal::None; // set: the rest is empty
    int bpp = 1;
    int lineHeight = 0;
    int baseLine = 0;
    std::vector<char32_t> characters;  // glyph id i + 1 is characters[i], ascending
    std::vector<LvglGlyphBox> boxes;   // boxes[0] is glyph id 0, which LVGL keeps for no glyph
    std::vector<std::uint8_t> bitmap;  // every glyph's dots, each glyph from a byte boundary
    std::vector<LvglCmap> cmaps;       // ascending, not overlapping
    std::size_t bitmapBytesNeeded = 0; // with BitmapTooLarge: what the glyphs would take

    // Glyph id g's bytes run from boxes[g].bitmapIndex to this.
    std::uint32_t bitmapEnd(std::size_t glyphId) const {
        return glyphId + 1 < boxes.size() ? boxes[glyphId + 1].bitmapIndex : static_cast<std::uint32_t>(bitmap.size());
    }
};

// The ink box's dots row by row, left to right, bpp bits each, the first dot in the most
// significant bits of the first byte, rows not padded; the last byte filled with zero bits.
std::vector<std::uint8_t> packLvglBox(const DotCell& cell, int left, int top, int width, int height, int bpp);

// Throws std::invalid_argument for a depth other than 1, 2, 4 or 8 or a repeated character.
LvglFont makeLvglFont(const LvglFontInput& input);

// The character map of ascending code points: a Range for each run of consecutive codes long
// enough to be cheaper that way, Sparse lists for the codes between, each spanning under 65536
// codes. firstGlyphId is the glyph id of codes[0].
std::vector<LvglCmap> lvglCmaps(const std::vector<char32_t>& codes, std::uint16_t firstGlyphId = 1);

} // namespace hz
