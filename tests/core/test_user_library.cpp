#include "core/library/library_source.h"
#include "library_files.h"
#include "other_font.h"

#include "core/library/glyph_reader.h"
#include "core/library/library_probe.h"
#include "core/library/user_library.h"
#include "core/text/codepage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace {

using hz::DotCell;
using hz::LookupStatus;

constexpr int k24Song = 3;

// A user's file: the other font's library of `cell` dots, starting at firstRow, every record
// re-encoded in layout, then cut short or padded by `endBytes` (negative cuts).
struct FileShape {
    int cell;
    int firstRow;
    const char* layout;
    long endBytes;
};

std::string writeUserFile(const hz::test::TempFolder& dir, const FileShape& shape) {
    const std::string source = hz::test::readFile(hz::test::otherFontLibrary(shape.cell));
    const hz::Layout layout = *hz::parseLayout(shape.layout);
    const auto recordSize = static_cast<std::size_t>((shape.cell + 7) / 8 * shape.cell);
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = static_cast<std::size_t>(shape.firstRow - 0xA1) * 94 * recordSize;
         at + recordSize <= source.size(); at += recordSize) {
        const auto* record = reinterpret_cast<const std::uint8_t*>(source.data()) + at;
        const DotCell cell = DotCell::fromRowBytes({record, recordSize}, shape.cell, shape.cell);
        const auto encoded = hz::encodeCell(cell, layout);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    if (shape.endBytes < 0)
        bytes.resize(bytes.size() - static_cast<std::size_t>(-shape.endBytes));
    else
        bytes.insert(bytes.end(), static_cast<std::size_t>(shape.endBytes), 0x5A);
    const std::string path = dir.file("user.fnt");
    hz::test::writeFile(path, bytes);
    return path;
}

class UserLibraryFiles : public ::testing::TestWithParam<FileShape> {};

TEST_P(UserLibraryFiles, ProbeFindsTheGeometryAndLookupsGiveTheFilesGlyphs) {
    const FileShape shape = GetParam();
    hz::test::TempFolder dir;
    const std::string path = writeUserFile(dir, shape);
    hz::LibrarySource reference(hz::test::programDir(), k24Song, 2, 2);

    const auto probed = hz::probeLibrary(path, reference);
    ASSERT_TRUE(probed) << static_cast<int>(probed.problem().problem.kind);
    const hz::ProbeResult& found = *probed;
    EXPECT_EQ(found.geometry.cell, shape.cell);
    EXPECT_EQ(found.geometry.firstRow, shape.firstRow);
    EXPECT_EQ(hz::layoutName(found.geometry.recordLayout), shape.layout);
    const long recordSize = (shape.cell + 7) / 8 * shape.cell;
    const long fileSize = static_cast<long>(hz::test::readFile(path).size());
    EXPECT_EQ(found.records, fileSize / recordSize);
    EXPECT_EQ(found.trailingBytes, fileSize % recordSize);
    EXPECT_GE(found.score, hz::kProbeMinScore);

    hz::UserLibrarySource library(path, found.geometry);
    for (char32_t ch : {U'我', U'齐', U'中'}) {
        DotCell cell;
        ASSERT_EQ(library.glyph(ch, cell), LookupStatus::Found);
        EXPECT_EQ(cell, hz::test::otherFontGlyph(shape.cell, ch));
    }
    // A full-width comma lies in row 0xA3: only files from row 0xA1 hold it.
    DotCell cell;
    EXPECT_EQ(library.glyph(U'，', cell), shape.firstRow == 0xA1 ? LookupStatus::Found : LookupStatus::NotChinese);
    EXPECT_EQ(library.glyph(U'A', cell), LookupStatus::NotChinese);
    // The last record of the table: past the end of a file cut short.
    EXPECT_EQ(library.glyph(U'齄', cell), shape.endBytes < 0 ? LookupStatus::RecordOutsideFile : LookupStatus::Found);
    EXPECT_EQ(library.height(), shape.cell);
}

INSTANTIATE_TEST_SUITE_P(Shapes, UserLibraryFiles,
                         ::testing::Values(FileShape{12, 0xA1, "rows-msb", 0}, FileShape{12, 0xB0, "rows-msb", -36},
                                           FileShape{16, 0xA1, "columns-msb", 7},
                                           FileShape{16, 0xB0, "rows-msb", -32 * 3},
                                           FileShape{24, 0xB0, "columns-msb", 0},
                                           FileShape{24, 0xA1, "rows-msb", -100}),
                         [](const auto& info) {
                             const FileShape& s = info.param;
                             std::string name = std::to_string(s.cell) + (s.firstRow == 0xA1 ? "FromA1" : "FromB0") +
                                                (std::string(s.layout) == "rows-msb" ? "Rows" : "Columns");
                             return name + (s.endBytes < 0 ? "Cut" : s.endBytes > 0 ? "Padded" : "Whole");
                         });

