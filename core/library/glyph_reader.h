#pragma once
// Reading one character's dot matrix from a library file.

#include "core/glyph/lookup_status.h"
#include "core/library/font_library.h"
#include "core/library/record_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

// One glyph as read: a CellSize x CellSize cell, rows from the top, each row's bytes from the left,
// the most significant bit the leftmost dot. A 12x12 record is widened to a 16x16 cell of 32 bytes
// (its 24 bytes, then 8 zero bytes); it is not moved here.
struct Glyph {
    std::vector<std::uint8_t> GlyphData;
    int GlyphBytes = 0;
    int CellSize = 0;
};

// The record number of a double-byte code: (hi - 0xA1) * 94 + (lo - 0xA1); -1 when either byte is
// outside 0xA1..0xFE.
long recordNumber(std::uint16_t code);

// Reads characters from one library file. Keeps the file open for the reader's lifetime, so that a
// long text is read with one open; the single-shot GetDz below opens and closes per call.
class GlyphReader {
public:
    GlyphReader(std::string fontFile, const FontLibrary& library);

    // Status as GetDz. The glyph is cleared to GlyphBytes zero bytes first, so on anything but Found
    // it holds no dots.
    LookupStatus read(char32_t character, Glyph& glyph);

private:
    bool libraryReadable() const;

    std::string FontFile;
    const FontLibrary* library;
    RecordFile file;
};

// Looks one character up in the library file at fontFile.
LookupStatus GetDz(const std::string& fontFile, const FontLibrary& library, char32_t character, Glyph& glyph);

} // namespace hz
