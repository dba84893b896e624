#include "core/library/user_library.h"

#include "core/layout/layout_detect.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

namespace {

constexpr int kRowCells = 94;
constexpr long kFullTable = 94L * 94L;
constexpr int kMinCell = 8;

std::string hexRow(int row) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", row);
    return text;
}

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

} // namespace

long userRecordNumber(std::uint16_t code, int firstRow) {
    const int hi = code >> 8;
    const int lo = code & 0xFF;
    if (hi < firstRow || hi > 0xFE || lo < 0xA1 || lo > 0xFE)
        return -1;
    return static_cast<long>(hi - firstRow) * kRowCells + (lo - 0xA1);
}

std::string geometryProblem(const LibraryGeometry& geometry) {
    if (geometry.cell < kMinCell || geometry.cell > DotCell::kMaxSide)
        return "a library cell of " + std::to_string(geometry.cell) + " dots; it must be 8 to 64";
    if (geometry.firstRow < 0xA1 || geometry.firstRow > 0xFE)
        return "a first row of " + hexRow(geometry.firstRow) + "; it must be 0xA1 to 0xFE";
    return {};
}

UserLibrarySource::UserLibrarySource(std::string path, const LibraryGeometry& geometry)
    : path_(std::move(path)), geometry_(geometry) {
    if (const std::string problem = geometryProblem(geometry); !problem.empty())
        throw std::invalid_argument(problem);
    record.resize(static_cast<std::size_t>(geometry.recordBytes()));
}

std::string UserLibrarySource::description() const {
    return path_ + ", " + std::to_string(geometry_.cell) + " dots from row " + hexRow(geometry_.firstRow) + ", " +
           layoutName(geometry_.recordLayout);
}

LookupStatus UserLibrarySource::glyph(char32_t character, DotCell& cell) {
    // The file first, as for the six libraries: a missing file is reported for any input.
    if (!file.isOpen() && !file.open(path_))
        return LookupStatus::LibraryMissing;
    const auto code = cp936Code(character);
    const long number = code ? userRecordNumber(*code, geometry_.firstRow) : -1;
    if (number < 0)
        return LookupStatus::NotChinese;

    const auto offset = static_cast<std::uint64_t>(number) * record.size();
    const LookupStatus status = file.read(offset, record.size(), record.data());
    if (status != LookupStatus::Found)
        return status;
    cell = decodeCell(record, geometry_.recordLayout, geometry_.cell, geometry_.cell);
    return status;
}

