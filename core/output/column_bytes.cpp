#include "core/output/column_bytes.h"

namespace hz {

namespace {

// An 8 x 8 block of dots, its top row in the highest byte, turned so that the highest byte holds
// the leftmost column, its top dot in bit 7.
std::uint64_t transposeBlock(std::uint64_t x) {
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    return x ^ t ^ (t << 28);
}

std::uint8_t reversedBits(std::uint8_t b) {
    b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// Bands of 8 rows, each turned a block of 8 columns at a time. A column's byte of band g goes to
// x * bands + g in a column layout, to g * w + x in a page layout.
template <bool Lsb, bool Columns>
void turnBands(const std::uint8_t* dots, std::size_t perRow, int bands, std::uint8_t* out) {
    const std::size_t w = perRow * 8;
    for (int g = 0; g < bands; ++g) {
        const std::uint8_t* band = dots + static_cast<std::size_t>(8 * g) * perRow;
        for (std::size_t k = 0; k < perRow; ++k) {
            std::uint64_t block = 0;
            for (std::size_t r = 0; r < 8; ++r)
                block = block << 8 | band[r * perRow + k];
            block = transposeBlock(block);
            std::uint8_t* to = Columns ? out + 8 * k * static_cast<std::size_t>(bands) + static_cast<std::size_t>(g)
                                       : out + static_cast<std::size_t>(g) * w + 8 * k;
            const std::size_t step = Columns ? static_cast<std::size_t>(bands) : 1;
            for (int i = 0; i < 8; ++i, to += step) {
                const auto byte = static_cast<std::uint8_t>(block >> (56 - 8 * i));
                *to = Lsb ? reversedBits(byte) : byte;
            }
        }
    }
}

} // namespace

bool plainColumnBytes(const GlyphRecord& record, const Layout& layout, std::vector<std::uint8_t>& bytes) {
    const int w = record.width;
    const int h = record.height;
    const bool plain = layout.bpp == 1 && !layout.up && !layout.left && !layout.invert && layout.scan != Scan::Rows;
    const auto perRow = static_cast<std::size_t>(w / 8);
    if (!plain || record.depth != 1 || w == 0 || h == 0 || w % 8 != 0 || h % 8 != 0 ||
        record.dots.size() != perRow * static_cast<std::size_t>(h))
        return false;
    const int bands = h / 8;
    bytes.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(bands));
    const bool lsb = layout.bit == BitOrder::Lsb;
    const auto turn = layout.scan == Scan::Columns ? (lsb ? turnBands<true, true> : turnBands<false, true>)
                                                   : (lsb ? turnBands<true, false> : turnBands<false, false>);
    turn(record.dots.data(), perRow, bands, bytes.data());
    return true;
}

} // namespace hz
