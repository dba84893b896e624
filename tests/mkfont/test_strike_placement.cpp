// Bitmap strikes from small BDF fonts whose every dot is known: where each glyph lands, what is
// moved or cropped, and which charsets are understood.

#include "bdf_font.h"
#include "library_view.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

constexpr std::uint32_t kGuo = 0x56FD; // 国
constexpr std::uint32_t kYi = 0x4E00;  // 一
constexpr std::uint32_t kA = 0x554A;   // 啊

struct Built {
    ProcessResult run;
    LibraryView library;
};

Built build(const TempFolder& scratch, const BdfFont& font, std::vector<std::string> extra = {}) {
    const std::string fontPath = scratch.file("font.bdf");
    const std::string output = scratch.file("library");
    writeFile(fontPath, font.text());
    std::vector<std::string> args{"--font", fontPath, "--size", std::to_string(font.pixelSize), "--output", output};
    args.insert(args.end(), extra.begin(), extra.end());
    ProcessResult run = runMkfont(args);
    return {run, LibraryView(output, font.pixelSize)};
}

// Eight full-cell frames keep the hanzi centred, so the font's own metrics decide.
BdfFont sixteenPixelFont() {
    BdfFont font;
    for (std::uint32_t c : {kGuo, 0x56DEu, 0x56E0u, 0x56F0u, 0x56FEu, 0x5706u, 0x5708u, 0x56EDu})
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    return font;
}

TEST(StrikePlacement, PutsEachDotWhereTheFontsMetricsSay) {
    TempFolder scratch;
    BdfFont font = sixteenPixelFont();
    font.glyphs.push_back({kYi, 1, 5, {"##############"}});
    // Nine dots wide: the rows straddle a byte boundary and carry padding in the bitmap.
    font.glyphs.push_back({kA, 3, 9, {"#....##.#", ".#######.", "#.......#"}});
    const Built built = build(scratch, font);
    ASSERT_EQ(built.run.status, 0) << built.run.err;

    // Baseline at the ascent (row 14): a glyph whose bottom is 9 above it has its top row at
    // 14 - 9 - 3 = 2, its left column at 3.
    std::string expected(32, '\0');
    expected[2 * 2] = '\x10'; // ...#....   ##.#....
    expected[2 * 2 + 1] = '\xD0';
    expected[3 * 2] = '\x0F'; // ....####   ###.....
    expected[3 * 2 + 1] = '\xE0';
    expected[4 * 2] = '\x10'; // ...#....   ...#....
    expected[4 * 2 + 1] = '\x10';
    EXPECT_EQ(built.library.record(gb("啊")), expected) << built.library.picture(gb("啊"));

    const auto yi = built.library.inkBox(gb("一"));
    ASSERT_TRUE(yi);
    EXPECT_EQ(yi->top, 8); // 14 - 5 - 1
    EXPECT_EQ(yi->left, 1);
    EXPECT_EQ(yi->right, 14);

    const auto guo = built.library.inkBox(gb("国"));
    ASSERT_TRUE(guo);
    EXPECT_EQ(guo->left, 0);
    EXPECT_EQ(guo->top, 0);
    EXPECT_EQ(guo->right, 15);
    EXPECT_EQ(guo->bottom, 15);
    EXPECT_NE(built.run.out.find("adjusted: 0 glyphs moved just inside the cell, 0 drawn smaller to fit, 0 cropped"),
              std::string::npos)
        << built.run.out;
}

TEST(StrikePlacement, MovesAGlyphThatSticksOutAndCropsOneLargerThanTheCell) {
    TempFolder scratch;
    BdfFont font = sixteenPixelFont();
    font.glyphs.push_back(frameGlyph(0x2018, 4, 4, 2, 13));  // ‘ rows -3..0 by the metrics
    font.glyphs.push_back(frameGlyph(0x2500, 18, 6, -1, 4)); // ─ two dots wider than the cell
    const Built built = build(scratch, font, {"--verbose"});
    ASSERT_EQ(built.run.status, 0) << built.run.err;

    const auto moved = built.library.inkBox(gb("‘"));
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->top, 0);
    EXPECT_EQ(moved->left, 2);
    EXPECT_EQ(built.library.inkCount(gb("‘")), 12) << "the whole frame is kept";

    // Cropped evenly: the side bars fall outside, the long bars fill their rows.
    const auto cropped = built.library.inkBox(gb("─"));
    ASSERT_TRUE(cropped);
    EXPECT_EQ(cropped->left, 0);
    EXPECT_EQ(cropped->right, 15);
    EXPECT_EQ(built.library.inkCount(gb("─")), 32) << built.library.picture(gb("─"));

    EXPECT_NE(built.run.out.find("adjusted: 1 glyphs moved just inside the cell, 0 drawn smaller to fit, 1 cropped"),
              std::string::npos)
        << built.run.out;
    EXPECT_NE(built.run.out.find("moved just inside the cell: A1AE ‘"), std::string::npos) << built.run.out;
    EXPECT_NE(built.run.out.find("cropped, larger than the cell: A9A4 ─"), std::string::npos) << built.run.out;
    // The hanzi stay where the font's metrics put them.
    EXPECT_EQ(built.library.inkBox(gb("国"))->top, 0);
}

