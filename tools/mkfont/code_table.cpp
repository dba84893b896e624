#include "tools/mkfont/code_table.h"

#include "tools/mkfont/traditional_map.h"

#include "core/codepage.h"

namespace mkfont {

namespace {

bool privateUse(char32_t c) {
    return (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000;
}

} // namespace

std::vector<CodeEntry> codeTable(const TraditionalMap* traditional) {
    std::vector<CodeEntry> entries;
    entries.reserve(kCodeCount);
    for (int hi = kFirstRow; hi <= kLastRow; ++hi) {
        for (int lo = kFirstCell; lo <= kLastCell; ++lo) {
            CodeEntry entry;
            entry.code = static_cast<std::uint16_t>(hi << 8 | lo);
            entry.character = hz::cp936Character(entry.code);
            // A user-defined area would draw whatever the font keeps in its private use area.
            if (entry.character && privateUse(*entry.character))
                entry.character.reset();
            if (entry.character) {
                entry.drawn = traditional ? traditional->toTraditional(*entry.character) : *entry.character;
                if (traditional && entry.drawn != *entry.character) {
                    if (const char32_t variant = traditional->taiwanVariant(entry.drawn); variant != entry.drawn)
                        entry.variant = variant;
                }
            }
            entries.push_back(entry);
        }
    }
    return entries;
}

} // namespace mkfont
