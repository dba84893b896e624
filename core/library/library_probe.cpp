#include "core/library/library_probe.h"
#include "core/library/library_source.h"

#include "core/layout/layout_detect.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <cstdio>

namespace hz {

namespace {

constexpr int kRowCells = 94;
constexpr long kFullTable = 94L * 94L;

std::string threeDecimals(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// Common characters of the first level, which every file of hanzi holds; the asymmetric ones, which
// no mirror or wrong bit order passes, first.
constexpr char32_t kSamples[] = {U'我', U'的', U'是', U'永', U'一', U'中', U'国', U'人', U'大', U'圈', U'和', U'说'};
// Fewer samples than this inside the file tell too little.
constexpr int kMinSamples = 8;

// Our 24-dot Song library tells every cell size apart; the 16-dot one stands in when it is missing.
constexpr int kReferencePositions[] = {3, 1};

long recordBytes(int cell) {
    return LibraryGeometry{cell, 0xA1, Layout{}}.recordBytes();
}

// The cells a file of this size may have: a plausible file holds at least the first-level hanzi
// (from row 0xB0 to 0xD7) and no more than the whole 94 x 94 table.
std::vector<int> plausibleCells(std::uint64_t fileSize) {
    constexpr long kFewest = 40L * kRowCells;
    std::vector<int> cells;
    for (int n = kMinLibraryCell; n <= DotCell::kMaxSide; ++n) {
        const auto records = static_cast<long>(fileSize / static_cast<std::uint64_t>(recordBytes(n)));
        if (records >= kFewest && records <= kFullTable)
            cells.push_back(n);
    }
    return cells;
}

// One cell and first row: the samples it holds, read from the file, and their scores in each layout.
struct Trial {
    int cell;
    int firstRow;
    long records;
    std::vector<std::vector<std::uint8_t>> sampleRecords; // in sample order
    std::vector<std::size_t> sampleOf;                    // which sample each record is
    std::vector<double> total = std::vector<double>(Layout::kCount, 0.0);
    std::size_t scored = 0;

    int bestLayout(bool given, int givenIndex) const {
        if (given)
            return givenIndex;
        return static_cast<int>(std::max_element(total.begin(), total.end()) - total.begin());
    }
    double mean(int layout) const { return scored ? total[static_cast<std::size_t>(layout)] / scored : 0; }
};

} // namespace

Result<std::unique_ptr<LibrarySource>> probeReference(const std::string& libraryFolder) {
    for (int position : kReferencePositions) {
        auto library = std::make_unique<LibrarySource>(libraryFolder, position, 0, 0);
        if (RecordFile().open(library->path()))
            return library;
    }
    return Problem{.kind = ProblemKind::NoReferenceLibrary, .file = libraryFolder};
}

Result<ProbeResult, ProbeFailure> probeLibrary(const std::string& path, GlyphSource& reference,
                                               const ProbeHints& hints) {
    RecordFile file;
    if (auto opened = file.open(path); !opened)
        return ProbeFailure{opened.problem(), {}};
    const std::uint64_t fileSize = file.size();
    if (auto given = checkGeometry(
            {hints.cell.value_or(16), hints.firstRow.value_or(0xA1), hints.recordLayout.value_or(Layout{})});
        !given)
        return ProbeFailure{given.problem(), {}};
    const bool layoutGiven = hints.recordLayout.has_value();
    const Layout givenLayout = hints.recordLayout.value_or(Layout{});

    const std::vector<int> cells = hints.cell ? std::vector<int>{*hints.cell} : plausibleCells(fileSize);
    const std::vector<int> rows = hints.firstRow ? std::vector<int>{*hints.firstRow} : std::vector<int>{0xA1, 0xB0};

    // The reference glyphs, drawn once.
    std::vector<std::pair<std::uint16_t, DotCell>> samples;
    for (char32_t ch : kSamples) {
        DotCell glyph;
        const auto code = cp936Code(ch);
        if (code && reference.glyph(ch, glyph) == LookupStatus::Found && glyph.inkCount() > 0)
            samples.emplace_back(*code, glyph);
    }
    if (samples.size() < static_cast<std::size_t>(kMinSamples))
        return ProbeFailure{Problem{.kind = ProblemKind::ReferenceTooFewGlyphs, .value = reference.description()}, {}};

    std::vector<Trial> trials;
    for (int cell : cells) {
        const auto recordSize = static_cast<std::size_t>(recordBytes(cell));
        const long records = static_cast<long>(fileSize / recordSize);
        for (int firstRow : rows) {
            Trial trial{cell, firstRow, records, {}, {}};
            for (std::size_t k = 0; k < samples.size(); ++k) {
                const long number = userRecordNumber(samples[k].first, firstRow);
                if (number < 0 || number >= records)
                    continue;
                std::vector<std::uint8_t> bytes(recordSize);
                if (file.read(static_cast<std::uint64_t>(number) * recordSize, recordSize, bytes.data()) !=
                    LookupStatus::Found)
                    continue;
                trial.sampleRecords.push_back(std::move(bytes));
                trial.sampleOf.push_back(k);
            }
            if (trial.sampleRecords.size() >= static_cast<std::size_t>(kMinSamples))
                trials.push_back(std::move(trial));
        }
    }
    auto score = [&](Trial& trial, std::size_t upTo) {
        for (; trial.scored < std::min(upTo, trial.sampleRecords.size()); ++trial.scored) {
            const auto scores = scoreLayouts(trial.sampleRecords[trial.scored], CellSize{trial.cell, trial.cell},
                                             samples[trial.sampleOf[trial.scored]].second);
            for (std::size_t i = 0; i < trial.total.size(); ++i)
                trial.total[i] += scores[i];
        }
    };
    // A few samples first: the wrong cells and rows score far below the right one, and only the
    // trials near the best are worth all samples.
    constexpr std::size_t kFirstSamples = 4;
    constexpr double kStillInRace = 0.15;
    double leader = 0;
    for (Trial& trial : trials) {
        score(trial, kFirstSamples);
        leader = std::max(leader, trial.mean(trial.bestLayout(layoutGiven, givenLayout.index())));
    }
    std::vector<ProbeCandidate> tried;
    for (Trial& trial : trials) {
        const int best = trial.bestLayout(layoutGiven, givenLayout.index());
        if (trial.mean(best) >= leader - kStillInRace)
            score(trial, trial.sampleRecords.size());
        const int finalBest = trial.bestLayout(layoutGiven, givenLayout.index());
        tried.push_back({LibraryGeometry{trial.cell, trial.firstRow, Layout::fromIndex(finalBest)}, trial.records,
                         trial.mean(finalBest)});
    }
    std::stable_sort(tried.begin(), tried.end(),
                     [](const ProbeCandidate& a, const ProbeCandidate& b) { return a.score > b.score; });

    if (tried.empty()) {
        if (hints.cell)
            return ProbeFailure{
                Problem{.kind = ProblemKind::TooFewRecords, .file = path, .number = *hints.cell, .fileSize = fileSize},
                {}};
        return ProbeFailure{Problem{.kind = ProblemKind::NoPlausibleCell, .file = path, .fileSize = fileSize}, {}};
    }
    const ProbeCandidate& best = tried.front();
    // Everything given by hand is taken whatever it scores: the user knows their file.
    const bool allGiven = hints.cell && hints.firstRow && hints.recordLayout;
    const bool clear = allGiven || (best.score >= kProbeMinScore &&
                                    (tried.size() < 2 || best.score - tried[1].score >= kProbeMinLead));
    if (!clear)
        return ProbeFailure{Problem{.kind = ProblemKind::LayoutUnclear, .file = path}, std::move(tried)};

    ProbeResult result;
    result.geometry = best.geometry;
    result.records = best.records;
    result.trailingBytes =
        static_cast<long>(fileSize - static_cast<std::uint64_t>(best.records) * best.geometry.recordBytes());
    result.score = best.score;
    result.tried = std::move(tried);
    return result;
}

Result<ProbeResult, ProbeFailure> takeGivenGeometry(const std::string& path, const LibraryGeometry& geometry) {
    RecordFile file;
    if (auto opened = file.open(path); !opened)
        return ProbeFailure{opened.problem(), {}};
    if (auto given = checkGeometry(geometry); !given)
        return ProbeFailure{given.problem(), {}};
    const std::uint64_t fileSize = file.size();
    const auto recordSize = static_cast<std::uint64_t>(geometry.recordBytes());
    if (fileSize < recordSize)
        return ProbeFailure{Problem{.kind = ProblemKind::NoWholeRecord,
                                    .file = path,
                                    .number = static_cast<long long>(recordSize),
                                    .fileSize = fileSize},
                            {}};
    ProbeResult result;
    result.geometry = geometry;
    result.records = static_cast<long>(fileSize / recordSize);
    result.trailingBytes = static_cast<long>(fileSize % recordSize);
    return result;
}

std::string probeReport(const ProbeResult& result) {
    return "cell " + std::to_string(result.geometry.cell) + "\nrecord-bytes " +
           std::to_string(result.geometry.recordBytes()) + "\nfirst-row " + hexRow(result.geometry.firstRow) +
           "\nrecord-layout " + layoutName(result.geometry.recordLayout) + "\nrecords " +
           std::to_string(result.records) + "\nscore " + threeDecimals(result.score) + "\n";
}

} // namespace hz
