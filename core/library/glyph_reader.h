#pragma once
// Reading one character's dot matrix from a library file.

#include "core/library/font_library.h"
#include "core/library/record_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

// What a lookup of one character found. The numbers are part of the program's vocabulary.
enum class LookupStatus : int {
    Found = 0,
    LibraryMissing = 1,    // no readable library file at FontFile
    NotChinese = 2,        // not a double-byte GB2312 character
    RecordOutsideFile = 3, // the library file is too short to hold the character's record
    NotInFont = 4,         // a font source has no glyph for the character
    FontUnreadable = 5,    // a font source failed to draw a glyph it maps
};

// The message the program shows for a status other than Found (UTF-8).
const char* statusMessage(LookupStatus status);

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
