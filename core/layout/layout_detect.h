#pragma once
// Finding the layout of a user's existing glyph bytes: which of the 48 layouts, at which cell size,
// turns the bytes into the character the user says they draw.
//
// The byte count gives the cells that could hold them: N x N and half-width ceil(N/2) x N for N
// from 8 to 64, counted for rows and for columns/pages separately (encodedSize). Two extra leading
// bytes equal to a fitting width and height are a header and are skipped. The bytes are decoded in
// every layout whose size matches and compared with the character as one or more reference faces
// draw it, usually other fonts than the firmware's: the comparison forgives strokes a dot or two off,
// thicker or thinner strokes and a glyph drawn larger, smaller or elsewhere (see inkBoxSimilarity).

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"
#include "core/system/result.h"

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
// fits, else resampled). Empty glyphs score 0. Library probing compares records by it.
double glyphSimilarity(const DotCell& reference, const DotCell& candidate);

// How much candidate looks like reference, 0..1, compared at each glyph's own ink box: both boxes
// are stretched onto one grid (an axis at most 1.5 times more than the other, so 一 stays flat),
// blurred so that strokes a dot apart still meet, and correlated, best over shifts of a grid dot.
// Another font drawing the character larger, smaller or elsewhere in its cell, at any cell size,
// still scores high, while a stray layout's scramble gains nothing from filling the middle of the
// cell as a glyph does. An inverse or unrelated picture scores near 0; empty glyphs score 0.
// Layout detection compares by it.
double inkBoxSimilarity(const DotCell& reference, const DotCell& candidate);

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

// The cells detectLayout may decode the bytes as, each once: those after a leading width and
// height when the first two bytes name a cell the rest fits, else every cell the count fits. Faces
// drawn at these sizes are compared as they are, without resampling.
std::vector<CellSize> pasteCells(std::span<const std::uint8_t> bytes);

// The likeness to the reference of the bytes decoded as a cell of the given size in each layout,
// indexed by Layout::index(); 0 for layouts whose encoding of that cell has another size.
std::vector<double> scoreLayouts(std::span<const std::uint8_t> bytes, CellSize cell, const DotCell& reference);

struct LayoutCandidate {
    Layout layout;
    CellSize cell;
    double score = 0;    // 0..1: likeness, or 1 when the decoded bytes are one face dot for dot
    std::string presets; // presetNames(layout), empty when none
    double likeness = 0; // 0..1: the mean inkBoxSimilarity of the decoded bytes and the faces most like them
};

struct LayoutDetection {
    std::vector<LayoutCandidate> candidates; // best first; every layout and cell tried
    bool headerSkipped = false;              // the first two bytes were width and height
    // Where in candidates the best other layout is (not the best at another cell size); 0 when
    // there is none.
    std::size_t runnerUp = 0;
    // The best two layouts differ only by a mirror (up or left toggled) and are ambiguous: the
    // character looks the same mirrored, so it cannot tell them apart. Try 我 or 的.
    bool mirrorAmbiguous = false;
    // The best two layouts score within kClearMargin (一 cannot tell many layouts apart; nor can
    // bytes of a font drawn unlike every reference), or they differ only by mirrors, whole or of
    // each byte's dots, and their likeness within kMirrorMargin.
    bool ambiguous = false;
    // The best layout scores below kLikeScore (more for small cells): no layout draws anything like
    // the character, so the bytes are of another character, another size or no glyph at all.
    bool unlike = false;
    // The best layout is the answer: clearly ahead of the next and like the character.
    bool sure() const { return !ambiguous && !unlike; }
};

inline constexpr double kClearMargin = 0.05;
// Layouts that differ only by mirrors, whole or of each byte's dots, need this lead in likeness.
inline constexpr double kMirrorMargin = 0.08;
// Cells of fewer dots than kFullSizeDots need up to kSmallCellExtra more.
inline constexpr double kLikeScore = 0.55;
inline constexpr double kSmallCellExtra = 0.15;
inline constexpr double kFullSizeDots = 256;

// Scores the bytes in all 48 layouts at every fitting cell against references: the character as
// one or more faces draw it, the first the one the user chose. A layout's likeness is its mean
// inkBoxSimilarity to the better half of the faces: bytes of a Hei font are judged by the faces drawn
// like them, and a stray layout that happens to look like one face is held back by the others. Its
// score is that likeness, or 1 when it draws exactly one face at that face's own size. When a
// face's own size fits, only such sizes are tried. Problems: MatchNoBytes; MatchBlankReference (the
// first reference has no dots); MatchNoCell (number: the byte count; see nearestFittingCounts).
Result<LayoutDetection> detectLayout(std::span<const std::uint8_t> bytes, std::span<const DotCell> references);

// The nearest byte counts below and above byteCount that fit some cell, for the refusal of a count
// that fits none; one or two of them.
std::vector<std::size_t> nearestFittingCounts(std::size_t byteCount);

// "layout<TAB>score<TAB>presets" lines for the best `count` candidates, score with three decimals.
std::string detectionLines(const LayoutDetection& detection, std::size_t count = 5);

} // namespace hz
