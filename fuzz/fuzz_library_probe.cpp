// Probing a library file of the user's own: any length, any bytes, with and without hints. A probe
// must answer with a geometry it can read or a problem, never crash, and what it answers must add
// up: a readable geometry, whole records plus the trailing bytes making the file, the hints kept and
// the candidates best first.
//
// The input: a flags byte (bit 0: a cell is given, bit 1: a first row, bit 2: a record layout, none
// of them: the file is probed without hints; bit 3: the body patches a longer file), the three hints (cell, first row
// and layout index, taken even when out of range), then the body. A plain body is the file. A patching body starts with
// the file's length (3 bytes, big-endian, in units of 2 bytes) followed by patches, each a 3-byte offset, a 2-byte
// length and the bytes: the file reads as zeros elsewhere, so a library of thousands of records with a dozen records
// set costs the fuzzer a few hundred bytes. Longer files than a full table of 16-dot records are cut to one.

#include "memory_file.h"

#include "core/library/library_probe.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr int kReferenceCell = 16;

// The reference the file is compared with, drawn from each character's code: strokes that move with
// the code, so no two samples look alike, and none looks the same mirrored. fuzz/make_seeds.py draws
// the same glyphs into the files that match.
class CodeGlyphs final : public hz::GlyphSource {
public:
    hz::LookupStatus glyph(char32_t character, hz::DotCell& cell) override {
        const auto code = hz::cp936Code(character);
        if (!code || *code < 0x100)
            return hz::LookupStatus::NotChinese;
        const int k = *code;
        hz::DotCell drawn(kReferenceCell, kReferenceCell);
        for (int i = 1; i < 15; ++i) {
            drawn.setDot(3 + k % 7, i);       // a vertical stroke
            drawn.setDot(i, 2 + (k / 7) % 5); // a horizontal stroke
        }
        for (int x = 3 + (k / 35) % 5; x < 15; ++x)
            drawn.setDot(x, 12);
        for (int i = 0; i < 6; ++i)
            drawn.setDot(1 + i, 14 - i); // a rising diagonal
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                drawn.setDot(10 + k % 3 + x, 5 + (k / 3) % 4 + y);
        cell = drawn;
        return hz::LookupStatus::Found;
    }
    int height() const override { return kReferenceCell; }
    std::string description() const override { return "code glyphs"; }
};

// A full table of 16-dot records. A probe scores every cell a file's size allows, a dozen samples
// each in every layout: a blank file of larger cells takes longer than the fuzzer's timeout.
constexpr std::uint64_t kLargestFile = 94ULL * 94ULL * 32ULL;

std::uint64_t readNumber(const std::uint8_t*& at, const std::uint8_t* end, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes && at < end; ++i)
        value = value << 8 | *at++;
    return value;
}

// Builds the file from a patching body; false when the memory file fails.
bool patchFile(MemoryFile& file, const std::uint8_t* at, const std::uint8_t* end) {
    const std::uint64_t length = std::min(readNumber(at, end, 3) * 2, kLargestFile);
    if (!file.resize(length))
        return false;
    while (at < end) {
        const std::uint64_t offset = readNumber(at, end, 3);
        const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(readNumber(at, end, 2), end - at));
        if (offset < length &&
            !file.writeAt(offset, at, static_cast<std::size_t>(std::min<std::uint64_t>(size, length - offset))))
            return false;
        at += size;
    }
    return true;
}

void check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool sortedBestFirst(const std::vector<hz::ProbeCandidate>& tried) {
    return std::is_sorted(tried.begin(), tried.end(),
                          [](const hz::ProbeCandidate& a, const hz::ProbeCandidate& b) { return a.score > b.score; });
}