// FreeType hands back such a glyph with rows and a width but no buffer.
TEST(StrikePlacement, AGlyphWithABoxButNoBitmapIsBlankAndCounted) {
    TempFolder scratch;
    BdfFont font = sixteenPixelFont();
    BdfGlyph broken{kA, 3, 9, {"#########", "#########", "#########"}};
    broken.bitmapSection = false;
    font.glyphs.push_back(broken);
    font.glyphs.push_back({kYi, 1, 5, {"##############"}});
    const Built built = build(scratch, font, {"--verbose"});
    ASSERT_EQ(built.run.status, 0) << built.run.err;

    EXPECT_EQ(built.library.inkCount(gb("啊")), 0) << built.library.picture(gb("啊"));
    EXPECT_EQ(built.library.inkCount(gb("一")), 14) << "the glyphs after it are read as usual";
    EXPECT_EQ(built.library.inkCount(gb("国")), 60);
    EXPECT_NE(built.run.out.find("glyph unreadable in the font, left blank: B0A1 啊"), std::string::npos)
        << built.run.out;
    EXPECT_NE(built.run.out.find("(1 of them unreadable in the font)"), std::string::npos) << built.run.out;
}

TEST(StrikePlacement, TwelveDotRowsKeepTheirLastFourBitsClear) {
    TempFolder scratch;
    BdfFont font;
    font.pixelSize = 12;
    font.ascent = 10;
    font.descent = 2;
    for (std::uint32_t c : {kGuo, 0x56DEu, 0x56E0u, 0x56F0u})
        font.glyphs.push_back(frameGlyph(c, 12, 12, 0, -2));
    font.glyphs.push_back(frameGlyph(kA, 12, 12, 3, -2)); // reaches past dot 12: moved back
    font.glyphs.push_back(frameGlyph(kYi, 15, 3, 0, 3));  // wider than 12: cropped
    const Built built = build(scratch, font);
    ASSERT_EQ(built.run.status, 0) << built.run.err;
    ASSERT_EQ(built.library.bytes().size(), 8178u * 24);

    for (std::size_t i = 1; i < built.library.bytes().size(); i += 2)
        ASSERT_EQ(built.library.bytes()[i] & 0x0F, 0) << "row at byte " << i - 1;
    EXPECT_EQ(built.library.inkCount(gb("啊")), 44) << built.library.picture(gb("啊"));
    EXPECT_EQ(built.library.inkBox(gb("国"))->right, 11);
}

struct CharsetCase {
    const char* name;
    const char* registry;
    const char* encoding;
    std::uint32_t codeOfYi; // "一" in the font's own charset
};

void PrintTo(const CharsetCase& c, std::ostream* os) {
    *os << c.name;
}

class StrikeCharset : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(StrikeCharset, FindsTheGlyphThroughTheFontsCharset) {
    const CharsetCase& c = GetParam();
    TempFolder scratch;
    BdfFont font;
    font.registry = c.registry;
    font.encoding = c.encoding;
    font.glyphs.push_back(frameGlyph(c.codeOfYi, 14, 14, 1, -1));
    const Built built = build(scratch, font);
    ASSERT_EQ(built.run.status, 0) << built.run.err;
    const auto box = built.library.inkBox(gb("一"));
    ASSERT_TRUE(box) << built.run.out;
    EXPECT_EQ(box->width(), 14);
    EXPECT_EQ(built.library.inkCount(gb("国")), 0);
}

INSTANTIATE_TEST_SUITE_P(Charsets, StrikeCharset,
                         ::testing::Values(CharsetCase{"Unicode", "ISO10646", "1", 0x4E00},
                                           CharsetCase{"Gb2312SevenBit", "GB2312.1980", "0", 0x523B},
                                           CharsetCase{"Gb2312EightBit", "GB2312.1980", "1", 0xD2BB},
                                           CharsetCase{"Gbk", "GBK", "0", 0xD2BB},
                                           CharsetCase{"Big5", "BIG5", "0", 0xA440}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