TEST(UserLibrary, HintsAreTakenAsGiven) {
    hz::test::TempFolder dir;
    const std::string path = writeUserFile(dir, {24, 0xB0, "columns-msb", 0});
    hz::LibrarySource reference(hz::test::programDir(), k24Song, 2, 2);
    hz::ProbeHints hints;
    hints.cell = 24;
    hints.firstRow = 0xB0;
    hints.recordLayout = hz::parseLayout("columns-msb");
    const auto found = hz::probeLibrary(path, reference, hints);
    ASSERT_TRUE(found);
    const std::string report = hz::probeReport(*found);
    const std::string known =
        "cell 24\nrecord-bytes 72\nfirst-row 0xB0\nrecord-layout columns-msb\nrecords 6768\nscore 0.";
    EXPECT_EQ(report.substr(0, known.size()), known);
    EXPECT_EQ(report.size(), known.size() + 4) << report; // three decimals and the newline
}

// The kind of a probe's problem, or "found".
std::string outcome(const hz::Result<hz::ProbeResult, hz::ProbeFailure>& probed) {
    if (probed)
        return "found";
    using Kind = hz::ProblemKind;
    switch (probed.problem().problem.kind) {
    case Kind::FileUnreadable:
        return "unreadable";
    case Kind::NotAFile:
        return "not a file";
    case Kind::CellOutOfRange:
        return "cell out of range";
    case Kind::ReferenceTooFewGlyphs:
        return "reference too few glyphs";
    case Kind::NoPlausibleCell:
        return "no plausible cell";
    case Kind::TooFewRecords:
        return "too few records";
    case Kind::LayoutUnclear:
        return "layout unclear";
    default:
        return "other";
    }
}

TEST(UserLibrary, ProbeRefusesWhatItCannotTell) {
    hz::test::TempFolder dir;
    hz::LibrarySource reference(hz::test::programDir(), k24Song, 2, 2);

    // Noise of a plausible size: every candidate scores low, and the failure carries them, best
    // first, for the front end to list.
    std::vector<std::uint8_t> noise(8178 * 32);
    std::uint32_t state = 12345;
    for (auto& b : noise) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    hz::test::writeFile(dir.file("noise.fnt"), noise);
    auto found = hz::probeLibrary(dir.file("noise.fnt"), reference);
    ASSERT_EQ(outcome(found), "layout unclear");
    const hz::ProbeFailure& unclear = found.problem();
    EXPECT_EQ(unclear.problem.file, dir.file("noise.fnt"));
    ASSERT_FALSE(unclear.tried.empty());
    EXPECT_TRUE(std::is_sorted(unclear.tried.begin(), unclear.tried.end(),
                               [](const auto& a, const auto& b) { return a.score > b.score; }));
    EXPECT_LT(unclear.tried.front().score, hz::kProbeMinScore);
    const bool cell16FromA1 = std::any_of(unclear.tried.begin(), unclear.tried.end(), [](const auto& c) {
        return c.geometry.cell == 16 && c.geometry.firstRow == 0xA1 && c.records == 8178;
    });
    EXPECT_TRUE(cell16FromA1);

    // Given whole by hand, even noise is read as the user says.
    hz::ProbeHints all;
    all.cell = 16;
    all.firstRow = 0xA1;
    all.recordLayout = hz::Layout{};
    found = hz::probeLibrary(dir.file("noise.fnt"), reference, all);
    ASSERT_EQ(outcome(found), "found");
    EXPECT_LT(found->score, hz::kProbeMinScore);

    // A reference that draws nothing cannot judge.
    hz::LibrarySource nowhere(dir.path(), k24Song, 2, 2);
    found = hz::probeLibrary(dir.file("noise.fnt"), nowhere);
    ASSERT_EQ(outcome(found), "reference too few glyphs");
    EXPECT_EQ(found.problem().problem.value, nowhere.description());

    hz::test::writeFile(dir.file("small.fnt"), std::vector<std::uint8_t>(1000, 0));
    found = hz::probeLibrary(dir.file("small.fnt"), reference);
    ASSERT_EQ(outcome(found), "no plausible cell");
    EXPECT_EQ(found.problem().problem.fileSize, 1000u);

    hz::ProbeHints hints;
    hints.cell = 24;
    found = hz::probeLibrary(dir.file("small.fnt"), reference, hints);
    ASSERT_EQ(outcome(found), "too few records");
    EXPECT_EQ(found.problem().problem.number, 24);
    EXPECT_EQ(found.problem().problem.fileSize, 1000u);
    hints.cell = 65;
    found = hz::probeLibrary(dir.file("small.fnt"), reference, hints);
    ASSERT_EQ(outcome(found), "cell out of range");
    EXPECT_EQ(found.problem().problem.number, 65);
    EXPECT_THROW(hz::UserLibrarySource("x", {16, 0xA0, hz::Layout{}}), std::invalid_argument);

    found = hz::probeLibrary(dir.file("absent.fnt"), reference);
    ASSERT_EQ(outcome(found), "unreadable");
    EXPECT_EQ(found.problem().problem.systemError, ENOENT);
    EXPECT_EQ(found.problem().problem.file, dir.file("absent.fnt"));
    found = hz::probeLibrary(dir.path(), reference);
    EXPECT_EQ(outcome(found), "not a file");
}

