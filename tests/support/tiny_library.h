#pragma once
// Small library files with known dots: blank records except for the glyphs a test gives.

#include <cstdint>
#include <string>
#include <vector>

namespace hz::test {

// The file names beside the program, by library position 0..5.
extern const char* const kLibraryFiles[6];

// Every record of a full GB2312 table: 94 x 94.
inline constexpr long kFullRecords = 94L * 94L;

// The record number of a GB2312 code (first byte high), worked out here rather than by the code
// under test so that a fault there shows.
long recordOf(std::uint16_t code);

struct TinyGlyph {
    std::uint16_t code; // GB2312 code, first byte high
    std::vector<std::uint8_t> bytes;
};

// Writes a library of recordCount records of recordSize bytes; a glyph's bytes fill its record from
// the start, and a glyph past the last record is left out.
void writeLibrary(const std::string& path, int recordSize, const std::vector<TinyGlyph>& glyphs,
                  long recordCount = kFullRecords);

} // namespace hz::test
