#pragma once
// Character sets by code: the codes of a library file, in file order, and the character of each.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace hz::fontsource {

// The GB2312 square as code page 936 lays it out: rows A1..F7, cells A1..FE, hanzi from row B0.
constexpr int kFirstRow = 0xA1;
constexpr int kLastRow = 0xF7;
constexpr int kFirstCell = 0xA1;
constexpr int kLastCell = 0xFE;
constexpr int kFirstHanziRow = 0xB0;
constexpr int kGb2312CodeCount = (kLastRow - kFirstRow + 1) * (kLastCell - kFirstCell + 1); // 8178

// Every two-byte GBK code: lead bytes 81..FE, trail bytes 40..7E and 80..FE.
constexpr int kGbkFirstLead = 0x81;
constexpr int kGbkLastLead = 0xFE;
constexpr int kGbkTrailsPerLead = 190;
constexpr int kGbkCodeCount = (kGbkLastLead - kGbkFirstLead + 1) * kGbkTrailsPerLead; // 23940

// The printable ASCII characters 20..7E.
constexpr int kAsciiCodeCount = 0x7E - 0x20 + 1; // 95

struct CodeEntry {
    std::uint16_t code = 0;
    std::optional<char32_t> character; // nothing: the code is unassigned, its record stays blank
    char32_t drawn = 0;                // the character, or the form drawn in its place (traditional)
    char32_t variant = 0;              // else the drawn form's Taiwan-standard variant, if any

    // A GB2312 hanzi: the glyphs a font's cells are fitted on.
    bool hanzi() const { return code >= 0x100 && (code >> 8) >= kFirstHanziRow && (code >> 8) <= kLastRow; }

    // What to try drawing, in order: the drawn form, its variant, the character; 0 for none.
    std::array<char32_t, 3> forms() const {
        if (!character)
            return {};
        return {drawn, variant, *character};
    }
};

// Every code from A1A1 to F7FE with the character code page 936 gives it.
std::vector<CodeEntry> gb2312Table();
// Every code from 8140 to FEFE in lead-byte, trail-byte order.
std::vector<CodeEntry> gbkTable();
// The characters 20..7E.
std::vector<CodeEntry> asciiTable();

} // namespace hz::fontsource
