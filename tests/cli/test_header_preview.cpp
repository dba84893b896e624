// C headers and panel pictures from the command line: the options reach the core, refusals are
// named, and nothing is written on a bad request. The header's compilation and the picture's dots
// are tested in the core.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(Header, EachCharacterOnceAndTheRefusedNamed) {
    SampleFonts s;
    const std::string file = s.fonts.file("font.h");
    CliResult r = runCli({"-f", s.dir(), "--layout", "ssd1306", "--format", "header", "-o", file, "样a字样"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'a' (U+0061)"), std::string::npos) << r.err;
    const std::string text = readFile(file);
    EXPECT_NE(text.find("#define hzk16_16_COUNT 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("pages-lsb"), std::string::npos);
    EXPECT_NE(text.find("static inline const uint8_t *hzk16_16_find(uint32_t key"), std::string::npos);
    // Unicode keys by default, two-byte codes on request.
    EXPECT_NE(text.find("0x6837"), std::string::npos) << "样's code point";
    const std::string gb = s.fonts.file("gb.h");
    EXPECT_EQ(runCli({"-f", s.dir(), "--format", "header", "--key", "gb2312", "--name", "menu_font", "-o", gb, "样"})
                  .status,
              0);
    const std::string gbText = readFile(gb);
    EXPECT_NE(gbText.find("0xD1F9"), std::string::npos) << gbText;
    EXPECT_NE(gbText.find("menu_font_find("), std::string::npos);
}

TEST(Header, BadRequestsWriteNothing) {
    SampleFonts s;
    const std::string file = s.fonts.file("font.h");
    for (std::vector<std::string> args : {std::vector<std::string>{"--format", "header", "--name", "int", "-o", file, "样"},
                                          {"--format", "header", "--name", "my-font", "-o", file, "样"},
                                          {"--format", "header", "--key", "big5", "-o", file, "样"},
                                          {"--format", "header", "-a", "all", "-o", file, "样"},
                                          {"--format", "header", "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << args[4];
        EXPECT_FALSE(fileExists(file)) << args[4];
    }
    CliResult none = runCli({"-f", s.dir(), "--format", "header", "-o", file, "abc"});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(fileExists(file));
}

TEST(Preview, WritesAPictureOfThePanel) {
    SampleFonts s;
    const std::string file = s.fonts.file("panel.png");
    CliResult r = runCli({"-f", s.dir(), "--preview", "128x32", "-o", file, "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string png = readFile(file);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height in the header chunk: the panel at the default zoom of 4.
    auto word = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(word(16), 128u * 4);
    EXPECT_EQ(word(20), 32u * 4);

    for (std::vector<std::string> args : {std::vector<std::string>{"--preview", "128", "-o", file, "样"},
                                          {"--preview", "0x64", "-o", file, "样"},
                                          {"--preview", "128x64", "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        EXPECT_EQ(runCli(args).status, 2) << args[3];
    }
}

// The PNG of a preview of args, in a file of its own, or a note of what went wrong.
std::string previewOf(const SampleFonts& s, std::vector<std::string> args) {
    static int made = 0;
    const std::string file = s.fonts.file("preview" + std::to_string(++made) + ".png");
    args.insert(args.begin(), {"-f", s.dir(), "-o", file});
    const CliResult r = runCli(args);
    if (r.status != 0 || !r.err.empty())
        return "exit " + std::to_string(r.status) + ": " + r.err;
    return readFile(file);
}

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(PreviewLines, ALineBreakStartsARowInTextAndInFiles) {
    SampleFonts s;
    const std::string twoRows = previewOf(s, {"--preview", "128x64", "样\n字"});
    ASSERT_EQ(twoRows.substr(1, 3), "PNG") << twoRows;
    EXPECT_TRUE(twoRows != previewOf(s, {"--preview", "128x64", "样字"}));
    // A file keeps its lines, whatever their ends.
    const std::string lines = s.fonts.file("lines.txt");
    writeFile(lines, "样\r\n字\n");
    EXPECT_TRUE(previewOf(s, {"--preview", "128x64", "-i", lines}) == twoRows);
    // The rows move apart by the spacing asked for.
    EXPECT_TRUE(previewOf(s, {"--preview", "128x64", "--line-spacing", "0", "样\n字"}) == twoRows);
    const std::string spaced = previewOf(s, {"--preview", "128x64", "--line-spacing=5", "样\n字"});
    EXPECT_EQ(spaced.substr(1, 3), "PNG") << spaced;
    EXPECT_TRUE(spaced != twoRows);
}

// 128x20: a row of eight 16-dot glyphs, then a row whose top four dots show. 样 has dots in its top
// rows, 字 only at its foot.
TEST(PreviewLines, EveryGlyphOfAPartlyShownRowIsDrawn) {
    SampleFonts s;
    const std::string full = previewOf(s, {"--preview", "128x20", repeat("字", 8) + repeat("样", 8)});
    ASSERT_EQ(full.substr(1, 3), "PNG") << full;
    EXPECT_TRUE(previewOf(s, {"--preview", "128x20", repeat("字", 8) + repeat("样", 7)}) != full);
    EXPECT_TRUE(previewOf(s, {"--preview", "128x20", repeat("字", 8) + repeat("样", 8) + "样"}) == full);
}

TEST(PreviewLines, ARefusalInALaterLineIsPlacedAndTheRestDrawn) {
    SampleFonts s;
    const std::string file = s.fonts.file("panel.png");
    const CliResult r = runCli({"-f", s.dir(), "--preview", "128x64", "-o", file, "样\nA字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("(line 2, column 1) 'A' (U+0041)"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("U+000A"), std::string::npos) << r.err;
    EXPECT_TRUE(fileExists(file));
}

TEST(PreviewLines, BadSpacingAndOptionsOutOfPlaceWriteNothing) {
    SampleFonts s;
    const std::string file = s.fonts.file("out");
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    const Case cases[] = {
        {{"--preview", "128x64", "--line-spacing", "65", "样"}, "--line-spacing: '65' is out of range"},
        {{"--preview", "128x64", "--line-spacing", "-1", "样"}, "--line-spacing"},
        {{"--preview", "128x64", "--line-spacing", "two", "样"}, "--line-spacing"},
        {{"--preview", "128x64", "--line-spacing", "", "样"}, "--line-spacing"},
        {{"--line-spacing", "2", "样"}, "--line-spacing goes with --preview"},
        {{"--c89", "样"}, "--c89 goes with --format header"},
        {{"--preview", "128x64", "--c89", "样"}, "--c89 goes with --format header"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"-f", s.dir(), "-o", file});
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << c.said;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(file)) << c.said;
    }
}

TEST(Header, C89AsksForTheHeaderWithoutInlineOrStdint) {
    SampleFonts s;
    const std::string file = s.fonts.file("old.h");
    const CliResult r = runCli({"-f", s.dir(), "--format", "header", "--c89", "--name", "old", "-o", file, "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string text = readFile(file);
    EXPECT_EQ(text.find("inline"), std::string::npos) << text;
    EXPECT_NE(text.find("static const old_u16 old_STORAGE old_keys[2]"), std::string::npos) << text;
    // Without it, the C99 form.
    EXPECT_EQ(runCli({"-f", s.dir(), "--format", "header", "--name", "fresh", "-o", file, "样字"}).status, 0);
    EXPECT_NE(readFile(file).find("static inline const uint8_t *fresh_find(uint32_t key"), std::string::npos);
}

// Colours choose the colour-TFT look; the blend itself is tested in the core.
TEST(PreviewColours, ColoursDrawTheTftLookWithDefaultsForTheOneNotGiven) {
    SampleFonts s;
    const std::string oled = previewOf(s, {"--preview", "128x32", "样字"});
    ASSERT_EQ(oled.substr(1, 3), "PNG") << oled;
    const std::string gold = previewOf(s, {"--preview", "128x32", "--fg", "#FFD700", "--bg", "#000080", "样字"});
    ASSERT_EQ(gold.substr(1, 3), "PNG") << gold;
    EXPECT_TRUE(gold != oled);
    // White on black is the default pair: either colour alone draws the same picture.
    const std::string white = previewOf(s, {"--preview", "128x32", "--fg=#ffffff", "样字"});
    ASSERT_EQ(white.substr(1, 3), "PNG") << white;
    EXPECT_TRUE(white != oled && white != gold);
    EXPECT_TRUE(previewOf(s, {"--preview", "128x32", "--bg", "#000000", "样字"}) == white);
    EXPECT_TRUE(previewOf(s, {"--preview", "128x32", "--bg", "#000001", "样字"}) != white);
}

TEST(PreviewColours, AnythingButHashAndSixHexDigitsIsRefused) {
    SampleFonts s;
    const std::string file = s.fonts.file("out.png");
    struct Case {
        std::vector<std::string> args;
        std::string said;
    };
    const Case cases[] = {
        {{"--preview", "128x64", "--fg", "red", "样"}, "--fg: 'red' is not a colour; give #RRGGBB"},
        {{"--preview", "128x64", "--bg", "#12345", "样"}, "--bg: '#12345' is not a colour"},
        {{"--preview", "128x64", "--bg", "FFFFFF", "样"}, "--bg: 'FFFFFF' is not a colour"},
        {{"--preview", "128x64", "--fg", "#12345G", "样"}, "--fg: '#12345G' is not a colour"},
        {{"--preview", "128x64", "--fg", "", "样"}, "--fg"},
        {{"--fg", "#FFFFFF", "样"}, "--fg and --bg go with --preview"},
        {{"--format", "bin", "--bg", "#000000", "样"}, "--fg and --bg go with --preview"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), {"-f", s.dir(), "-o", file});
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << c.said;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(file)) << c.said;
    }
}

} // namespace
