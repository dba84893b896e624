#include "fontsource/code_table.h"

#include "core/text/codepage.h"

namespace hz::fontsource {

namespace {

bool privateUse(char32_t c) {
    return (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000;
}

CodeEntry doubleByteEntry(int lead, int trail) {
    CodeEntry entry;
    entry.code = static_cast<std::uint16_t>(lead << 8 | trail);
    entry.character = hz::cp936Character(entry.code);
    // A user-defined area would draw whatever the font keeps in its private use area.
    if (entry.character && privateUse(*entry.character))
        entry.character.reset();
    if (entry.character)
        entry.drawn = *entry.character;
    return entry;
}

} // namespace

std::vector<CodeEntry> gb2312Table() {
    std::vector<CodeEntry> entries;
    entries.reserve(kGb2312CodeCount);
    for (int row = kFirstRow; row <= kLastRow; ++row) {
        for (int cell = kFirstCell; cell <= kLastCell; ++cell)
            entries.push_back(doubleByteEntry(row, cell));
    }
    return entries;
}

std::vector<CodeEntry> gbkTable() {
    std::vector<CodeEntry> entries;
    entries.reserve(kGbkCodeCount);
    for (int lead = kGbkFirstLead; lead <= kGbkLastLead; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail != 0x7F)
                entries.push_back(doubleByteEntry(lead, trail));
        }
    }
    return entries;
}

std::vector<CodeEntry> asciiTable() {
    std::vector<CodeEntry> entries;
    entries.reserve(kAsciiCodeCount);
    for (char32_t c = 0x20; c <= 0x7E; ++c)
        entries.push_back({static_cast<std::uint16_t>(c), c, c, 0});
    return entries;
}

} // namespace hz::fontsource
