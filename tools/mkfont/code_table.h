#pragma once
// The codes of a library file, in file order, and the character drawn for each.

#include <cstdint>
#include <optional>
#include <vector>

namespace mkfont {

class TraditionalMap;

constexpr int kFirstRow = 0xA1;
constexpr int kLastRow = 0xF7;
constexpr int kFirstCell = 0xA1;
constexpr int kLastCell = 0xFE;
constexpr int kFirstHanziRow = 0xB0;
constexpr int kCodeCount = (kLastRow - kFirstRow + 1) * (kLastCell - kFirstCell + 1); // 8178

struct CodeEntry {
    std::uint16_t code = 0;
    std::optional<char32_t> character; // nothing: the code is unassigned, its record stays blank
    char32_t drawn = 0;                // the character, or its traditional form
    char32_t variant = 0;              // else the traditional form's Taiwan-standard variant, if any

    bool hanzi() const { return (code >> 8) >= kFirstHanziRow; }
};

// Every code from A1A1 to F7FE with the character code page 936 gives it; with a traditional map,
// each character is drawn in its traditional form.
std::vector<CodeEntry> codeTable(const TraditionalMap* traditional);

} // namespace mkfont
