#pragma once
// The six dot-matrix font libraries and where their files live.

#include <array>
#include <string>
#include <string_view>

namespace hz {

struct FontLibrary {
    int position;              // list position 0..5, as in the library chooser
    std::string_view name;     // displayed name, e.g. "16*16宋体" (UTF-8)
    std::string_view fileName; // file name in the program's folder, e.g. "hzk16宋" (UTF-8)
    int recordSize;            // bytes per record in the file: 24, 32 or 72
    int GlyphBytes;            // bytes of a glyph as handled: 32 or 72 (12x12 is widened to 32)
    int CellSize;              // dots per cell side: 16 or 24
};

inline constexpr int kLibraryCount = 6;
inline constexpr int kTwelvePosition = 0; // the 12x12 library, handled in a 16x16 cell

const std::array<FontLibrary, kLibraryCount>& fontLibraries();

// Throws std::out_of_range for a position outside 0..5.
const FontLibrary& fontLibrary(int position);

// FontFile: the program's folder followed by the library's file name.
std::string libraryPath(std::string_view programDir, const FontLibrary& library);

// Whether the library's records carry the two half-column arrangements: every 32-byte library.
bool hasHalfColumns(int position);

} // namespace hz
