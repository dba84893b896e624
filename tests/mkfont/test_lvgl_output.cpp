// hzdot-mkfont --format lvgl and lvgl-bin: the set's glyphs as an LVGL font, the same dots as the
// library it builds from the same font, a font left alone when its bytes are already there, and
// the command lines it refuses.

#include "lvgl_bin_reader.h"
#include "process.h"
#include "temp_folder.h"

#include "core/glyph/dot_cell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <thread>

using namespace hz::test;

namespace {

const std::string kSong = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";

std::string grid(const hz::DotCell& cell, std::uint32_t code) {
    char text[32];
    std::snprintf(text, sizeof text, "U+%04X adv %d\n", code, cell.width() * 16);
    std::string out = text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x)
            out += cell.dot(x, y) ? "01" : " .";
        out += '\n';
    }
    return out;
}

class MkfontLvgl : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kSong))
            GTEST_SKIP() << kSong << " is not installed (fonts-arphic-gbsn00lp)";
    }
};

// Every ASCII glyph of the binary font draws as the record of the library built from the same font;
// characters the font lacks are left out rather than written blank.
TEST_F(MkfontLvgl, BinaryFontHoldsTheLibrarysGlyphs) {
    TempFolder dir;
    const std::vector<std::string> font = {"--font", kSong, "--size", "16", "--charset", "ascii"};
    std::vector<std::string> lib = font;
    lib.insert(lib.end(), {"--output", dir.file("asc16")});
    std::vector<std::string> lvgl = font;
    lvgl.insert(lvgl.end(), {"--format", "lvgl-bin", "--output", dir.file("asc16.bin")});
    ASSERT_EQ(runMkfont(lib).status, 0);
    const ProcessResult made = runMkfont(lvgl);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("an LVGL binary font of "), std::string::npos) << made.out;

    const std::string records = readFile(dir.file("asc16"));
    ASSERT_EQ(records.size(), 95u * 16u);
    const std::string bin = readFile(dir.file("asc16.bin"));
    std::string error;
    const auto read = readLvglBin({bin.begin(), bin.end()}, error);
    ASSERT_TRUE(read) << error;
    EXPECT_LT(read->descent, 0) << "the font's base line lies above the cell's bottom";
    std::vector<std::uint32_t> codes;
    std::string expected = "line 16 base " + std::to_string(-read->descent) + " bpp 1 format 0 kern 0\n";
    char none[32];
    for (std::uint32_t c = 0x20; c <= 0x7E; ++c) {
        codes.push_back(c);
        const hz::DotCell cell = hz::DotCell::fromRowBytes(
            {reinterpret_cast<const std::uint8_t*>(records.data()) + (c - 0x20) * 16, 16}, 8, 16);
        if (read->glyphIds.count(c)) {
            expected += grid(cell, c);
        } else {
            EXPECT_EQ(cell.inkCount(), 0) << c;
            std::snprintf(none, sizeof none, "U+%04X none\n", c);
            expected += none;
        }
    }
    EXPECT_GT(read->glyphIds.size(), 90u);
    EXPECT_EQ(drawLvglBin(*read, codes), expected);
}

TEST_F(MkfontLvgl, CFileIsNamedAndLeftAloneWhenUnchanged) {
    TempFolder dir;
    const std::vector<std::string> args = {"--font", kSong, "--size", "12", "--charset", "ascii", "--format",
                                           "lvgl", "--name", "song12", "--output", dir.file("song12.c")};
    ASSERT_EQ(runMkfont(args).status, 0);
    EXPECT_NE(readFile(dir.file("song12.c")).find("\nconst lv_font_t song12 = {\n"), std::string::npos);
    const auto before = std::filesystem::last_write_time(dir.file("song12.c"));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const ProcessResult again = runMkfont(args);
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("unchanged"), std::string::npos) << again.out;
    EXPECT_EQ(std::filesystem::last_write_time(dir.file("song12.c")), before);
}

struct Refused {
    const char* label;
    std::vector<std::string> args;
    std::string says;
};

void PrintTo(const Refused& c, std::ostream* os) {
    *os << c.label;
}

class MkfontLvglRefuses : public ::testing::TestWithParam<Refused> {};

TEST_P(MkfontLvglRefuses, SaysWhyAndWritesNothing) {
    TempFolder dir;
    std::vector<std::string> args = {"--font", kSong, "--output", dir.file("out")};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const ProcessResult r = runMkfont(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(GetParam().says), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(dir.file("out")));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, MkfontLvglRefuses,
    ::testing::Values(Refused{"unknown_format", {"--size", "16", "--format", "u8"}, "give hzk, lvgl, lvgl-bin, u8g2 or bdf"},
                      Refused{"layout", {"--size", "16", "--format", "lvgl", "--layout", "ssd1306"}, "LVGL's own layout"},
                      Refused{"bin_8bpp", {"--size", "16", "--format", "lvgl-bin", "--bpp", "8"},
                              "lvgl-bin holds 1, 2 or 4 bits a dot"},
                      Refused{"name_without_lvgl", {"--size", "16", "--name", "song"}, "--name goes with --format lvgl, lvgl-bin, u8g2 or bdf"},
                      Refused{"bad_name", {"--size", "16", "--format", "lvgl", "--name", "for"}, "--name"},
                      // 6763 hanzi of 64x64 dots are far beyond the 1 MiB LVGL addresses.
                      Refused{"too_large", {"--format", "lvgl", "--size", "64"}, "more than the 1 MiB"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
