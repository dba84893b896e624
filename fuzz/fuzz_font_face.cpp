// Font loading on mutated BDF, PCF and TrueType files, by the steps the font source takes: a face is
// opened for a cell of 12, 16 or 24 dots (chosen by the first byte), its rule fitted, and a few
// characters drawn and placed. Bad fonts must be refused with a message, never crash.
//
// Kept fast enough to find something in a short run: the rule is fitted over a dozen characters
// rather than the whole GB2312 set (fitting draws every entry, at several sizes), with one face
// rather than one per core, and without the font source's cache of fitted rules, which would keep
// a rule for every input.

#include "memory_file.h"

#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/width_class.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

// Hanzi and the symbols fitting treats apart (wide dashes, box drawing), a dozen in all.
const std::vector<hz::fontsource::CodeEntry>& fittedEntries() {
    static const std::vector<hz::fontsource::CodeEntry> entries = [] {
        constexpr std::uint16_t kCodes[] = {0xB0A1, 0xB9FA, 0xD7D6, 0xB5C4, 0xD2BB, 0xCED2,
                                            0xA1A1, 0xA1AA, 0xA3AC, 0xA3C1, 0xA9A4, 0xA8A6};
        std::vector<hz::fontsource::CodeEntry> chosen;
        for (const auto& entry : hz::fontsource::gb2312Table())
            if (std::ranges::find(kCodes, entry.code) != std::end(kCodes))
                chosen.push_back(entry);
        return chosen;
    }();
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hz::fontsource;
    if (size == 0)
        return 0;
    static constexpr int kCells[] = {12, 16, 24};
    const int cell = kCells[data[0] % 3];
    const std::optional<int> threshold = (data[0] & 0x80) ? std::optional<int>(data[0] & 0x7F) : std::nullopt;
    MemoryFile file(data + 1, size - 1);
    if (!file.valid())
        return 0;
    auto pool = FacePool::open(file.path(), 0, cell, 1);
    if (!pool)
        return 0;
    auto fitted = fitCells(*pool, fittedEntries(), cell, threshold);
    if (!fitted)
        return 0;
    if (fitted->glyphs.size() != fittedEntries().size() || fitted->rule.size != cell)
        __builtin_trap();
    FontFace face = pool->takeFront();
    for (char32_t c : {U'啊', U'国', U'字', U'A', U' '}) {
        if (!face.maps(c))
            continue;
        const hz::WidthClass widthClass = widthClassOf(c);
        const char32_t forms[] = {c};
        const DrawnGlyph drawn = drawGlyph(face, fitted->rule, forms, widthClass);
        if (drawn.status != RenderStatus::Drawn)
            continue;
        const hz::DotCell placed = placeDrawn(drawn, fitted->rule, widthClass).cell;
        if (placed.width() != fitted->rule.width(widthClass) || placed.height() != cell)
            __builtin_trap();
    }
    return 0;
}
