// Cell widths in a built library: half-width glyphs drawn narrower rather than cut and counted in
// the report, proportional widths and half-width ambiguous characters at the left of full-cell
// records with their widths beside the library, and every other record as it always was.

#include "library_view.h"
#include "process.h"
#include "temp_folder.h"

#include "core/text/codepage.h"
#include "fontsource/font_source.h"
#include "fontsource/width_class.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

using namespace hz::test;

namespace {

const std::string kMicrohei = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const std::string kZenhei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

int reported(const std::string& out, const std::string& pattern) {
    std::smatch match;
    const std::regex re(pattern);
    if (!std::regex_search(out, match, re))
        return -1;
    return std::stoi(match[1]);
}

// The report says how many half-width glyphs were drawn narrower, with or without --verbose, and
// none is cropped.
TEST(NarrowedGlyphs, AreCountedInTheReportAndNoneIsCropped) {
    TempFolder scratch;
    const ProcessResult run =
        runMkfont({"--font", kMicrohei, "--size", "16", "--charset", "ascii", "--output", scratch.file("ascii16")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_GT(reported(run.out, "\nnarrowed: (\\d+) half-width glyphs wider than their cell drawn narrower"), 0)
        << run.out;
    EXPECT_EQ(reported(run.out, "\nadjusted: .* (\\d+) cropped\n"), 0) << run.out;

    const ProcessResult verbose = runMkfont(
        {"--font", kMicrohei, "--size", "16", "--charset", "ascii", "--verbose", "--output", scratch.file("ascii16v")});
    ASSERT_EQ(verbose.status, 0) << verbose.err;
    EXPECT_NE(verbose.out.find("  drawn narrower to fit the cell's width: 57 W\n"), std::string::npos) << verbose.out;
    EXPECT_EQ(readFile(scratch.file("ascii16")), readFile(scratch.file("ascii16v")));
}

// A proportional library holds, at the left of each 16x16 record, the cell a live lookup draws,
// and its width in the widths file.
TEST(ProportionalLibrary, HoldsTheLiveCellsAndTheirWidths) {
    TempFolder scratch;
    const std::string output = scratch.file("ascii16");
    const ProcessResult run = runMkfont(
        {"--font", kZenhei, "--size", "16", "--charset", "ascii", "--width", "proportional", "--output", output});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("95 records of 32 bytes, 16x16 dots (proportional widths"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("widths: " + output + ".widths, a byte a record"), std::string::npos) << run.out;

    const std::string bytes = readFile(output);
    const std::string widths = readFile(output + ".widths");
    ASSERT_EQ(bytes.size(), 95u * 32u);
    ASSERT_EQ(widths.size(), 95u);
    auto live = hz::fontsource::FontSource::open({kZenhei, 0, 16, {}, hz::fontsource::GlyphWidths::Proportional});
    ASSERT_TRUE(live);
    for (char32_t c = 0x20; c <= 0x7E; ++c) {
        SCOPED_TRACE(static_cast<char>(c));
        hz::DotCell cell;
        ASSERT_EQ((*live)->glyph(c, cell), hz::LookupStatus::Found);
        const std::size_t k = c - 0x20;
        EXPECT_EQ(static_cast<unsigned char>(widths[k]), cell.width());
        for (int y = 0; y < 16; ++y) {
            const auto row = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[k * 32 + y * 2]) << 8 |
                                                        static_cast<unsigned char>(bytes[k * 32 + y * 2 + 1]));
            EXPECT_EQ(row, static_cast<std::uint16_t>(cell.row(y) >> 48)) << "row " << y;
        }
    }
    EXPECT_LT(widths['i' - 0x20], widths['M' - 0x20]);
}

// With the ambiguous characters half width, those records hold a half-width glyph at their left
// and every other record is byte for byte the default library's.
TEST(AmbiguousHalfLibrary, ChangesOnlyTheAmbiguousRecords) {
    TempFolder scratch;
    const std::string plain = scratch.file("plain16");
    const std::string narrow = scratch.file("narrow16");
    ASSERT_EQ(runMkfont({"--font", kZenhei, "--size", "16", "--output", plain}).status, 0);
    const ProcessResult run = runMkfont({"--font", kZenhei, "--size", "16", "--ambiguous", "half", "--output", narrow});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("(ambiguous-width characters half width, at the left of their records)"), std::string::npos)
        << run.out;

    const LibraryView before(plain, 16), after(narrow, 16);
    const std::string widths = readFile(narrow + ".widths");
    ASSERT_EQ(after.bytes().size(), before.bytes().size());
    ASSERT_EQ(widths.size(), 8178u);
    int halves = 0;
    for (int hi = 0xA1; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const auto code = static_cast<std::uint16_t>(hi << 8 | lo);
            const int width =
                static_cast<unsigned char>(widths[static_cast<std::size_t>((hi - 0xA1) * 94 + lo - 0xA1)]);
            const auto character = hz::cp936Character(code);
            if (character && hz::fontsource::ambiguousWidth(*character)) {
                EXPECT_TRUE(width == 8 || width == 0) << std::hex << code;
                halves += width == 8;
                if (const auto box = after.inkBox(code)) {
                    EXPECT_LT(box->right, 8) << std::hex << code << "\n" << after.picture(code);
                }
                continue;
            }
            EXPECT_EQ(after.record(code), before.record(code)) << std::hex << code;
            EXPECT_TRUE(width == 16 || (width == 0 && before.inkCount(code) == 0)) << std::hex << code;
        }
    }
    EXPECT_GT(halves, 300);
    EXPECT_EQ(widths[static_cast<std::size_t>((0xA1 - 0xA1) * 94 + 0xE3 - 0xA1)], 8) << "° at A1E3";
}

} // namespace
