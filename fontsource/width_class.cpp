#include "fontsource/width_class.h"

#include <algorithm>
#include <array>
#include <span>

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

// East Asian Width A (Unicode 15.0's EastAsianWidth.txt) of the characters GB2312 holds, by code
// page 936 and by the standard's own table where the two differ (A1A4 U+30FB, A1AA U+2015).
constexpr std::array kAmbiguous{
    Range{0x00A4, 0x00A4}, // ¤
    Range{0x00A7, 0x00A8}, // §¨
    Range{0x00B0, 0x00B1}, // °±
    Range{0x00B7, 0x00B7}, // ·
    Range{0x00D7, 0x00D7}, // ×
    Range{0x00E0, 0x00E1}, // àá
    Range{0x00E8, 0x00EA}, // èéê
    Range{0x00EC, 0x00ED}, // ìí
    Range{0x00F2, 0x00F3}, // òó
    Range{0x00F7, 0x00F7}, // ÷
    Range{0x00F9, 0x00FA}, // ùú
    Range{0x00FC, 0x00FC}, // ü
    Range{0x0101, 0x0101}, // ā
    Range{0x0113, 0x0113}, // ē
    Range{0x011B, 0x011B}, // ě
    Range{0x012B, 0x012B}, // ī
    Range{0x0144, 0x0144}, // ń
    Range{0x0148, 0x0148}, // ň
    Range{0x014D, 0x014D}, // ō
    Range{0x016B, 0x016B}, // ū
    Range{0x01CE, 0x01CE}, // ǎ
    Range{0x01D0, 0x01D0}, // ǐ
    Range{0x01D2, 0x01D2}, // ǒ
    Range{0x01D4, 0x01D4}, // ǔ
    Range{0x01D6, 0x01D6}, // ǖ
    Range{0x01D8, 0x01D8}, // ǘ
    Range{0x01DA, 0x01DA}, // ǚ
    Range{0x01DC, 0x01DC}, // ǜ
    Range{0x0251, 0x0251}, // ɑ
    Range{0x0261, 0x0261}, // ɡ
    Range{0x02C7, 0x02C7}, // ˇ
    Range{0x02C9, 0x02C9}, // ˉ
    Range{0x0391, 0x03A1}, // Α…Ρ
    Range{0x03A3, 0x03A9}, // ΣΤΥΦΧΨΩ
    Range{0x03B1, 0x03C1}, // α…ρ
    Range{0x03C3, 0x03C9}, // στυφχψω
    Range{0x0401, 0x0401}, // Ё
    Range{0x0410, 0x044F}, // А…я
    Range{0x0451, 0x0451}, // ё
    Range{0x2014, 0x2016}, // —―‖
    Range{0x2018, 0x2019}, // ‘’
    Range{0x201C, 0x201D}, // “”
    Range{0x2026, 0x2026}, // …
    Range{0x2030, 0x2030}, // ‰
    Range{0x2032, 0x2033}, // ′″
    Range{0x203B, 0x203B}, // ※
    Range{0x2103, 0x2103}, // ℃
    Range{0x2116, 0x2116}, // №
    Range{0x2160, 0x216B}, // ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ
    Range{0x2170, 0x2179}, // ⅰⅱⅲⅳⅴⅵⅶⅷⅸⅹ
    Range{0x2190, 0x2193}, // ←↑→↓
    Range{0x2208, 0x2208}, // ∈
    Range{0x220F, 0x220F}, // ∏
    Range{0x2211, 0x2211}, // ∑
    Range{0x221A, 0x221A}, // √
    Range{0x221D, 0x221E}, // ∝∞
    Range{0x2220, 0x2220}, // ∠
    Range{0x2225, 0x2225}, // ∥
    Range{0x2227, 0x222B}, // ∧∨∩∪∫
    Range{0x222E, 0x222E}, // ∮
    Range{0x2234, 0x2237}, // ∴∵∶∷
    Range{0x223D, 0x223D}, // ∽
    Range{0x2248, 0x2248}, // ≈
    Range{0x224C, 0x224C}, // ≌
    Range{0x2260, 0x2261}, // ≠≡
    Range{0x2264, 0x2265}, // ≤≥
    Range{0x226E, 0x226F}, // ≮≯
    Range{0x2299, 0x2299}, // ⊙
    Range{0x22A5, 0x22A5}, // ⊥
    Range{0x2312, 0x2312}, // ⌒
    Range{0x2460, 0x2469}, // ①②③④⑤⑥⑦⑧⑨⑩
    Range{0x2474, 0x249B}, // ⑴…⒛
    Range{0x2500, 0x254B}, // ─…╋
    Range{0x25A0, 0x25A1}, // ■□
    Range{0x25B2, 0x25B3}, // ▲△
    Range{0x25C6, 0x25C7}, // ◆◇
    Range{0x25CB, 0x25CB}, // ○
    Range{0x25CE, 0x25CF}, // ◎●
    Range{0x2605, 0x2606}, // ★☆
    Range{0x2640, 0x2640}, // ♀
    Range{0x2642, 0x2642}, // ♂
};

bool inRanges(std::span<const Range> ranges, char32_t character) {
    const auto range = std::upper_bound(ranges.begin(), ranges.end(), character,
                                        [](char32_t c, const Range& r) { return c < r.first; });
    return range != ranges.begin() && character <= std::prev(range)->last;
}

} // namespace

bool ambiguousWidth(char32_t character) {
    return inRanges(kAmbiguous, character);
}

hz::WidthClass widthClassOf(char32_t character, AmbiguousWidth ambiguous) {
    if (inRanges(kHalfWidth, character))
        return hz::WidthClass::Half;
    if (ambiguous == AmbiguousWidth::Half && ambiguousWidth(character))
        return hz::WidthClass::Half;
    return hz::WidthClass::Full;
}

} // namespace hz::fontsource
