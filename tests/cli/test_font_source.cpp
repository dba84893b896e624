// A font as the glyph source of hzdot-cli: options, cell names, half-width cells and refusals. The
// glyphs themselves are checked against hzdot-mkfont's in the font source's own tests.
#include "cli_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <vector>

#include <unistd.h>

namespace {

const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

class FontSource : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kZenHei.c_str(), R_OK) != 0)
            GTEST_SKIP() << kZenHei << " is not installed (fonts-wqy-zenhei)";
    }
};

TEST_F(FontSource, HeadersNameTheCellOfEachCharacter) {
    CliResult r = runCli({"--font", kZenHei, "--size", "16", "A温"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(";A[8*16]横排\r\n")) << r.out;
    EXPECT_NE(r.out.find(";温[16*16]横排\r\n"), std::string::npos);
    CliResult pages = runCli({"--font", kZenHei, "--size", "20", "--layout", "pages-lsb", "--current", "温"});
    EXPECT_EQ(pages.status, 0);
    EXPECT_NE(pages.out.find("{//温[20*20]pages-lsb\r\n"), std::string::npos) << pages.out;
    // A half-width cell of 20 rows is 10 dots wide: 2 bytes a row in rows, 3 bands of 10 in pages.
    EXPECT_EQ(runCli({"--font", kZenHei, "--size", "20", "--format", "bin", "A"}).out.size(), 40u);
    EXPECT_EQ(runCli({"--font", kZenHei, "--size", "20", "--layout", "pages-msb", "--format", "bin", "A"}).out.size(),
              30u);
}

// A character left out of a header is named at its place in the text, counting the refused ones
// before it.
TEST_F(FontSource, HeaderNamesALeftOutCharacterAtItsPlace) {
    TempFolder folder;
    const std::string file = folder.file("font.h");
    CliResult r =
        runCli({"--font", kZenHei, "--size", "16", "--format", "header", "--key", "gb2312", "-o", file, "😀样한"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "hzdot-cli: character 1 '😀' (U+1F600): 当前字体中没有该字符！！！\n"
                     "hzdot-cli: character 3 '한' (U+D55C) has no GB2312 code; left out of the header\n" +
                         file + ": 1 glyph, 34 bytes\n");

    // Found by a scan, it is named by the file and line it was found on.
    writeFile(folder.file("ui.c"), "const char *a = \"样\";\n\nconst char *b = \"한\";\n");
    CliResult scanned = runCli({"--font", kZenHei, "--size", "16", "--format", "header", "--key", "gb2312", "-o", file,
                                "--scan", folder.file("ui.c")});
    EXPECT_EQ(scanned.status, 1);
    EXPECT_NE(scanned.err.find("hzdot-cli: " + folder.file("ui.c") +
                               ":3: '한' (U+D55C) has no GB2312 code; left out of the header\n"),
              std::string::npos)
        << scanned.err;
}

TEST_F(FontSource, ViewDrawsHalfWidthCellsHalfAsWide) {
    CliResult r = runCli({"--font", kZenHei, "--size", "16", "--view", "--mark", "#", "--back", ".", "A温"});
    EXPECT_EQ(r.status, 0);
    const std::size_t firstBreak = r.out.find("\r\n");
    EXPECT_EQ(firstBreak, 8u) << r.out;
    const std::size_t second = r.out.find("\r\n\r\n");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(r.out.find("\r\n", second + 4) - (second + 4), 16u);
}

TEST_F(FontSource, ASpaceIsABlankCellAndAMissingCharacterIsRefusedAlone) {
    CliResult r = runCli({"--font", kZenHei, "--size", "16", "--format", "bin", "A 😀温"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.size(), 16u + 16u + 32u); // A, the space, 温
    EXPECT_EQ(r.out.substr(16, 16), std::string(16, '\0'));
    EXPECT_NE(r.err.find("'😀' (U+1F600)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("当前字体中没有该字符"), std::string::npos) << r.err;
}

// A dot is kept when covered more than T/255: 0 keeps any ink, 254 only full cover.
TEST_F(FontSource, ThresholdsFromZeroTo254KeepInkAsTheyFall) {
    auto inkOf = [](const char* threshold) {
        CliResult r = runCli({"--font", kZenHei, "--size", "24", "--threshold", threshold, "--view", "--mark", "#",
                              "--back", ".", "永"});
        EXPECT_EQ(r.status, 0) << threshold << ": " << r.err;
        return std::count(r.out.begin(), r.out.end(), '#');
    };
    const auto zero = inkOf("0");
    const auto middle = inkOf("127");
    const auto top = inkOf("254");
    EXPECT_GT(middle, 0);
    EXPECT_GE(zero, middle);
    EXPECT_GE(middle, top);
}

TEST_F(FontSource, BadFontsFacesAndSizesWriteNothing) {
    TempFolder dir;
    const std::string out = dir.file("out.txt");
    const std::string notAFont = dir.file("font.ttf");
    writeFile(notAFont, "not a font at all");
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    for (const Case& c : std::vector<Case>{
             {{"--font", notAFont, "--size", "16"}, "font.ttf"},
             {{"--font", dir.file("none.ttf"), "--size", "16"}, "none.ttf"},
             {{"--font", kZenHei, "--face", "9", "--size", "16"}, "face"},
             {{"--font", kZenHei, "--size", "7"}, "--size"},
             {{"--font", kZenHei, "--size", "65"}, "--size"},
             // The ranges both programs take from one table.
             {{"--font", kZenHei, "--size", "16", "--threshold", "255"}, "give a grey level 0-254"},
             {{"--font", kZenHei, "--size", "16", "--face", "65536"}, "give a face number 0-65535"},
             {{"--font", kZenHei, "--size", "16", "--face", "65535"},
              ": has no face 65535 (it holds 3 faces, numbered from 0)\n"},
             {{"--font", kZenHei}, "--size"},
             {{"--size", "16"}, "--font"},
             {{"--font", kZenHei, "--size", "12", "--render", "plain"},
              "--render: 'plain' is not a rendering rule; give default or classic (or, to compare, dropout, "
              "autohint or grey)"},
             {{"--render", "classic"}, "--render goes with --font FILE"},
         }) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", out, "温"});
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(out));
    }
}

// --render reaches the font: Zen Hei's 温 at 12 dots gains the strokes the classic rendering drops,
// in the same cell, with dropout control kept; default is the rule without the option, and draws
// otherwise than classic there too.
TEST_F(FontSource, RenderRuleReachesTheGlyphs) {
    auto bytes = [](std::vector<std::string> extra) {
        std::vector<std::string> args{"--font", kZenHei, "--size", "12", "--format", "bin"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("温");
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    const std::string plain = bytes({});
    const std::string named = bytes({"--render", "default"});
    const std::string kept = bytes({"--render", "dropout"});
    const std::string classic = bytes({"--render", "classic"});
    ASSERT_EQ(plain.size(), 24u);
    EXPECT_EQ(plain, named);
    EXPECT_NE(plain, classic);
    ASSERT_EQ(classic.size(), kept.size());
    EXPECT_NE(classic, kept);
    // The kept glyph has every dot of the classic one.
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(kept[i] & classic[i], classic[i]) << "byte " << i;
}

// The width of each glyph's own cell reaches the record headers and a header's widths table;
// --ambiguous half puts ° in a half-width cell.
TEST_F(FontSource, OwnWidthsNameTheRecordsAndFillTheWidthsTable) {
    CliResult own = runCli({"--font", kZenHei, "--size", "16", "--width", "proportional", "iM"});
    ASSERT_EQ(own.status, 0) << own.err;
    const std::regex header(";([iM])\\[(\\d+)\\*16\\]横排\r\n");
    std::vector<int> widths;
    for (auto it = std::sregex_iterator(own.out.begin(), own.out.end(), header); it != std::sregex_iterator(); ++it)
        widths.push_back(std::stoi((*it)[2]));
    ASSERT_EQ(widths.size(), 2u) << own.out;
    EXPECT_LT(widths[0], 8) << own.out;
    EXPECT_GT(widths[1], 8) << own.out;
    EXPECT_LE(widths[1], 16) << own.out;

    TempFolder folder;
    const std::string file = folder.file("font.h");
    CliResult table =
        runCli({"--font", kZenHei, "--size", "16", "--width", "proportional", "--format", "header", "-o", file, "iM"});
    ASSERT_EQ(table.status, 0) << table.err;
    // Sorted by code point: M, then i.
    const std::string text = readFile(file);
    std::smatch row;
    ASSERT_TRUE(std::regex_search(text, row, std::regex("_widths\\[2\\] = \\{\\s*(\\d+), (\\d+),"))) << text;
    EXPECT_EQ(std::stoi(row[1]), widths[1]);
    EXPECT_EQ(std::stoi(row[2]), widths[0]);

    CliResult degree = runCli({"--font", kZenHei, "--size", "16", "--ambiguous", "half", "°C"});
    ASSERT_EQ(degree.status, 0) << degree.err;
    EXPECT_TRUE(degree.out.starts_with(";°[8*16]横排\r\n")) << degree.out;
    CliResult fullDegree = runCli({"--font", kZenHei, "--size", "16", "--ambiguous", "full", "°"});
    EXPECT_TRUE(fullDegree.out.starts_with(";°[16*16]横排\r\n")) << fullDegree.out;
}

} // namespace
