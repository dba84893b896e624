#include "core/output/column_bytes.h"

namespace hz {

namespace {

std::uint8_t reversedBits(std::uint8_t b) {
    b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// Bands of 8 rows, each turned a block of 8 columns at a time. A column's byte of band g goes to
// x * bands + g in a column layout, to g * w + x in a page layout.
// Fixed is the bytes a row when known in advance (the 16 and 24 dots of the libraries), 0 otherwise.
template <bool Lsb, bool Columns, std::size_t Fixed>
void turnBands(const std::uint8_t* dots, std::size_t givenPerRow, int bands, std::uint8_t* out) {
    const std::size_t perRow = Fixed != 0 ? Fixed : givenPerRow;
    const std::size_t w = perRow * 8;
    for (int g = 0; g < bands; ++g) {
        const std::uint8_t* band = dots + static_cast<std::size_t>(8 * g) * perRow;
        for (std::size_t k = 0; k < perRow; ++k) {
            std::uint64_t block = 0;
#pragma GCC unroll 8
            for (std::size_t r = 0; r < 8; ++r)
                block = block << 8 | band[r * perRow + k];
            // Turned so that the highest byte holds the leftmost column, its top dot in bit 7.
            std::uint64_t t = (block ^ (block >> 7)) & 0x00AA00AA00AA00AAULL;
            block = block ^ t ^ (t << 7);
            t = (block ^ (block >> 14)) & 0x0000CCCC0000CCCCULL;
            block = block ^ t ^ (t << 14);
            t = (block ^ (block >> 28)) & 0x00000000F0F0F0F0ULL;
            block = block ^ t ^ (t << 28);
            std::uint8_t* to = Columns ? out + 8 * k * static_cast<std::size_t>(bands) + static_cast<std::size_t>(g)
                                       : out + static_cast<std::size_t>(g) * w + 8 * k;
            const std::size_t step = Columns ? static_cast<std::size_t>(bands) : 1;
#pragma GCC unroll 8
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
    using Turn = void (*)(const std::uint8_t*, std::size_t, int, std::uint8_t*);
    // By scan (columns, pages), then bit order (msb, lsb), then 16 dots, 24 dots or any.
    static constexpr Turn kTurns[2][2][3] = {
        {{turnBands<false, true, 2>, turnBands<false, true, 3>, turnBands<false, true, 0>},
         {turnBands<true, true, 2>, turnBands<true, true, 3>, turnBands<true, true, 0>}},
        {{turnBands<false, false, 2>, turnBands<false, false, 3>, turnBands<false, false, 0>},
         {turnBands<true, false, 2>, turnBands<true, false, 3>, turnBands<true, false, 0>}}};
    const int fixed = perRow == 2 ? 0 : perRow == 3 ? 1 : 2;
    kTurns[layout.scan == Scan::Columns ? 0 : 1][lsb ? 1 : 0][fixed](record.dots.data(), perRow, bands, bytes.data());
    return true;
}

} // namespace hz
