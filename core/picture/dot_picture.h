#pragma once
// A picture's dots: H rows of W dots, W and H from 1 to 1024, at 1, 2, 4 or 8 bits a dot.
//
// A glyph's DotCell stops at 64 dots a side; a logo for a 128x64 panel does not. A DotPicture holds
// each dot's level (0 clear .. 2^depth - 1 fully inked) and reads like a DotCell: dot() is a dot at
// or above half level, so whatever reads only set and clear dots sees the picture's one-bit shape.

#include "core/glyph/dot_cell.h"

#include <cstdint>
#include <vector>

namespace hz {

class DotPicture {
public:
    static constexpr int kMaxSide = 1024;

    DotPicture() = default;
    // All dots clear. Throws std::invalid_argument for a side outside 1..kMaxSide or a depth other
    // than 1, 2, 4 or 8.
    DotPicture(int width, int height, int depth = 1);

    int width() const { return w; }
    int height() const { return h; }
    int depth() const { return bits; }
    int maxLevel() const { return (1 << bits) - 1; }

    int level(int x, int y) const { return levels[at(x, y)]; }
    // level is clamped to 0..maxLevel().
    void setLevel(int x, int y, int level);
    bool dot(int x, int y) const { return 2 * level(x, y) >= maxLevel() + 1; }

    // The dots at or above half level.
    int inkCount() const;

    // The part of w x h dots from (x0, y0), at most 64 a side, as a glyph's cell at the same depth.
    // Throws std::invalid_argument for a part outside the picture or larger than DotCell allows.
    DotCell part(int x0, int y0, int partWidth, int partHeight) const;

    bool operator==(const DotPicture&) const = default;

private:
    std::size_t at(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
    }

    int w = 0;
    int h = 0;
    int bits = 1;
    std::vector<std::uint8_t> levels; // w*h, row by row
};

} // namespace hz
