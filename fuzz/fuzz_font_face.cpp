// Font loading on mutated BDF, PCF and TrueType files, through the font source the programs use: a
// font is opened for a cell of 12, 16 or 24 dots (chosen by the first byte), fitted, and a few
// characters are drawn. Bad fonts must be refused with a message, never crash.

#include "memory_file.h"

#include "fontsource/font_source.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr int kCells[] = {12, 16, 24};
    const int cell = kCells[data[0] % 3];
    const std::optional<int> threshold = (data[0] & 0x80) ? std::optional<int>(data[0] & 0x7F) : std::nullopt;
    MemoryFile file(data + 1, size - 1);
    if (!file.valid())
        return 0;
    auto source = hz::fontsource::FontSource::open({file.path(), 0, cell, threshold});
    if (!source)
        return 0;
    hz::DotCell drawn;
    for (char32_t c : {U'啊', U'国', U'字', U'A', U' '})
        (void)(*source)->glyph(c, drawn);
    return 0;
}
