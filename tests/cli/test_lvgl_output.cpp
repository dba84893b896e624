// --format lvgl and lvgl-bin from the command line: the glyphs a run finds reach the font (read
// back through the binary font reader), the font's name and the unchanged rule, and the command
// lines they refuse. The fonts' bytes themselves are checked in the core's tests.
#include "cli_process.h"
#include "lvgl_bin_reader.h"
#include "sample_fonts.h"

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <thread>

#include <unistd.h>

namespace {

const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    const std::string text = readFile(path);
    return {text.begin(), text.end()};
}

// The grid drawLvglBin prints for one glyph, from its cell.
std::string grid(const hz::DotCell& cell, std::uint32_t code) {
    char text[32];
    std::snprintf(text, sizeof text, "U+%04X adv %d\n", code, cell.width() * 16);
    std::string out = text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            std::snprintf(text, sizeof text, "%02x", cell.level(x, y));
            out += cell.level(x, y) == 0 ? " ." : text;
        }
        out += '\n';
    }
    return out;
}

hz::test::LvglBinFont readFont(const std::string& path) {
    std::string error;
    auto font = hz::test::readLvglBin(bytesOf(path), error);
    EXPECT_TRUE(font) << error;
    return font.value_or(hz::test::LvglBinFont{});
}

// A library's glyphs stand on the cell's bottom edge: base line 0, a line the cell's height.
TEST(LvglCli, BinaryFontHoldsTheLibrarysGlyphs) {
    SampleFonts s;
    const std::string out = s.fonts.file("font.bin");
    CliResult r = runCli({"-f", s.dir(), "--format", "lvgl-bin", "-o", out, "样字样"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto font = readFont(out);
    EXPECT_EQ(font.glyphIds.size(), 2u) << "each character once";
    std::vector<std::uint8_t> yang(32, 0);
    std::copy(kYang.bytes.begin(), kYang.bytes.end(), yang.begin());
    const std::string drawn = hz::test::drawLvglBin(font, {0x6837, 0x5B57});
    EXPECT_EQ(drawn, "line 16 base 0 bpp 1 format 0 kern 0\n" + grid(hz::DotCell::fromRowBytes(yang, 16, 16), 0x6837) +
                         grid(hz::DotCell::fromRowBytes(kZi.bytes, 16, 16), 0x5B57));
}

// A font's glyphs, half-width, full-width and blank, at two bits a dot: the same levels as the raw
// records of --format bin, on the baseline the font was fitted with.
TEST(LvglCli, BinaryFontHoldsAFontsGreyGlyphs) {
    if (::access(kZenHei.c_str(), R_OK) != 0)
        GTEST_SKIP() << kZenHei << " is not installed (fonts-wqy-zenhei)";
    TempFolder dir;
    const std::vector<std::string> font = {"--font", kZenHei, "--size", "20", "--bpp", "2"};
    std::vector<std::string> lvgl = font;
    lvgl.insert(lvgl.end(), {"--format", "lvgl-bin", "-o", dir.file("f.bin"), "A温 "});
    CliResult r = runCli(lvgl);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> raw = font;
    raw.insert(raw.end(), {"--format", "bin", "A温 "});
    const CliResult records = runCli(raw);
    ASSERT_EQ(records.status, 0) << records.err;

    const auto read = readFont(dir.file("f.bin"));
    EXPECT_GT(-read.descent, 0) << "a font's base line lies above the cell's bottom";
    const hz::Layout rows = *hz::parseLayout("rows-msb-2bpp");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(records.out.data());
    std::string expected = "line 20 base " + std::to_string(-read.descent) + " bpp 2 format 0 kern 0\n";
    std::size_t at = 0;
    for (const auto& [code, width] : {std::pair<std::uint32_t, int>{'A', 10}, {0x6E29, 20}, {' ', 10}}) {
        const std::size_t size = hz::encodedSize(rows, width, 20);
        ASSERT_LE(at + size, records.out.size());
        expected += grid(hz::decodeCell({bytes + at, size}, rows, width, 20), code);
        at += size;
    }
    EXPECT_EQ(hz::test::drawLvglBin(read, {'A', 0x6E29, ' '}), expected);
}

// The C file names its font by --name, else by the source and size; a character the source lacks
// is reported and the rest are written; a second run that would write the same bytes leaves the
// file alone.
TEST(LvglCli, CFileNamesTheFontAndKeepsAnUnchangedFile) {
    SampleFonts s;
    const std::string out = s.fonts.file("font.c");
    CliResult named = runCli({"-f", s.dir(), "--format", "lvgl", "--name", "ui_font", "-o", out, "样"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_NE(readFile(out).find("\nconst lv_font_t ui_font = {\n"), std::string::npos);

    CliResult refused = runCli({"-f", s.dir(), "--format", "lvgl", "-o", out, "样😀"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("U+1F600"), std::string::npos) << refused.err;
    const std::string text = readFile(out);
    EXPECT_NE(text.find("\nconst lv_font_t hzk16_16 = {\n"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("/* U+6837 样 */"), std::string::npos);

    const auto before = std::filesystem::last_write_time(out);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    CliResult again = runCli({"-f", s.dir(), "--format", "lvgl", "-o", out, "样😀"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("unchanged"), std::string::npos) << again.err;
    EXPECT_EQ(std::filesystem::last_write_time(out), before);
}

// A scan that finds nothing still writes a font, holding no glyph, so a build never keeps an old one.
TEST(LvglCli, EmptyScanWritesAnEmptyFont) {
    SampleFonts s;
    TempFolder tree;
    writeFile(tree.file("main.c"), "int main(void) { return 0; }\n");
    const std::string out = s.fonts.file("font.bin");
    CliResult r = runCli({"-f", s.dir(), "--format", "lvgl-bin", "-o", out, "--scan", tree.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(readFont(out).glyphIds.empty());
}

struct Refused {
    const char* label;
    std::vector<std::string> args;
    std::string says;
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.label;
}

class LvglCliRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(LvglCliRefuses, SaysWhyAndWritesNothing) {
    SampleFonts s;
    const std::string out = s.fonts.file("font.c");
    std::vector<std::string> args = {"-f", s.dir()};
    for (const auto& a : GetParam().args)
        args.push_back(a == "OUT" ? out : a);
    args.push_back("样");
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(GetParam().says), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CommandLines, LvglCliRefuses, ::testing::Values(
    Refused{"no_output_c", {"--format", "lvgl"}, "--format lvgl needs -o FILE"},
    Refused{"no_output_bin", {"--format", "lvgl-bin"}, "--format lvgl-bin needs -o FILE"},
    Refused{"unknown_format", {"--format", "lvgl2", "-o", "OUT"}, "give text, bin, header, lvgl, lvgl-bin, u8g2 or bdf"},
    Refused{"arrangement", {"--format", "lvgl", "-a", "2", "-o", "OUT"}, "LVGL's own layout; --arrangement 2 does not go with it"},
    Refused{"layout", {"--format", "lvgl", "--layout", "rows-msb-4bpp", "-o", "OUT"}, "give the depth by --bpp"},
    Refused{"bin_8bpp", {"--format", "lvgl-bin", "--bpp", "8", "-o", "OUT"}, "lvgl-bin holds 1, 2 or 4 bits a dot"},
    Refused{"view", {"--format", "lvgl", "--view", "-o", "OUT"}, "--view"},
    Refused{"preview", {"--format", "lvgl", "--preview", "64x16", "-o", "OUT"}, "--preview"},
    Refused{"gb2312_keys", {"--format", "lvgl", "--key", "gb2312", "-o", "OUT"}, "--key gb2312 goes with --format header"},
    Refused{"c89", {"--format", "lvgl", "--c89", "-o", "OUT"}, "--c89"},
    Refused{"bad_name", {"--format", "lvgl", "--name", "2font", "-o", "OUT"}, "--name"}),
    [](const auto& info) { return std::string(info.param.label); });
// clang-format on

} // namespace
