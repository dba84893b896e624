#pragma once
// Library files of the user's own: HZK-style files of any origin. Such a file is fixed-size records
// in GB2312 code order, 94 a row, from a first row on (0xA1 with the symbols, or 0xB0 when it holds
// hanzi only). A record is one N x N cell in some layout; the usual one is rows-msb, whose 12-dot
// records are rows padded to 16 dots (24 bytes). What a file does not say is found by probing it.

#include "core/glyph/glyph_source.h"
#include "core/layout/layout.h"
#include "core/library/record_file.h"
#include "core/system/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

class GlyphSource;

// The smallest cell a library file can have; the largest is DotCell::kMaxSide.
inline constexpr int kMinLibraryCell = 8;

struct LibraryGeometry {
    int cell = 16;         // dots a side, 8..64
    int firstRow = 0xA1;   // the code page 936 row of the first record, 0xA1..0xFE
    Layout recordLayout{}; // how each record holds its cell

    // ceil(cell/8) * cell, in any layout.
    int recordBytes() const { return static_cast<int>(encodedSize(recordLayout, cell, cell)); }
    bool operator==(const LibraryGeometry&) const = default;
};

// Whether a geometry can be read: CellOutOfRange for a cell outside 8..64 dots, FirstRowOutOfRange
// for a first row outside 0xA1..0xFE.
Result<void> checkGeometry(const LibraryGeometry& geometry);

// A code page 936 row as the messages write it: "0xB0".
std::string hexRow(int row);

// Reads glyphs from a user's library file. The file is opened on the first lookup and its records
// taken from memory after that, as GlyphReader does.
class UserLibrarySource : public GlyphSource {
public:
    // Throws std::invalid_argument for a geometry with a problem: check the geometry first.
    UserLibrarySource(std::string path, const LibraryGeometry& geometry);

    // Found: an N x N cell. NotChinese: not a GB2312 character, or one in a row before the file's
    // first row. RecordOutsideFile: the file ends before the character's record. LibraryMissing:
    // the file cannot be read.
    LookupStatus glyph(char32_t character, DotCell& cell) override;
    int height() const override { return geometry_.cell; }
    // "mylib.bin, 24 dots from row 0xB0, columns-msb"
    std::string description() const override;
    std::string filePath() const override { return path_; }

    const LibraryGeometry& geometry() const { return geometry_; }

private:
    std::string path_;
    LibraryGeometry geometry_;
    RecordFile file;
    std::vector<std::uint8_t> record;
};

// The record number of a code in a file starting at firstRow; -1 for a code before that row or not
// a double-byte GB2312 code.
long userRecordNumber(std::uint16_t code, int firstRow);

} // namespace hz
