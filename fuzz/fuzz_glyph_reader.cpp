// The library reader on arbitrary files: any length, any bytes. The first byte chooses the library
// layout; characters are read from the start, the middle and the end of the table, and around the
// place the file ends.

#include "core/library/font_library.h"
#include "core/library/glyph_reader.h"
#include "memory_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const hz::FontLibrary& library = hz::fontLibrary(data[0] % hz::kLibraryCount);
    MemoryFile file(data + 1, size - 1);
    if (!file.valid())
        return 0;
    hz::GlyphReader reader(file.path(), library);
    hz::Glyph glyph;
    for (char32_t c : {U'啊', U'样', U'字', U'齄', U'，', U'a', U'\U0001F600'}) {
        const hz::LookupStatus status = reader.read(c, glyph);
        if (status == hz::LookupStatus::Found && glyph.GlyphData.size() != static_cast<std::size_t>(glyph.GlyphBytes))
            __builtin_trap();
    }
    // The single-shot lookup agrees with the reader.
    hz::Glyph again;
    if (hz::GetDz(file.path(), library, U'啊', again) != reader.read(U'啊', glyph) ||
        again.GlyphData != glyph.GlyphData)
        __builtin_trap();
    return 0;
}
