// u8g2 and BDF fonts from the command line: every glyph the font holds is the cell --format bin
// gives for the same character (read back by the decoders in tests/support), a BDF font drawn
// again through --font gives the same cells, and bad requests are refused before anything is
// written. The fonts' byte-level checks are in the core's tests.
#include "bdf_font.h"
#include "bdf_read.h"
#include "cli_process.h"
#include "sample_fonts.h"
#include "u8g2_decode.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fcntl.h>

namespace {

const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// Hanzi, full-width punctuation, half-width letters and digits, and a blank space.
const std::string kText = "汉字点阵显示，温度 Ag(09)℃";

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::u32string codePoints(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0xFF >> (n + 1));
        for (int k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        if (out.find(c) == std::u32string::npos)
            out.push_back(c);
        i += static_cast<std::size_t>(n);
    }
    return out;
}

// A record of --format bin, rows of ceil(width/8) bytes, as '#' and '.' rows of `width` dots.
std::vector<std::string> binRows(const std::string& bin, std::size_t& at, int width, int height) {
    std::vector<std::string> rows;
    const int rowBytes = (width + 7) / 8;
    for (int r = 0; r < height; ++r) {
        std::string row;
        for (int c = 0; c < width; ++c) {
            const auto byte = static_cast<unsigned char>(bin.at(at + static_cast<std::size_t>(c / 8)));
            row += (byte >> (7 - c % 8)) & 1 ? '#' : '.';
        }
        rows.push_back(row);
        at += static_cast<std::size_t>(rowBytes);
    }
    return rows;
}

// A decoded glyph placed in its cell: `advance` wide, `height` high, on the baseline `baseline`
// rows down.
std::vector<std::string> cellRows(int advance, int height, int baseline, int x, int y,
                                  const std::vector<std::string>& box) {
    std::vector<std::string> rows(static_cast<std::size_t>(height), std::string(static_cast<std::size_t>(advance), '.'));
    const int top = baseline - (y + static_cast<int>(box.size()));
    for (std::size_t r = 0; r < box.size(); ++r)
        for (std::size_t c = 0; c < box[r].size(); ++c)
            if (box[r][c] == '#')
                rows.at(static_cast<std::size_t>(top) + r).at(static_cast<std::size_t>(x) + c) = '#';
    return rows;
}

// The u8g2 font of the text holds each character's --format bin cell, found as u8g2 looks it up.
void expectU8g2MatchesBin(const std::vector<std::string>& source, const std::string& text, int size) {
    TempFolder dir;
    const std::string cFile = dir.file("font.c");
    std::vector<std::string> args = source;
    args.insert(args.end(), {"--format", "u8g2", "--name", "test_font", "-o", cFile, text});
    CliResult made = runCli(args);
    ASSERT_EQ(made.status, 0) << made.err;
    args = source;
    args.insert(args.end(), {"--format", "bin", text});
    CliResult bin = runCli(args);
    ASSERT_EQ(bin.status, 0) << bin.err;

    const std::string c = readFile(cFile);
    EXPECT_NE(c.find("const uint8_t test_font["), std::string::npos);
    const std::vector<std::uint8_t> font = hz::test::bytesOfCArray(c);
    const hz::test::U8g2Decoded decoded = hz::test::decodeU8g2(font);
    ASSERT_EQ(decoded.error, "");
    // The cells rest on the font box's bottom: it spans the cell from under the baseline.
    const int baseline = size + decoded.header.boxY;
    std::size_t at = 0;
    for (char32_t ch : codePoints(text)) {
        const auto glyph = hz::test::lookUpU8g2(font, ch);
        ASSERT_TRUE(glyph.has_value()) << "U+" << std::hex << static_cast<unsigned>(ch);
        EXPECT_EQ(cellRows(glyph->advance, size, baseline, glyph->x, glyph->y, glyph->rows),
                  binRows(bin.out, at, glyph->advance, size))
            << "U+" << std::hex << static_cast<unsigned>(ch) << " at " << size << " dots";
    }
    EXPECT_EQ(at, bin.out.size());
}

class FontFormatsFromFont : public ::testing::TestWithParam<int> {};

TEST_P(FontFormatsFromFont, U8g2GlyphsAreTheCells) {
    expectU8g2MatchesBin({"--font", kZenHei, "--size", std::to_string(GetParam())}, kText, GetParam());
}

// The baseline is the font's: 'A' stands on it, 'g' reaches under it, and the header says so.
TEST_P(FontFormatsFromFont, U8g2LettersStandOnTheFontsBaseline) {
    TempFolder dir;
    const std::string cFile = dir.file("font.c");
    ASSERT_EQ(runCli({"--font", kZenHei, "--size", std::to_string(GetParam()), "--format", "u8g2", "-o", cFile, "Ag"})
                  .status,
              0);
    const std::vector<std::uint8_t> font = hz::test::bytesOfCArray(readFile(cFile));
    const auto a = hz::test::lookUpU8g2(font, U'A');
    const auto g = hz::test::lookUpU8g2(font, U'g');
    ASSERT_TRUE(a && g);
    EXPECT_EQ(a->y, 0);
    EXPECT_LT(g->y, 0);
    const hz::test::U8g2Decoded d = hz::test::decodeU8g2(font);
    EXPECT_EQ(d.header.ascentA, a->height);
    EXPECT_EQ(d.header.descentG, g->y);
}

