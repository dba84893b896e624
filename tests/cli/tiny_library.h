#pragma once
// Small library files with known dots: blank records except for the glyphs a test gives.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The file names beside the program, by library position 0..5.
extern const char* const kLibraryFiles[6];

struct TinyGlyph {
    std::uint16_t code; // GB2312 code, first byte high
    std::vector<std::uint8_t> bytes;
};

// Writes a library of recordCount records of recordSize bytes; a glyph's bytes fill its record from
// the start. recordCount 0 means the whole 94 x 94 table.
void writeLibrary(const std::string& path, int recordSize, const std::vector<TinyGlyph>& glyphs, long recordCount = 0);

long recordNumberOf(std::uint16_t code);
