#pragma once
// A glyph record made the way the program makes it: the glyph's bytes written as the character's
// record of a library file in a folder of its own, then read back through a LibrarySource and the
// text walk. Header only: the test programs that include it link hzcore.

#include "core/glyph/glyph_record.h"
#include "core/glyph/glyph_source.h"
#include "core/glyph/text_walk.h"
#include "core/library/font_library.h"
#include "core/library/glyph_reader.h"
#include "core/library/library_source.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace hz::test {

// bytes: the glyph as the library holds it, row by row (a 12x12 glyph's rows two bytes each); only
// the first record's worth is written, anything shorter is padded with clear dots.
inline GlyphRecord libraryRecord(char32_t character, const std::vector<std::uint8_t>& bytes, int libraryPosition,
                                 int spaceX = 2, int spaceY = 2) {
    const FontLibrary& library = fontLibrary(libraryPosition);
    const auto code = cp936Code(character);
    const long number = code ? recordNumber(*code) : -1;
    if (number < 0)
        throw std::invalid_argument("libraryRecord: the character has no library record");
    const auto size = static_cast<std::size_t>(library.recordSize);
    std::vector<char> file((static_cast<std::size_t>(number) + 1) * size, 0);
    std::copy_n(bytes.begin(), std::min(size, bytes.size()), file.begin() + static_cast<std::ptrdiff_t>(number * size));

    static std::atomic<unsigned> made{0};
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("hz-record-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::create_directories(folder);
    std::ofstream(libraryPath(folder.string(), library), std::ios::binary)
        .write(file.data(), static_cast<std::streamsize>(file.size()));

    LibrarySource source(folder.string(), libraryPosition, spaceX, spaceY);
    GlyphRecord result;
    bool found = false;
    walkText(
        std::u32string(1, character), source,
        [&](std::size_t, const GlyphRecord& record) {
            result = record;
            found = true;
        },
        [](const RefusedCharacter&) {});
    std::filesystem::remove_all(folder);
    if (!found)
        throw std::runtime_error("libraryRecord: the record was not read back");
    return result;
}

} // namespace hz::test
