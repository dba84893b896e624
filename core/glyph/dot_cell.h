#pragma once
// A glyph's dots: H rows of W dots, W and H from 1 to 64, with the width class it was drawn for.
//
// Every source (the library files, live fonts, a user's own library) hands its glyphs on as a
// DotCell; every layout, view and preview takes them from one. Rows are kept as 64-bit words with
// the leftmost dot in bit 63, so packing a row eight dots at a time is a shift.

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

    int width() const { return w; }
    int height() const { return h; }
    WidthClass widthClass() const { return cls; }

    bool dot(int x, int y) const { return (rowBits[static_cast<std::size_t>(y)] >> (63 - x)) & 1U; }
    void setDot(int x, int y, bool on = true);

    // Row y with the leftmost dot in bit 63; bits beyond the width are always clear.
    std::uint64_t row(int y) const { return rowBits[static_cast<std::size_t>(y)]; }
    void setRow(int y, std::uint64_t bits);

    // The dots set in the whole cell.
    int inkCount() const;

    bool operator==(const DotCell& other) const;

    // Rows top to bottom, ceil(W/8) bytes a row, the leftmost dot in the most significant bit: the
    // layout of the library files. Missing bytes read as clear dots.
    static DotCell fromRowBytes(std::span<const std::uint8_t> bytes, int width, int height,
                                WidthClass widthClass = WidthClass::Full);
    std::vector<std::uint8_t> rowBytes() const;

private:
    int w = 0;
    int h = 0;
    WidthClass cls = WidthClass::Full;
    std::array<std::uint64_t, kMaxSide> rowBits{};
};

// A mask of the W leftmost bits of a row word.
constexpr std::uint64_t rowMask(int width) {
    return width >= 64 ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> width);
}

} // namespace hz
