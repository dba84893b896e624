// hzdot-mkfont's font loading on mutated BDF, PCF and TrueType files: a font is opened for a cell of
// 12, 16 or 24 dots (chosen by the first byte) and a few hanzi are rendered. Bad fonts must be
// refused with a message, never crash. Kept thin: it only opens and renders, as the builder does.

#include "memory_file.h"
#include "tools/mkfont/font_face.h"
#include "tools/mkfont/mkfont_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static constexpr int kCells[] = {12, 16, 24};
    const int cell = kCells[data[0] % 3];
    const std::optional<int> threshold = (data[0] & 0x80) ? std::optional<int>(data[0] & 0x7F) : std::nullopt;
    MemoryFile file(data + 1, size - 1);
    if (!file.valid())
        return 0;
    try {
        mkfont::FontFace face(file.path(), 0, cell);
        if (face.source() == mkfont::GlyphSource::Outline)
            face.setPixelSize(cell);
        (void)face.ascent();
        for (char32_t c : {U'啊', U'国', U'字', U'A'})
            (void)face.render(c, threshold);
    } catch (const mkfont::MkfontError&) {
    }
    return 0;
}
