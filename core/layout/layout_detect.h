#pragma once
// Finding the layout of a user's existing glyph bytes: which of the 48 layouts, at which cell size,
// turns the bytes into the character the user says they draw.
//
// The byte count gives the cells that could hold them: N x N and half-width ceil(N/2) x N for N
// from 8 to 64, counted for rows and for columns/pages separately (encodedSize). Two extra leading
// bytes equal to a fitting width and height are a header and are skipped. The bytes are decoded in
// every layout whose size matches and compared with a reference glyph of the character, usually
// drawn by another font than the firmware's: the comparison forgives strokes a dot or two off,
// thicker or thinner strokes and a glyph drawn a little larger or smaller (see glyphSimilarity).

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hz {

// How much candidate looks like reference, 0..1: the normalised correlation of the two glyphs,
// blurred so that strokes a dot or two apart still meet, best over shifts of a dot or two (more
// for larger cells), taken as drawn and with the candidate's ink stretched onto the reference's ink
// box (another font draws larger or smaller). An inverse or unrelated picture scores near 0. A
// reference of another size is first brought to the candidate's (cut out around its ink when that
// fits, else resampled). Empty glyphs score 0.
double glyphSimilarity(const DotCell& reference, const DotCell& candidate);

// A cell of width x height drawn from cell by box resampling, so thin strokes survive shrinking.
DotCell resampleCell(const DotCell& cell, int width, int height);

struct CellSize {
    int width = 0;
    int height = 0;
    bool operator==(const CellSize&) const = default;
};

// The cells (N x N, ceil(N/2) x N, N = 8..64) whose encoding in layouts of the given scan takes
// exactly byteCount bytes.
std::vector<CellSize> cellsForByteCount(std::size_t byteCount, Scan scan);

// The likeness to the reference of the bytes decoded as a cell of the given size in each layout,
// indexed by Layout::index(); 0 for layouts whose encoding of that cell has another size.
std::vector<double> scoreLayouts(std::span<const std::uint8_t> bytes, CellSize cell, const DotCell& reference);

struct LayoutCandidate {
    Layout layout;
    CellSize cell;
    double score = 0;    // 0..1, glyphSimilarity of the decoded bytes and the reference
    std::string presets; // presetNames(layout), empty when none
};

struct LayoutDetection {
    std::vector<LayoutCandidate> candidates; // best first; every layout and cell tried
    bool headerSkipped = false;              // the first two bytes were width and height
    // The best two differ only by a mirror (up or left toggled) and score within kMirrorMargin:
    // the character looks the same mirrored, so it cannot tell them apart. Try 我 or 的.
    bool mirrorAmbiguous = false;
    // The best two score within kMirrorMargin, mirrors or not (一 cannot tell many layouts apart).
    bool ambiguous = false;
    std::string error; // empty when candidates were found
    bool ok() const { return error.empty(); }
};

inline constexpr double kMirrorMargin = 0.02;

// Scores the bytes in all 48 layouts at every fitting cell against the reference. When the
// reference's own size fits, only that size is tried; otherwise the reference is resampled to each
// fitting cell. Errors: no bytes; a reference without dots; a count that fits no cell (naming the
// nearest counts that do).
LayoutDetection detectLayout(std::span<const std::uint8_t> bytes, const DotCell& reference);

// The note for an ambiguous detection, naming the best two layouts and saying whether they are
// mirrors; empty when the best is clear.
std::string ambiguityNote(const LayoutDetection& detection);

// "layout<TAB>score<TAB>presets" lines for the best `count` candidates, score with three decimals.
std::string detectionLines(const LayoutDetection& detection, std::size_t count = 5);

} // namespace hz
