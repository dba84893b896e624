#include "fontsource/width_class.h"

#include <algorithm>
#include <array>

namespace hz::fontsource {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// East Asian Width Na and H, from Unicode's EastAsianWidth.txt.
constexpr std::array kHalfWidth{
    Range{0x0020, 0x007E}, // ASCII
    Range{0x00A2, 0x00A3}, // ¢ £
    Range{0x00A5, 0x00A6}, // ¥ ¦
    Range{0x00AC, 0x00AC}, // ¬
    Range{0x00AF, 0x00AF}, // ¯
    Range{0x20A9, 0x20A9}, // ₩
    Range{0x27E6, 0x27ED}, // mathematical brackets
    Range{0x2985, 0x2986}, // white parentheses
    Range{0xFF61, 0xFFBE}, // half-width CJK punctuation, katakana, hangul
    Range{0xFFC2, 0xFFC7},
    Range{0xFFCA, 0xFFCF},
    Range{0xFFD2, 0xFFD7},
    Range{0xFFDA, 0xFFDC},
    Range{0xFFE8, 0xFFEE}, // half-width forms and arrows
};

} // namespace

hz::WidthClass widthClassOf(char32_t character) {
    const auto range = std::upper_bound(kHalfWidth.begin(), kHalfWidth.end(), character,
                                        [](char32_t c, const Range& r) { return c < r.first; });
    if (range != kHalfWidth.begin() && character <= std::prev(range)->last)
        return hz::WidthClass::Half;
    return hz::WidthClass::Full;
}

} // namespace hz::fontsource