ProbeResult probeLibrary(const std::string& path, GlyphSource& reference, const ProbeHints& hints) {
    ProbeResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        result.error = "cannot read library file " + path + ": " + std::strerror(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = "cannot read library file " + path + ": not a file";
        return result;
    }
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    const std::string problem = geometryProblem(
        {hints.cell.value_or(16), hints.firstRow.value_or(0xA1), hints.recordLayout.value_or(Layout{})});
    if (!problem.empty()) {
        result.error = problem;
        return result;
    }
    const bool layoutGiven = hints.recordLayout.has_value();
    const Layout givenLayout = hints.recordLayout.value_or(Layout{});

    std::vector<int> cells;
    if (hints.cell) {
        cells.push_back(*hints.cell);
    } else {
        // A plausible file holds at least the first-level hanzi (from row 0xB0 to 0xD7) and no
        // more than the whole 94 x 94 table.
        constexpr long kFewest = 40L * kRowCells;
        for (int n = kMinCell; n <= DotCell::kMaxSide; ++n) {
            const auto records = static_cast<long>(fileSize / static_cast<std::uint64_t>((n + 7) / 8 * n));
            if (records >= kFewest && records <= kFullTable)
                cells.push_back(n);
        }
    }
    const std::vector<int> rows = hints.firstRow ? std::vector<int>{*hints.firstRow} : std::vector<int>{0xA1, 0xB0};

    // The reference glyphs, drawn once.
    std::vector<std::pair<std::uint16_t, DotCell>> samples;
    for (char32_t ch : kSamples) {
        DotCell glyph;
        const auto code = cp936Code(ch);
        if (code && reference.glyph(ch, glyph) == LookupStatus::Found && glyph.inkCount() > 0)
            samples.emplace_back(*code, glyph);
    }

    if (samples.size() < static_cast<std::size_t>(kMinSamples)) {
        result.error = "the reference source (" + reference.description() +
                       ") has too few glyphs of the common characters a library file is probed with";
        return result;
    }

    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        result.error = "cannot read library file " + path + ": " + std::strerror(errno);
        return result;
    }
    // Each cell and first row is a trial; the samples it holds are read from the file.
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
    std::vector<Trial> trials;
    for (int cell : cells) {
        const auto recordSize = static_cast<std::uint64_t>((cell + 7) / 8 * cell);
        const long records = static_cast<long>(fileSize / recordSize);
        for (int firstRow : rows) {
            Trial trial{cell, firstRow, records, {}, {}};
            for (std::size_t k = 0; k < samples.size(); ++k) {
                const long number = userRecordNumber(samples[k].first, firstRow);
                if (number < 0 || number >= records)
                    continue;
                std::vector<std::uint8_t> bytes(static_cast<std::size_t>(recordSize));
                const auto offset = static_cast<off_t>(static_cast<std::uint64_t>(number) * recordSize);
                if (::pread(fd.get(), bytes.data(), bytes.size(), offset) != static_cast<ssize_t>(bytes.size()))
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
    for (Trial& trial : trials) {
        const int best = trial.bestLayout(layoutGiven, givenLayout.index());
        if (trial.mean(best) >= leader - kStillInRace)
            score(trial, trial.sampleRecords.size());
        const int finalBest = trial.bestLayout(layoutGiven, givenLayout.index());
        result.tried.push_back({LibraryGeometry{trial.cell, trial.firstRow, Layout::fromIndex(finalBest)},
                                trial.records, trial.mean(finalBest)});
    }
    std::stable_sort(result.tried.begin(), result.tried.end(),
                     [](const ProbeCandidate& a, const ProbeCandidate& b) { return a.score > b.score; });

    const std::string byHand = "; pass --cell N, --first-row 0xA1|0xB0 and --record-layout L by hand";
    if (result.tried.empty()) {
        result.error = path + " (" + std::to_string(fileSize) + " bytes) holds " +
                       (hints.cell ? "too few records of " + std::to_string(*hints.cell) +
                                         " dots to hold the common characters it is probed with"
                                   : std::string("no plausible number of records for any cell of 8 to 64 dots")) +
                       byHand;
        return result;
    }
    const ProbeCandidate& best = result.tried.front();
    // Everything given by hand is taken whatever it scores: the user knows their file.
    const bool allGiven = hints.cell && hints.firstRow && hints.recordLayout;
    const bool clear = allGiven || (best.score >= kProbeMinScore &&
                                    (result.tried.size() < 2 || best.score - result.tried[1].score >= kProbeMinLead));
    if (!clear) {
        result.error = "cannot tell how " + path + " is laid out; tried (best first):";
        for (std::size_t i = 0; i < result.tried.size() && i < 8; ++i) {
            const ProbeCandidate& c = result.tried[i];
            result.error += "\n  cell " + std::to_string(c.geometry.cell) + ", first row " +
                            hexRow(c.geometry.firstRow) + ", " + layoutName(c.geometry.recordLayout) + ": score " +
                            threeDecimals(c.score);
        }
        result.error += "\n" + byHand.substr(2);
        return result;
    }
    result.geometry = best.geometry;
    result.records = best.records;
    result.trailingBytes =
        static_cast<long>(fileSize - static_cast<std::uint64_t>(best.records) * best.geometry.recordBytes());
    result.score = best.score;
    return result;
}

std::string probeReport(const ProbeResult& result) {
    return "cell " + std::to_string(result.geometry.cell) + "\nrecord-bytes " +
           std::to_string(result.geometry.recordBytes()) + "\nfirst-row " + hexRow(result.geometry.firstRow) +
           "\nrecord-layout " + layoutName(result.geometry.recordLayout) + "\nrecords " +
           std::to_string(result.records) + "\nscore " + threeDecimals(result.score) + "\n";
}

} // namespace hz
