#include "core/layout/arrangements.h"

#include "core/layout/layout_presets.h"
#include "core/library/font_library.h"

#include <stdexcept>
#include <string>

namespace hz {

namespace {

// Each arrangement's name and its entry in the chooser, indexed by Arrangement.
struct ArrangementWords {
    std::string_view name;
    std::string_view choice;
};
constexpr std::array<ArrangementWords, kArrangementCount> kWords = {{
    {"横排", "横排→→"},
    {"下上列排", "下上列排↑↑"},
    {"上下列排", "上下列排↓↓"},
    {"下半列排", "下半列排↑↘"},
    {"上半列排", "上半列排↓↗"},
}};

const ArrangementWords& wordsOf(Arrangement a) {
    const int index = static_cast<int>(a);
    if (index < 0 || index >= kArrangementCount)
        throw std::out_of_range("arrangement " + std::to_string(index) + " is not 0..4");
    return kWords[static_cast<std::size_t>(index)];
}

} // namespace

std::string_view arrangementName(Arrangement a) {
    return wordsOf(a).name;
}

std::string_view arrangementChoice(Arrangement a) {
    return wordsOf(a).choice;
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

    std::vector<std::uint8_t> rows = glyph.GlyphData;
    rows.resize(glyphBytes, 0);
    if (libraryPosition == kTwelvePosition && size == 16)
        rows = bytesFromCell(shiftCell(cellFromBytes(rows), spaceX, spaceY));

    // Each arrangement is one of the general layouts; the half-column ones are kept to 32-byte glyphs.
    const DotCell cell = DotCell::fromRowBytes(rows, size, size);
    ArrangementTables out;
    for (int a = 1; a < kArrangementCount; ++a) {
        const auto arrangement = static_cast<Arrangement>(a);
        const bool half = arrangement == Arrangement::HalfUp || arrangement == Arrangement::HalfDown;
        if (!half || glyphBytes == 32)
            out.tables[static_cast<std::size_t>(a)] = encodeCell(cell, arrangementLayout(arrangement));
    }
    out.tables[static_cast<int>(Arrangement::Rows)] = std::move(rows);
    return out;
}

} // namespace hz
