#include "core/user_library.h"

#include "core/codepage.h"
#include "core/layout_detect.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

namespace {

constexpr int kRowCells = 94;
constexpr long kFullTable = 94L * 94L;

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

// Common characters of the first level, which every file of hanzi holds, with enough asymmetric
// ones (我 的 是 永) that a mirror or a wrong bit order cannot pass.
constexpr char32_t kSamples[] = {U'一', U'中', U'国', U'人', U'大', U'的', U'是', U'我', U'永', U'圈', U'和', U'说'};
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

UserLibrarySource::UserLibrarySource(std::string path, const LibraryGeometry& geometry)
    : path_(std::move(path)), geometry_(geometry), record(static_cast<std::size_t>(geometry.recordBytes())) {}

std::string UserLibrarySource::description() const {
    return path_ + ", " + std::to_string(geometry_.cell) + " dots from row " + hexRow(geometry_.firstRow) + ", " +
           layoutName(geometry_.recordLayout);
}

bool UserLibrarySource::open() {
    UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    file = std::move(fd);
    fileSize = static_cast<std::uint64_t>(st.st_size);
    opened = true;
    return true;
}

LookupStatus UserLibrarySource::glyph(char32_t character, DotCell& cell) {
    // The file first, as for the six libraries: a missing file is reported for any input.
    if (!opened && !open())
        return LookupStatus::LibraryMissing;
    const auto code = cp936Code(character);
    const long number = code ? userRecordNumber(*code, geometry_.firstRow) : -1;
    if (number < 0)
        return LookupStatus::NotChinese;

    // Written so that neither side can overflow, whatever the file's size.
    const auto recordSize = static_cast<std::uint64_t>(record.size());
    const auto offset = static_cast<std::uint64_t>(number) * recordSize;
    if (recordSize > fileSize || offset > fileSize - recordSize)
        return LookupStatus::RecordOutsideFile;
    const LookupStatus status = readRecord(offset, record.data());
    if (status != LookupStatus::Found)
        return status;
    cell = decodeCell(record, geometry_.recordLayout, geometry_.cell, geometry_.cell);
    return status;
}

LookupStatus UserLibrarySource::readRecord(std::uint64_t offset, std::uint8_t* out) {
    const std::size_t recordSize = record.size();
    if (offset < blockStart || offset + recordSize > blockStart + block.size()) {
        // The window holds every record that starts in its first kBlock bytes.
        constexpr std::uint64_t kBlock = 64 * 1024;
        const std::uint64_t start = offset / kBlock * kBlock;
        const std::uint64_t length = std::min<std::uint64_t>(kBlock + recordSize, fileSize - start);
        block.resize(static_cast<std::size_t>(length));
        std::size_t done = 0;
        int readError = 0;
        while (done < block.size()) {
            const ssize_t n =
                ::pread(file.get(), block.data() + done, block.size() - done, static_cast<off_t>(start + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                readError = errno;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        block.resize(done); // short when the file shrank since it was opened
        blockStart = start;
        if (offset + recordSize > blockStart + block.size())
            return readError ? LookupStatus::LibraryMissing : LookupStatus::RecordOutsideFile;
    }
    std::memcpy(out, block.data() + (offset - blockStart), recordSize);
    return LookupStatus::Found;
}

ProbeResult probeLibrary(const std::string& path, GlyphSource& reference, const ProbeHints& hints) {
    ProbeResult result;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = "cannot read library file " + path + ": " + (errno ? std::strerror(errno) : "not a file");
        return result;
    }
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    const bool layoutGiven = hints.recordLayout.has_value();
    const Layout givenLayout = hints.recordLayout.value_or(Layout{});

    std::vector<int> cells;
    if (hints.cell) {
        cells.push_back(*hints.cell);
    } else {
        // A plausible file holds at least the first-level hanzi (from row 0xB0 to 0xD7) and no
        // more than the whole 94 x 94 table.
        constexpr long kFewest = 40L * kRowCells;
        for (int n = 8; n <= DotCell::kMaxSide; ++n) {
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

    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        result.error = "cannot read library file " + path + ": " + std::strerror(errno);
        return result;
    }
    for (int cell : cells) {
        const LibraryGeometry shape{cell, 0xA1, givenLayout};
        const auto recordSize = static_cast<std::uint64_t>(shape.recordBytes());
        const long records = static_cast<long>(fileSize / recordSize);
        for (int firstRow : rows) {
            std::vector<double> total(Layout::kCount, 0.0);
            int counted = 0;
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(recordSize));
            for (const auto& [code, glyph] : samples) {
                const long number = userRecordNumber(code, firstRow);
                if (number < 0 || number >= records)
                    continue;
                const auto offset = static_cast<off_t>(static_cast<std::uint64_t>(number) * recordSize);
                if (::pread(fd.get(), bytes.data(), bytes.size(), offset) != static_cast<ssize_t>(bytes.size()))
                    continue;
                const auto scores = scoreLayouts(bytes, CellSize{cell, cell}, glyph);
                for (std::size_t i = 0; i < total.size(); ++i)
                    total[i] += scores[i];
                ++counted;
            }
            if (counted < kMinSamples)
                continue;
            int best = layoutGiven ? givenLayout.index() : 0;
            if (!layoutGiven)
                for (int i = 1; i < Layout::kCount; ++i)
                    if (total[static_cast<std::size_t>(i)] > total[static_cast<std::size_t>(best)])
                        best = i;
            result.tried.push_back({LibraryGeometry{cell, firstRow, Layout::fromIndex(best)}, records,
                                    total[static_cast<std::size_t>(best)] / counted});
        }
    }
    std::stable_sort(result.tried.begin(), result.tried.end(),
                     [](const ProbeCandidate& a, const ProbeCandidate& b) { return a.score > b.score; });

    const std::string byHand = "; pass --cell N, --first-row 0xA1|0xB0 and --record-layout L by hand";
    if (result.tried.empty()) {
        result.error = path + " (" + std::to_string(fileSize) +
                       " bytes) holds no plausible number of records for any cell of 8 to 64 dots" + byHand;
        return result;
    }
    const ProbeCandidate& best = result.tried.front();
    const bool clear = best.score >= kProbeMinScore &&
                       (result.tried.size() < 2 || best.score - result.tried[1].score >= kProbeMinLead);
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
