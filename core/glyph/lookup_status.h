#pragma once
// What looking one character up found, whatever the glyph source.

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

} // namespace hz