TEST(UserLibrary, GeometryLimits) {
    struct Row {
        hz::LibraryGeometry geometry;
        std::optional<hz::ProblemKind> kind;
        long long number;
    };
    const Row rows[] = {
        {{8, 0xA1, {}}, std::nullopt, 0},
        {{64, 0xFE, {}}, std::nullopt, 0},
        {{7, 0xA1, {}}, hz::ProblemKind::CellOutOfRange, 7},
        {{65, 0xB0, {}}, hz::ProblemKind::CellOutOfRange, 65},
        {{16, 0xA0, {}}, hz::ProblemKind::FirstRowOutOfRange, 0xA0},
        {{16, 0xFF, {}}, hz::ProblemKind::FirstRowOutOfRange, 0xFF},
    };
    for (const Row& row : rows) {
        const auto checked = hz::checkGeometry(row.geometry);
        ASSERT_EQ(!checked, row.kind.has_value()) << row.geometry.cell << " " << row.geometry.firstRow;
        if (row.kind) {
            EXPECT_EQ(checked.problem().kind, *row.kind);
            EXPECT_EQ(checked.problem().number, row.number);
        }
    }
}

TEST(UserLibrary, ProbeReferenceIs24DotSongElse16) {
    hz::test::TempFolder dir;
    EXPECT_FALSE(hz::probeReference(dir.path()));
    EXPECT_EQ(hz::probeReference(dir.path()).problem().kind, hz::ProblemKind::NoReferenceLibrary);
    const auto full = hz::probeReference(hz::test::programDir());
    ASSERT_TRUE(full);
    EXPECT_EQ((*full)->libraryPosition(), k24Song);
    // Only the 16-dot library there: it stands in.
    const auto& song16 = hz::fontLibrary(1);
    hz::test::writeFile(hz::libraryPath(dir.path(), song16),
                        std::vector<std::uint8_t>(static_cast<std::size_t>(song16.recordSize), 0));
    const auto fallback = hz::probeReference(dir.path());
    ASSERT_TRUE(fallback);
    EXPECT_EQ((*fallback)->libraryPosition(), 1);
}

TEST(UserLibrary, RefusalsOfTheSource) {
    hz::test::TempFolder dir;
    hz::UserLibrarySource absent(dir.file("absent.fnt"), {});
    DotCell cell;
    EXPECT_EQ(absent.glyph(U'我', cell), LookupStatus::LibraryMissing);
    // A pipe is refused at once, not waited on for a writer.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    hz::UserLibrarySource pipe(dir.file("pipe"), {});
    EXPECT_EQ(pipe.glyph(U'我', cell), LookupStatus::LibraryMissing);

    // Two whole 16-dot records from row 0xB0: 啊 and 阿; a third, 埃, would need more bytes.
    std::vector<std::uint8_t> bytes(2 * 32 + 31, 0xFF);
    hz::test::writeFile(dir.file("short.fnt"), bytes);
    hz::UserLibrarySource two(dir.file("short.fnt"), {16, 0xB0, hz::Layout{}});
    EXPECT_EQ(two.glyph(U'阿', cell), LookupStatus::Found);
    EXPECT_EQ(cell.inkCount(), 256);
    EXPECT_EQ(two.glyph(U'埃', cell), LookupStatus::RecordOutsideFile);
    EXPECT_EQ(two.glyph(U'，', cell), LookupStatus::NotChinese);

    EXPECT_EQ(hz::userRecordNumber(0xB0A1, 0xB0), 0);
    EXPECT_EQ(hz::userRecordNumber(0xB1A2, 0xB0), 95);
    EXPECT_EQ(hz::userRecordNumber(0xAFFE, 0xB0), -1);
    EXPECT_EQ(hz::userRecordNumber(0xB0A0, 0xB0), -1);
}

} // namespace
