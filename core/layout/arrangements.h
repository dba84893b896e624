#pragma once
// The five byte orders of a glyph.
//
// Where one dot lands, for a 16x16 cell (B = 2 bytes per row and per column; bands are 8 rows):
//
//   dot            横排         下上列排      上下列排      下半列排      上半列排
//   row 1, col 1   byte 1 0x80  byte 1 0x01   byte 1 0x80   byte 1 0x01   byte 1 0x80
//   row 9, col 2   byte 17 0x40 byte 4 0x01   byte 4 0x80   byte 18 0x01  byte 18 0x80
//   row 16,col 16  byte 32 0x01 byte 32 0x80  byte 32 0x01  byte 32 0x80  byte 32 0x01
//
//   横排     byte B(r-1)+k = row r, columns 8(k-1)+1..8k, leftmost dot in bit 7
//   下上列排 byte B(c-1)+g = column c, band g (from the top), top dot of the band in bit 0
//   上下列排 byte B(c-1)+g = column c, band g, top dot in bit 7
//   下半列排 byte c = top band of column c, 16+c = bottom band; top dot in bit 0 (32-byte only)
//   上半列排 byte c = top band of column c, 16+c = bottom band; top dot in bit 7 (32-byte only)
// Byte numbers count from 1 here; the vectors below count from 0.

#include "core/library/glyph_reader.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace hz {

enum class Arrangement : int { Rows = 0, ColsUp = 1, ColsDown = 2, HalfUp = 3, HalfDown = 4 };
inline constexpr int kArrangementCount = 5;

// "横排", "下上列排", "上下列排", "下半列排", "上半列排"
std::string_view arrangementName(Arrangement a);
// The entries of the arrangement chooser: "横排→→", "下上列排↑↑", ...
std::string_view arrangementChoice(Arrangement a);

// HexRows, HexColsUp, HexColsDown, HexHalfUp, HexHalfDown as byte values, indexed by Arrangement.
// The half tables are empty for 72-byte glyphs.
struct ArrangementTables {
    std::array<std::vector<std::uint8_t>, kArrangementCount> tables;
    const std::vector<std::uint8_t>& operator[](Arrangement a) const { return tables[static_cast<int>(a)]; }
};

// A 16x16 cell as sixteen rows, bit 15 of each row the leftmost dot.
using Cell16 = std::array<std::uint16_t, 16>;

// Moves a cell's contents down by dy rows, then right by dx columns; what passes the bottom or right
// edge is lost, rows and columns that come in are blank. Both the 12x12 placement and the spacing
// designer's preview use this one rule.
Cell16 shiftCell(const Cell16& cell, int dx, int dy);

Cell16 cellFromBytes(const std::vector<std::uint8_t>& bytes32);
std::vector<std::uint8_t> bytesFromCell(const Cell16& cell);

// Builds all five arrangements of a glyph read from the library at libraryPosition. For the 12x12
// library the glyph is first moved spaceX columns right and spaceY rows down in its 16x16 cell, and
// HexRows is the moved cell.
ArrangementTables MakeArrangements(const Glyph& glyph, int libraryPosition, int spaceX, int spaceY);

} // namespace hz
