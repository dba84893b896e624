#pragma once
// An LVGL font as LVGL's binary font file, which LVGL loads at run time from a file system or
// from memory. Four tables follow one another, each opening with its size in bytes (itself
// included) and a four-letter tag: head, cmap, loca, glyf; there is no kern table. All numbers are
// little-endian. docs/lvgl-format.md gives every field.

#include "core/output/lvgl_font.h"

#include <cstdint>
#include <vector>

namespace hz {

// The binary file holds 1, 2 or 4 bits a dot (and 3, which HzDot does not make).
constexpr bool lvglBinaryDepth(int bpp) {
    return bpp == 1 || bpp == 2 || bpp == 4;
}

// Each glyph record in glyf: its advance in whole dots (8 bits), ofs_x and ofs_y (8 bits each,
// signed), box_w and box_h (8 bits each), then the box's dots as the C file has them. Glyph id 0
// has an empty record.
constexpr int kLvglBinAdvanceBits = 8;
constexpr int kLvglBinOffsetBits = 8;
constexpr int kLvglBinBoxBits = 8;

// Throws std::invalid_argument for a refused font or a depth lvglBinaryDepth refuses.
std::vector<std::uint8_t> lvglBinary(const LvglFont& font);

} // namespace hz
