#pragma once
// Glyph records: one per looked-up character, with all ten texts ready for view and export.

#include "arrangements.h"
#include "glyph_reader.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct GlyphRecord {
    std::string character;                               // UTF-8, as typed
    std::string sizeText;                                // "12*12", "16*16" or "24*24"
    std::array<std::string, kArrangementCount> assembly; // by Arrangement; half texts may be empty
    std::array<std::string, kArrangementCount> c;        // by Arrangement; half texts may be empty
    std::string tag;                                     // "163216": name's first two chars, bytes, dots

    int glyphBytes() const;         // characters 3-4 of the tag
    int cellSize() const;           // characters 5-6 of the tag
    std::string sizeNumber() const; // characters 1-2 of the tag: "12", "16" or "24"
};

// The record of one character from its looked-up glyph.
GlyphRecord buildRecord(char32_t character, const Glyph& glyph, int libraryPosition, int spaceX, int spaceY);

struct LookupSettings {
    int libraryPosition = 1;
    int spaceX = 2;
    int spaceY = 2;
};

// Looks characters up one by one in one library, keeping the file open between them.
class RecordLookup {
public:
    RecordLookup(std::string_view programDir, const LookupSettings& settings);
    // Found: record is filled. Anything else: record is left as it was.
    LookupStatus lookup(char32_t character, GlyphRecord& record);

private:
    LookupSettings settings;
    GlyphReader reader;
    Glyph glyph;
};

struct RefusedCharacter {
    std::size_t position; // 0-based position in the text, counted in characters
    char32_t character;
    LookupStatus status;
};

struct LookupResult {
    std::vector<GlyphRecord> records;
    std::vector<RefusedCharacter> refused;
};

// A whole text at once: a record per found character, in order, and the refused characters.
LookupResult lookupText(std::u32string_view text, std::string_view programDir, const LookupSettings& settings);

} // namespace hz