// The BDF font, drawn again through --font at its size, gives every cell the font gave.
TEST_P(FontFormatsFromFont, BdfDrawsTheSameCellsAgain) {
    const std::string size = std::to_string(GetParam());
    TempFolder dir;
    const std::string bdf = dir.file("font.bdf");
    CliResult made = runCli({"--font", kZenHei, "--size", size, "--format", "bdf", "-o", bdf, kText});
    ASSERT_EQ(made.status, 0) << made.err;
    const hz::test::BdfRead read = hz::test::readBdf(readFile(bdf));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.glyphs.size(), codePoints(kText).size());
    // Named for the font's family; --name names it otherwise.
    EXPECT_NE(read.properties.at("FAMILY_NAME").find("WenQuanYi Zen Hei"), std::string::npos);
    CliResult before = runCli({"--font", kZenHei, "--size", size, "--format", "bin", kText});
    CliResult after = runCli({"--font", bdf, "--size", size, "--format", "bin", kText});
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(bytesOf(after.out), bytesOf(before.out));
    // A font of hanzi whose ink is all off the cell's centre keeps its glyphs where they stand.
    for (const std::string text : {"丶", "亠丶", "丶Ag"}) {
        ASSERT_EQ(runCli({"--font", kZenHei, "--size", size, "--format", "bdf", "-o", bdf, text}).status, 0);
        CliResult one = runCli({"--font", kZenHei, "--size", size, "--format", "bin", text});
        CliResult back = runCli({"--font", bdf, "--size", size, "--format", "bin", text});
        EXPECT_EQ(bytesOf(back.out), bytesOf(one.out)) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontFormatsFromFont, ::testing::Values(12, 16, 24, 32),
                         [](const auto& info) { return "Size" + std::to_string(info.param); });

// A library's glyphs stand on the cell's bottom edge: 字's one dot, bottom right, is on the line.
TEST(FontFormats, LibraryGlyphsStandOnTheCellBottom) {
    SampleFonts s;
    expectU8g2MatchesBin({"-f", s.dir()}, "样字", 16);
    const std::string cFile = s.fonts.file("font.c");
    ASSERT_EQ(runCli({"-f", s.dir(), "--format", "u8g2", "-o", cFile, "字"}).status, 0);
    const auto zi = hz::test::lookUpU8g2(hz::test::bytesOfCArray(readFile(cFile)), U'字');
    ASSERT_TRUE(zi.has_value());
    EXPECT_EQ(zi->x, 15);
    EXPECT_EQ(zi->y, 0);
    EXPECT_EQ(zi->rows, std::vector<std::string>{"#"});
    // The default name comes from the library.
    EXPECT_NE(readFile(cFile).find("const uint8_t hzk16_16["), std::string::npos);

    const std::string bdf = s.fonts.file("font.bdf");
    ASSERT_EQ(runCli({"-f", s.dir(), "--format", "bdf", "-o", bdf, "样字"}).status, 0);
    const hz::test::BdfRead read = hz::test::readBdf(readFile(bdf));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.properties.at("FONT_ASCENT"), "16");
    EXPECT_EQ(read.properties.at("FONT_DESCENT"), "0");
    EXPECT_EQ(read.properties.at("FAMILY_NAME"), "hzk16_16");
    EXPECT_EQ(read.glyphs.at(0x5B57).x, 15);
    ASSERT_EQ(runCli({"-f", s.dir(), "--format", "bdf", "--name", "menu_font", "-o", bdf, "字"}).status, 0);
    EXPECT_EQ(hz::test::readBdf(readFile(bdf)).properties.at("FAMILY_NAME"), "menu_font");
}

