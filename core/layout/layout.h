#pragma once
// Byte layouts: how a dot cell becomes the bytes a display driver expects.
//
// A layout is written SCAN-BIT[-up][-left][-invert]. The cell is first transformed (up: rows bottom
// to top; left: columns right to left; invert: set dots become clear and back), then packed eight
// dots to a byte, a short last byte padded with clear (0) bits:
//
//   rows     each row's dots left to right, rows top to bottom          ceil(W/8) bytes a row
//   columns  each column's dots top to bottom, columns left to right    ceil(H/8) bytes a column
//   pages    8-row bands top to bottom, in each band a byte per column  W bytes a band
//
//   msb: the first dot of a byte (leftmost for rows, topmost for columns and pages) is bit 7
//   lsb: the first dot is bit 0
//
// Where the dot at row r, column c (from 0) of an untransformed W x H cell lands:
//
//   rows     byte r*ceil(W/8) + c/8        bit 7-c%8 (msb) or c%8 (lsb)
//   columns  byte c*ceil(H/8) + r/8        bit 7-r%8 (msb) or r%8 (lsb)
//   pages    byte (r/8)*W + c              bit 7-r%8 (msb) or r%8 (lsb)
//
// The five arrangements are five of these: 横排 rows-msb, 下上列排 columns-lsb, 上下列排 columns-msb,
// 下半列排 pages-lsb, 上半列排 pages-msb.
//
// Grey levels: a layout of 2, 4 or 8 bits a dot (named with a last word such as "4bpp") packs
// 8/bpp consecutive dots of a row (rows) or column (columns) into a byte, the first dot in the
// highest bits (msb) or the lowest (lsb); each row or column starts a new byte. invert turns level L
// into max - L. pages is a one-bit layout and has no grey form.
//
//   rows     byte r*ceil(W*bpp/8) + c*bpp/8, columns  byte c*ceil(H*bpp/8) + r*bpp/8
//   the dot's level fills bits [s+bpp-1 .. s] with s = 8-bpp-(i*bpp)%8 (msb) or (i*bpp)%8 (lsb),
//   i being c for rows and r for columns.

#include "core/glyph/dot_cell.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

enum class Scan { Rows, Columns, Pages };
enum class BitOrder { Msb, Lsb };

struct Layout {
    Scan scan = Scan::Rows;
    BitOrder bit = BitOrder::Msb;
    bool up = false;
    bool left = false;
    bool invert = false;
    int bpp = 1; // bits a dot: 1, 2, 4 or 8

    bool operator==(const Layout&) const = default;

    // The 48 one-bit layouts numbered 0..47, in the order scan, bit, up, left, invert; index()
    // ignores the depth and fromIndex() gives one bit.
    static constexpr int kCount = 48;
    int index() const;
    static Layout fromIndex(int index);
};

// "pages-lsb-up-invert": scan, bit, then the flags in the order up, left, invert, then the depth
// when it is not one bit ("rows-msb-left-4bpp").
std::string layoutName(const Layout& layout);

// Reads SCAN-BIT followed by the flags and a depth word ("1bpp", "2bpp", "4bpp", "8bpp") in any order,
// case-insensitively; nothing for anything else (an unknown word, a missing scan or bit, a flag or
// depth twice). A pages layout with more than one bit is read; hasGreyForm() says it cannot be used.
std::optional<Layout> parseLayout(std::string_view text);

// False only for a pages layout of more than one bit a dot, which no encoder writes.
bool hasGreyForm(const Layout& layout);

// Bytes of one cell of width x height dots.
std::size_t encodedSize(const Layout& layout, int width, int height);

// Writes encodedSize(layout, cell.width(), cell.height()) bytes to out. The cell is taken at the
// layout's depth (DotCell::withDepth). Throws std::invalid_argument for a layout without a form at
// its depth (see hasGreyForm).
void encodeCell(const DotCell& cell, const Layout& layout, std::uint8_t* out);
std::vector<std::uint8_t> encodeCell(const DotCell& cell, const Layout& layout);

// The inverse of encodeCell: the cell, at the layout's depth, whose encoding is bytes. Missing bytes
// read as 0; padding bits are ignored. Throws as encodeCell does.
DotCell decodeCell(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height,
                   WidthClass widthClass = WidthClass::Full);

} // namespace hz
