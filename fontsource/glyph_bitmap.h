#pragma once
// A rendered glyph as ink dots, positioned against the pen origin on the baseline.

#include <cstdint>
#include <optional>
#include <vector>

namespace hz::fontsource {

// Inclusive dot coordinates; x grows to the right, y grows downwards.
struct InkBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// Dot (x, y) of the bitmap lies at (left + x, y - top) from the pen origin: `top` counts rows above
// the baseline, as FreeType's bitmap_top does.
struct GlyphBitmap {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> dots; // rows * width, 1 = ink

    bool ink(int x, int y) const { return dots[static_cast<std::size_t>(y) * width + x] != 0; }

    // The box around the ink, relative to the pen origin; nothing for a glyph without ink.
    std::optional<InkBox> inkBox() const;
};

} // namespace hz::fontsource