// The 12x12 library hands its glyphs on in 16x16 cells, its spacing around them: a 16-dot font,
// which --font reads back cell for cell.
TEST(FontFormats, TwelveDotLibraryMakesASixteenDotFont) {
    TempFolder fonts;
    // 字 as a 12x12 frame: rows of two bytes, the twelve leftmost dots.
    std::vector<std::uint8_t> frame(24, 0x00);
    frame[0] = 0xFF, frame[1] = 0xF0, frame[22] = 0xFF, frame[23] = 0xF0;
    for (int row = 1; row < 11; ++row)
        frame[static_cast<std::size_t>(row * 2)] = 0x80, frame[static_cast<std::size_t>(row * 2 + 1)] = 0x10;
    writeLibrary(fonts.file(kLibraryFiles[0]), 24, {TinyGlyph{0xD7D6, frame}});
    const std::string bdf = fonts.file("font.bdf");
    ASSERT_EQ(runCli({"-f", fonts.path(), "-l", "0", "--format", "bdf", "-o", bdf, "字"}).status, 0);
    const hz::test::BdfRead read = hz::test::readBdf(readFile(bdf));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.properties.at("PIXEL_SIZE"), "16");
    EXPECT_EQ(read.properties.at("FONT_ASCENT"), "16");
    EXPECT_EQ(read.properties.at("FONT_DESCENT"), "0");
    CliResult library = runCli({"-f", fonts.path(), "-l", "0", "--format", "bin", "字"});
    CliResult again = runCli({"--font", bdf, "--size", "16", "--format", "bin", "字"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(bytesOf(again.out), bytesOf(library.out));
    expectU8g2MatchesBin({"-f", fonts.path(), "-l", "0"}, "字", 16);
}

// Characters a u8g2 font cannot hold are named and left out; the rest is written, exit status 1.
TEST(FontFormats, U8g2NamesWhatItLeavesOut) {
    TempFolder dir;
    hz::test::BdfFont source;
    source.glyphs = {hz::test::frameGlyph(0x5B57, 12, 12, 1, 0), hz::test::frameGlyph(0x20000, 12, 12, 1, 0)};
    const std::string bdf = dir.file("wide.bdf");
    writeFile(bdf, source.text());
    const std::string cFile = dir.file("font.c");
    CliResult r = runCli({"--font", bdf, "--size", "16", "--format", "u8g2", "-o", cFile, "字\U00020000"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("U+20000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("beyond U+FFFF"), std::string::npos) << r.err;
    const hz::test::U8g2Decoded d = hz::test::decodeU8g2(hz::test::bytesOfCArray(readFile(cFile)));
    EXPECT_EQ(d.error, "");
    EXPECT_EQ(d.glyphs.size(), 1U);
    // Only characters it cannot hold: nothing is written.
    const std::string none = dir.file("none.c");
    CliResult r2 = runCli({"--font", bdf, "--size", "16", "--format", "u8g2", "-o", none, "\U00020000"});
    EXPECT_EQ(r2.status, 1);
    EXPECT_NE(r2.err.find("was not written"), std::string::npos) << r2.err;
    EXPECT_FALSE(fileExists(none));
}

TEST(FontFormats, BadRequestsWriteNothing) {
    SampleFonts s;
    const std::string file = s.fonts.file("font.out");
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"--format", "u8g2", "样"}, "--format u8g2 needs -o FILE"},
        {{"--format", "bdf", "样"}, "--format bdf needs -o FILE"},
        {{"--format", "u8g2", "--bpp", "4", "-o", file, "样"}, "one bit a dot"},
        {{"--format", "bdf", "--layout", "rows-msb-2bpp", "-o", file, "样"}, "one bit a dot"},
        {{"--format", "u8g2", "--preview", "64x32", "-o", file, "样"}, "--preview"},
        {{"--format", "u8g2", "--name", "my-font", "-o", file, "样"}, "cannot name"},
        {{"--format", "lvgl9", "-o", file, "样"}, "u8g2 or bdf"},
    };
    for (Case c : cases) {
        c.args.insert(c.args.begin(), {"-f", s.dir()});
        CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(file)) << c.says;
    }
    // The font read is never the font written.
    TempFolder dir;
    hz::test::BdfFont source;
    source.glyphs = {hz::test::frameGlyph(0x5B57, 12, 12, 1, 0)};
    const std::string bdf = dir.file("own.bdf");
    writeFile(bdf, source.text());
    CliResult same = runCli({"--font", bdf, "--size", "16", "--format", "bdf", "-o", bdf, "字"});
    EXPECT_EQ(same.status, 2);
    EXPECT_EQ(readFile(bdf), source.text());
}

// Fonts from scanned sources; the same font again leaves the file as it was.
TEST(FontFormats, ScannedFontIsKeptWhenUnchanged) {
    SampleFonts s;
    TempFolder tree;
    writeFile(tree.file("ui.c"), "const char *t = \"样字\";\n");
    for (const std::string format : {"u8g2", "bdf"}) {
        const std::string out = s.fonts.file("font." + format);
        ASSERT_EQ(runCli({"-f", s.dir(), "--format", format, "-o", out, "--scan", tree.path()}).status, 0);
        struct timespec old[2] = {{1, 0}, {1, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, out.c_str(), old, 0), 0);
        CliResult again = runCli({"-f", s.dir(), "--format", format, "-o", out, "--scan", tree.path()});
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.err.find("unchanged"), std::string::npos) << again.err;
        struct stat after {};
        ASSERT_EQ(::stat(out.c_str(), &after), 0);
        EXPECT_EQ(after.st_mtim.tv_sec, 1) << format;
    }
}

} // namespace
