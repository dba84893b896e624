#pragma once
// Library files of the user's own: HZK-style files of any origin. Such a file is fixed-size records
// in GB2312 code order, 94 a row, from a first row on (0xA1 with the symbols, or 0xB0 when it holds
// hanzi only). A record is one N x N cell in some layout; the usual one is rows-msb, whose 12-dot
// records are rows padded to 16 dots (24 bytes). What a file does not say is found by probing it.

#include "core/glyph/glyph_source.h"
#include "core/layout/layout.h"
#include "core/library/record_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hz {

class GlyphSource;

struct LibraryGeometry {
    int cell = 16;         // dots a side, 8..64
    int firstRow = 0xA1;   // the code page 936 row of the first record, 0xA1..0xFE
    Layout recordLayout{}; // how each record holds its cell

    // ceil(cell/8) * cell, in any layout.
    int recordBytes() const { return static_cast<int>(encodedSize(recordLayout, cell, cell)); }
    bool operator==(const LibraryGeometry&) const = default;
};

// Why a geometry cannot be read (a cell outside 8..64 dots, a first row outside 0xA1..0xFE); empty
// when it can.
std::string geometryProblem(const LibraryGeometry& geometry);

// Reads glyphs from a user's library file. The file is opened on the first lookup and kept open;
// records are read through a window, as GlyphReader does.
class UserLibrarySource : public GlyphSource {
public:
    // Throws std::invalid_argument for a geometry with a problem: check geometryProblem first.
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

// What is known beforehand: anything given by hand is taken as it is (and refused with a message
// when it cannot be read).
struct ProbeHints {
    std::optional<int> cell;
    std::optional<int> firstRow;
    std::optional<Layout> recordLayout;
};

struct ProbeCandidate {
    LibraryGeometry geometry;
    long records = 0; // whole records in the file
    double score = 0; // mean likeness of the sample characters, 0..1
};

struct ProbeResult {
    LibraryGeometry geometry;
    long records = 0;
    long trailingBytes = 0; // bytes after the last whole record
    double score = 0;
    std::vector<ProbeCandidate> tried; // best first, one per cell and first row
    std::string error;                 // empty when found
    bool ok() const { return error.empty(); }
};

// The score a probe must reach, and the lead it must have over the best candidate of another cell
// or first row, to be taken without asking.
inline constexpr double kProbeMinScore = 0.55;
inline constexpr double kProbeMinLead = 0.05;

// Finds a file's cell, first row and record layout. The cells are those whose record size gives a
// plausible count of records (a whole number, or a remainder shorter than a record); for each, with
// each first row, a dozen common characters are decoded in all 48 layouts and scored against the
// reference source's glyphs with the layout detector. The error lists the candidates tried and what
// to pass by hand. With all three given by hand, the result is taken whatever it scores (the score
// still says how well the file matches the reference).
ProbeResult probeLibrary(const std::string& path, GlyphSource& reference, const ProbeHints& hints = {});

// "cell 24\nrecord-bytes 72\nfirst-row 0xB0\nrecord-layout columns-msb\nrecords 6768\nscore 0.812\n"
std::string probeReport(const ProbeResult& result);

} // namespace hz
