#pragma once
// A glyph's dots: H rows of W dots, W and H from 1 to 64, with the width class it was drawn for.
//
// Every source (the library files, live fonts, a user's own library) hands its glyphs on as a
// DotCell; every layout, view and preview takes them from one. Rows are kept as 64-bit words with
// the leftmost dot in bit 63, so packing a row eight dots at a time is a shift.
//
// A cell may carry grey levels: a depth of 2, 4 or 8 bits a dot gives each dot a level from 0
// (clear) to 2^depth - 1 (fully covered). The row words then hold the dots at or above half level,
// so whatever reads only set and clear dots sees the glyph's one-bit shape. A one-bit cell's dots
// read as levels 0 and 1.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace hz {

enum class WidthClass { Full, Half };

class DotCell {
public:
    static constexpr int kMaxSide = 64;

    DotCell() = default;
    // Throws std::invalid_argument for a side outside 1..64.
    DotCell(int width, int height, WidthClass widthClass = WidthClass::Full);

    static constexpr bool validDepth(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

    int width() const { return w; }
    int height() const { return h; }
    WidthClass widthClass() const { return cls; }

    bool dot(int x, int y) const { return (rowBits[static_cast<std::size_t>(y)] >> (63 - x)) & 1U; }
    // On a grey cell a set dot is fully covered and a clear one 0.
    void setDot(int x, int y, bool on = true);

    // Bits a dot: 1, 2, 4 or 8.
    int depth() const { return dotBits; }
    int maxLevel() const { return (1 << dotBits) - 1; }
    int level(int x, int y) const {
        return dotBits == 1 ? static_cast<int>(dot(x, y)) : levels[static_cast<std::size_t>(y * w + x)];
    }
    // level is clamped to 0..maxLevel().
    void setLevel(int x, int y, int level);

    // The same glyph at another depth. Going deeper keeps each level's share of full coverage
    // (one-bit dots become 0 or the top level); going to one bit keeps the dots at or above half
    // level. Throws std::invalid_argument for a depth other than 1, 2, 4 or 8.
    DotCell withDepth(int depth) const;

    // Row y with the leftmost dot in bit 63; bits beyond the width are always clear.
    std::uint64_t row(int y) const { return rowBits[static_cast<std::size_t>(y)]; }
    // On a grey cell a set dot is fully covered and a clear one 0.
    void setRow(int y, std::uint64_t bits);

    // The dots set in the whole cell (for a grey cell: at or above half level).
    int inkCount() const;

    bool operator==(const DotCell& other) const;

    // Rows top to bottom, ceil(W/8) bytes a row, the leftmost dot in the most significant bit: the
    // layout of the library files. Missing bytes read as clear dots.
    static DotCell fromRowBytes(std::span<const std::uint8_t> bytes, int width, int height,
                                WidthClass widthClass = WidthClass::Full);
    std::vector<std::uint8_t> rowBytes() const;

private:
    void spreadRowLevels(int y); // a grey cell's levels of row y from its dots

    int w = 0;
    int h = 0;
    WidthClass cls = WidthClass::Full;
    int dotBits = 1;
    std::array<std::uint64_t, kMaxSide> rowBits{};
    std::vector<std::uint8_t> levels; // w*h levels, row by row, only when dotBits > 1
};

// A mask of the W leftmost bits of a row word.
constexpr std::uint64_t rowMask(int width) {
    return width >= 64 ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> width);
}

// Inline: a library glyph is set a row at a time, and a walk over a whole set sets a million rows.
inline void DotCell::setRow(int y, std::uint64_t bits) {
    rowBits[static_cast<std::size_t>(y)] = bits & rowMask(w);
    if (dotBits > 1)
        spreadRowLevels(y);
}

} // namespace hz
