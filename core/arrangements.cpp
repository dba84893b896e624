#include "core/arrangements.h"

#include "core/font_library.h"

#include <stdexcept>

namespace hz {

namespace {

// For each byte, its eight dots one per byte of a word: byte i holds the dot of bit 7 - i (the i-th
// dot from the left) in its lowest bit.
struct SpreadTable {
    std::array<std::uint64_t, 256> bits{};
    constexpr SpreadTable() {
        for (int v = 0; v < 256; ++v)
            for (int i = 0; i < 8; ++i)
                bits[static_cast<std::size_t>(v)] |= static_cast<std::uint64_t>((v >> (7 - i)) & 1) << (8 * i);
    }
};
constexpr SpreadTable kSpread;

} // namespace

std::string_view arrangementName(Arrangement a) {
    switch (a) {
    case Arrangement::Rows:
        return "横排";
    case Arrangement::ColsUp:
        return "下上列排";
    case Arrangement::ColsDown:
        return "上下列排";
    case Arrangement::HalfUp:
        return "下半列排";
    case Arrangement::HalfDown:
        return "上半列排";
    }
    throw std::out_of_range("arrangement " + std::to_string(static_cast<int>(a)) + " is not 0..4");
}

std::string_view arrangementChoice(Arrangement a) {
    switch (a) {
    case Arrangement::Rows:
        return "横排→→";
    case Arrangement::ColsUp:
        return "下上列排↑↑";
    case Arrangement::ColsDown:
        return "上下列排↓↓";
    case Arrangement::HalfUp:
        return "下半列排↑↘";
    case Arrangement::HalfDown:
        return "上半列排↓↗";
    }
    throw std::out_of_range("arrangement " + std::to_string(static_cast<int>(a)) + " is not 0..4");
}

Cell16 shiftCell(const Cell16& cell, int dx, int dy) {
    // A negative count moves nothing, as "repeat n times" would; 16 or more empties the cell.
    dx = dx < 0 ? 0 : dx;
    dy = dy < 0 ? 0 : dy;
    Cell16 moved{};
    for (int r = dy; r < 16; ++r)
        moved[static_cast<std::size_t>(r)] =
            dx >= 16 ? 0 : static_cast<std::uint16_t>(cell[static_cast<std::size_t>(r - dy)] >> dx);
    return moved;
}

Cell16 cellFromBytes(const std::vector<std::uint8_t>& bytes32) {
    Cell16 cell{};
    for (std::size_t r = 0; r < 16; ++r) {
        const std::uint8_t left = 2 * r < bytes32.size() ? bytes32[2 * r] : 0;
        const std::uint8_t right = 2 * r + 1 < bytes32.size() ? bytes32[2 * r + 1] : 0;
        cell[r] = static_cast<std::uint16_t>(left << 8 | right);
    }
    return cell;
}

std::vector<std::uint8_t> bytesFromCell(const Cell16& cell) {
    std::vector<std::uint8_t> bytes(32);
    for (std::size_t r = 0; r < 16; ++r) {
        bytes[2 * r] = static_cast<std::uint8_t>(cell[r] >> 8);
        bytes[2 * r + 1] = static_cast<std::uint8_t>(cell[r] & 0xFF);
    }
    return bytes;
}

ArrangementTables MakeArrangements(const Glyph& glyph, int libraryPosition, int spaceX, int spaceY) {
    const int size = glyph.CellSize;
    if ((size != 16 && size != 24) || glyph.GlyphBytes != size * size / 8)
        throw std::invalid_argument("MakeArrangements: a glyph of " + std::to_string(glyph.GlyphBytes) +
                                    " bytes in a cell of " + std::to_string(size) + " dots");
    const auto glyphBytes = static_cast<std::size_t>(glyph.GlyphBytes);
    const int perRow = size / 8; // bytes per row, and bands per column

    std::vector<std::uint8_t> rows = glyph.GlyphData;
    rows.resize(glyphBytes, 0);
    if (libraryPosition == kTwelvePosition && size == 16)
        rows = bytesFromCell(shiftCell(cellFromBytes(rows), spaceX, spaceY));

    ArrangementTables out;
    auto& colsUp = out.tables[static_cast<int>(Arrangement::ColsUp)];
    auto& colsDown = out.tables[static_cast<int>(Arrangement::ColsDown)];
    colsUp.assign(glyphBytes, 0);
    colsDown.assign(glyphBytes, 0);
    // Eight rows of one byte column at a time: each row's byte is spread one bit per byte of a 64-bit
    // word, and eight of them are stacked, so every byte of the word becomes one column of the band.
    for (int g = 0; g < perRow; ++g) {
        for (int k = 0; k < perRow; ++k) {
            std::uint64_t down = 0; // top row ends in bit 7
            std::uint64_t up = 0;   // top row ends in bit 0
            for (int b = 0; b < 8; ++b) {
                const std::uint64_t spread = kSpread.bits[rows[static_cast<std::size_t>((8 * g + b) * perRow + k)]];
                down = down << 1 | spread;
                up |= spread << b;
            }
            for (int i = 0; i < 8; ++i) {
                const auto at = static_cast<std::size_t>(perRow * (8 * k + i) + g);
                colsDown[at] = static_cast<std::uint8_t>(down >> (8 * i));
                colsUp[at] = static_cast<std::uint8_t>(up >> (8 * i));
            }
        }
    }

    if (glyphBytes == 32) {
        // The top halves of all sixteen columns, then the bottom halves.
        auto& halfUp = out.tables[static_cast<int>(Arrangement::HalfUp)];
        auto& halfDown = out.tables[static_cast<int>(Arrangement::HalfDown)];
        halfUp.assign(32, 0);
        halfDown.assign(32, 0);
        for (std::size_t c = 0; c < 16; ++c) {
            halfUp[c] = colsUp[2 * c];
            halfUp[16 + c] = colsUp[2 * c + 1];
            halfDown[c] = colsDown[2 * c];
            halfDown[16 + c] = colsDown[2 * c + 1];
        }
    }
    out.tables[static_cast<int>(Arrangement::Rows)] = std::move(rows);
    return out;
}

} // namespace hz
