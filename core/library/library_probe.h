#pragma once
// Finding what a library file of the user's own does not say (its cell, first row and record
// layout) by comparing the glyphs it holds with those of our own Song library.

#include "core/glyph/glyph_source.h"
#include "core/library/library_source.h"
#include "core/library/user_library.h"
#include "core/system/result.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hz {

// What is known beforehand: anything given by hand is taken as it is (and refused when it cannot be
// read).
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
};

// Why a probe found nothing, with the candidates it tried (best first; empty unless it got as far
// as scoring them).
struct ProbeFailure {
    Problem problem;
    std::vector<ProbeCandidate> tried;
};

// The score a probe must reach, and the lead it must have over the best candidate of another cell
// or first row, to be taken without asking.
inline constexpr double kProbeMinScore = 0.55;
inline constexpr double kProbeMinLead = 0.05;

// Our library a user's file is compared with: hzk24宋 in libraryFolder, whose cell tells every cell
// size apart, or hzk16宋 when that file cannot be read. NoReferenceLibrary when neither can.
Result<std::unique_ptr<LibrarySource>> probeReference(const std::string& libraryFolder);

// Finds a file's cell, first row and record layout. The cells are those whose record size gives a
// plausible count of records (a whole number, or a remainder shorter than a record); for each, with
// each first row, a dozen common characters are decoded in all 48 layouts and scored against the
// reference source's glyphs with the layout detector. With all three given by hand, the result is
// taken whatever it scores (the score still says how well the file matches the reference).
// Problems: FileUnreadable, NotAFile, CellOutOfRange, FirstRowOutOfRange, ReferenceTooFewGlyphs,
// NoPlausibleCell, TooFewRecords (a cell given), LayoutUnclear (with the candidates).
Result<ProbeResult, ProbeFailure> probeLibrary(const std::string& path, GlyphSource& reference,
                                               const ProbeHints& hints = {});

// A file whose geometry is given whole by hand, with no reference to compare it with: the file is
// read and checked all the same (a readable regular file holding at least one whole record), and
// its score is 0 as nothing was compared. Problems: FileUnreadable, NotAFile, CellOutOfRange,
// FirstRowOutOfRange, NoWholeRecord.
Result<ProbeResult, ProbeFailure> takeGivenGeometry(const std::string& path, const LibraryGeometry& geometry);

// "cell 24\nrecord-bytes 72\nfirst-row 0xB0\nrecord-layout columns-msb\nrecords 6768\nscore 0.812\n"
std::string probeReport(const ProbeResult& result);

} // namespace hz
