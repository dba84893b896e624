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

    bool operator==(const Layout&) const = default;

    // The 48 layouts numbered 0..47, in the order scan, bit, up, left, invert.
    static constexpr int kCount = 48;
    int index() const;
    static Layout fromIndex(int index);
};

// "pages-lsb-up-invert": scan, bit, then the flags in the order up, left, invert.
std::string layoutName(const Layout& layout);

// Reads SCAN-BIT with the flags in any order, case-insensitively; nothing for anything else
// (an unknown word, a missing scan or bit, a flag twice).
std::optional<Layout> parseLayout(std::string_view text);

// Bytes of one cell of width x height dots.
std::size_t encodedSize(const Layout& layout, int width, int height);

// Writes encodedSize(layout, cell.width(), cell.height()) bytes to out.
void encodeCell(const DotCell& cell, const Layout& layout, std::uint8_t* out);
std::vector<std::uint8_t> encodeCell(const DotCell& cell, const Layout& layout);

// The inverse of encodeCell: the cell whose encoding is bytes. Missing bytes read as 0; padding
// bits are ignored.
DotCell decodeCell(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height,
                   WidthClass widthClass = WidthClass::Full);

} // namespace hz