void checkCandidates(const std::vector<hz::ProbeCandidate>& tried, std::uint64_t fileSize,
                     const hz::ProbeHints& hints) {
    check(sortedBestFirst(tried));
    for (const hz::ProbeCandidate& candidate : tried) {
        check(static_cast<bool>(hz::checkGeometry(candidate.geometry)));
        check(candidate.records > 0 &&
              static_cast<std::uint64_t>(candidate.records) * candidate.geometry.recordBytes() <= fileSize);
        check(candidate.score >= 0 && candidate.score <= 1 + 1e-9);
        check(!hints.cell || candidate.geometry.cell == *hints.cell);
        check(!hints.firstRow || candidate.geometry.firstRow == *hints.firstRow);
        check(!hints.recordLayout || candidate.geometry.recordLayout == *hints.recordLayout);
    }
}

void probe(const MemoryFile& file, std::uint64_t fileSize, hz::GlyphSource& reference, const hz::ProbeHints& hints) {
    const auto probed = hz::probeLibrary(file.path(), reference, hints);
    const bool cellBad = hints.cell && (*hints.cell < hz::kMinLibraryCell || *hints.cell > hz::DotCell::kMaxSide);
    const bool rowBad = hints.firstRow && (*hints.firstRow < 0xA1 || *hints.firstRow > 0xFE);
    if (!probed) {
        const hz::ProbeFailure& failure = probed.problem();
        const hz::ProblemKind kind = failure.problem.kind;
        if (cellBad)
            check(kind == hz::ProblemKind::CellOutOfRange);
        else if (rowBad)
            check(kind == hz::ProblemKind::FirstRowOutOfRange);
        check(kind == hz::ProblemKind::LayoutUnclear || failure.tried.empty());
        checkCandidates(failure.tried, fileSize, hints);
        return;
    }
    check(!cellBad && !rowBad);
    const hz::ProbeResult& found = *probed;
    check(static_cast<bool>(hz::checkGeometry(found.geometry)));
    const long recordBytes = found.geometry.recordBytes();
    check(found.records > 0 && found.trailingBytes >= 0 && found.trailingBytes < recordBytes);
    check(static_cast<std::uint64_t>(found.records) * recordBytes + found.trailingBytes == fileSize);
    check(!found.tried.empty() && found.tried.front().geometry == found.geometry &&
          found.tried.front().records == found.records && found.tried.front().score == found.score);
    checkCandidates(found.tried, fileSize, hints);
    // Taken without asking only when clearly the best.
    if (!(hints.cell && hints.firstRow && hints.recordLayout))
        check(found.score >= hz::kProbeMinScore &&
              (found.tried.size() < 2 || found.score - found.tried[1].score >= hz::kProbeMinLead));
    check(!hz::probeReport(found).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 4;
    if (size < kHead)
        return 0;
    static CodeGlyphs reference;
    const std::uint8_t flags = data[0];
    MemoryFile file = (flags & 8) ? MemoryFile() : MemoryFile(data + kHead, size - kHead);
    if (!file.valid() || ((flags & 8) && !patchFile(file, data + kHead, data + size)))
        return 0;
    const std::uint64_t fileSize = file.size();

    hz::ProbeHints hints;
    if (flags & 1)
        hints.cell = data[1] % 72; // 0..71, out of range at both ends
    if (flags & 2)
        hints.firstRow = 0xA0 + data[2] % 96; // 0xA0..0xFF
    if (flags & 4)
        hints.recordLayout = hz::Layout::fromIndex(data[3] % hz::Layout::kCount);

    // One probe an input: scoring a full-sized file takes seconds under the sanitizers.
    probe(file, fileSize, reference, hints);

    // The same geometry given whole, without a reference: whole records and the rest.
    const hz::LibraryGeometry given{hints.cell.value_or(16), hints.firstRow.value_or(0xA1),
                                    hints.recordLayout.value_or(hz::Layout{})};
    const auto taken = hz::takeGivenGeometry(file.path(), given);
    if (!hz::checkGeometry(given)) {
        check(!taken);
    } else if (static_cast<std::uint64_t>(given.recordBytes()) > fileSize) {
        check(!taken && taken.problem().problem.kind == hz::ProblemKind::NoWholeRecord);
    } else {
        check(taken && taken->geometry == given && taken->score == 0 &&
              static_cast<std::uint64_t>(taken->records) * given.recordBytes() + taken->trailingBytes == fileSize);
    }
    return 0;
}
