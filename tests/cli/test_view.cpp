// --view: the enlarged dot matrix of each record.
#include "cli_process.h"
#include "gbk.h"
#include "sample_fonts.h"
#include "text_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using hz::test::crlfLines;

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(View, EveryRecordWithDefaultMarksSeparatedByAnEmptyLine) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--view", "样字"});
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> lines = crlfLines(r.out);
    ASSERT_EQ(lines.size(), 33u);
    const std::string blank = repeat("□", 16);
    EXPECT_EQ(lines[0], blank);
    EXPECT_EQ(lines[1], "□□□□□■□□□■□□□□□□"); // 04 40
    EXPECT_EQ(lines[2], "□□□□□■■■■■■□□□□□"); // 07 E0
    EXPECT_EQ(lines[15], blank);
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(lines[17], blank);
    EXPECT_EQ(lines[32], repeat("□", 15) + "■");
}

TEST(View, OwnMarksAndBlankBackground) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--view", "--current", "--mark", "#", "--no-back", "样"});
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> lines = crlfLines(r.out);
    ASSERT_EQ(lines.size(), 16u);
    // A clear dot is two spaces, so set dots keep their columns.
    EXPECT_EQ(lines[2], std::string(10, ' ') + "######" + std::string(10, ' '));
    EXPECT_EQ(lines[0], std::string(32, ' '));
}

TEST(View, CurrentShowsOnlyTheLastRecordAndFilesAreCodePage936) {
    SampleFonts s;
    const std::string file = s.fonts.file("view.txt");
    CliResult r = runCli({"-f", s.dir(), "--view", "--current", "-o", file, "样字"});
    EXPECT_EQ(r.status, 0);
    std::string utf8 = repeat(repeat("□", 16) + "\r\n", 15) + repeat("□", 15) + "■\r\n";
    EXPECT_EQ(readFile(file), toGbk(utf8));
    CliResult gbk = runCli({"-f", s.dir(), "--view", "--current", "--encoding", "GBK", "样字"});
    EXPECT_EQ(gbk.out, toGbk(utf8));
}

struct Spacing {
    std::vector<std::string> args;
    int row; // 1-based place of the glyph's first dot in the 16x16 cell
    int column;
};

class TwelveDotSpacing : public ::testing::TestWithParam<Spacing> {};

TEST_P(TwelveDotSpacing, MovesTheGlyphInItsCell) {
    const Spacing& c = GetParam();
    TempFolder fonts;
    writeLibrary(fonts.file(kLibraryFiles[0]), 24, {{0xD1F9, {0x80}}});
    std::vector<std::string> args = {"-f", fonts.path(), "-l", "0", "--view", "--mark", "#", "--back", "."};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back("样");
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 0);
    std::vector<std::string> lines = crlfLines(r.out);
    ASSERT_EQ(lines.size(), 16u);
    for (int row = 1; row <= 16; ++row) {
        std::string want(16, '.');
        if (row == c.row)
            want[c.column - 1] = '#';
        EXPECT_EQ(lines[row - 1], want) << "row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Placements, TwelveDotSpacing,
                         ::testing::Values(Spacing{{}, 3, 3}, Spacing{{"-x", "0", "-y", "0"}, 1, 1},
                                           Spacing{{"--space-x=4", "--space-y=4"}, 5, 5},
                                           Spacing{{"-x4", "-y0"}, 1, 5}));

} // namespace
