#include "core/output/lvgl_font.h"
#include "core/output/lvgl_font_bin.h"
#include "core/output/lvgl_font_c.h"

#include "lvgl_bin_reader.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <random>
#include <stdexcept>

namespace hz {
namespace {

using test::TempFolder;

// Each dot's level at random, about half of them clear.
DotCell randomCell(int width, int height, int bpp, std::mt19937& random, WidthClass cls) {
    DotCell cell(width, height, cls);
    cell = cell.withDepth(bpp);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (random() % 2)
                cell.setLevel(x, y, static_cast<int>(random() % static_cast<unsigned>(cell.maxLevel())) + 1);
    return cell;
}

// What firmware fonts hold: a run of half-width letters long enough for a range, scattered hanzi
// (one beyond the Basic Multilingual Plane), blank glyphs, a glyph of one dot in the middle, a glyph
// full to the edges and a one-bit glyph given to a deeper font.
std::vector<LvglGlyphInput> sampleGlyphs(int size, int bpp, std::mt19937& random) {
    const int half = (size + 1) / 2;
    std::vector<LvglGlyphInput> glyphs;
    for (char32_t c = U'A'; c <= U'T'; ++c)
        glyphs.push_back({c, randomCell(half, size, bpp, random, WidthClass::Half)});
    glyphs[0].cell = DotCell(half, size, WidthClass::Half).withDepth(bpp); // 'A' blank
    for (char32_t c : {U'你', U'好', U'世', U'界', U'\U00020000'})
        glyphs.push_back({c, randomCell(size, size, bpp, random, WidthClass::Full)});
    glyphs.push_back({U'\u3000', DotCell(size, size).withDepth(bpp)});
    DotCell full = DotCell(size, size).withDepth(bpp);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            full.setLevel(x, y, full.maxLevel());
    glyphs.push_back({U'■', full});
    DotCell dot = DotCell(half, size, WidthClass::Half).withDepth(bpp);
    dot.setLevel(half / 2, size / 2, 1);
    glyphs.push_back({U'·', dot});
    DotCell oneBit(size, size);
    oneBit.setDot(1, 2);
    oneBit.setDot(size - 1, size - 1);
    glyphs.push_back({U'★', oneBit});
    return glyphs;
}

// The grid walk_font.c and drawLvglBin print, made straight from the cells: each glyph as wide as its
// cell and as high as the line, its own levels in place.
std::string expectedDrawing(const std::vector<LvglGlyphInput>& glyphs, const std::vector<std::uint32_t>& codes,
                            int lineHeight, int baseline, int bpp) {
    std::string out = "line " + std::to_string(lineHeight) + " base " + std::to_string(baseline) + " bpp " +
                      std::to_string(bpp) + " format 0 kern 0\n";
    char text[32];
    for (std::uint32_t code : codes) {
        const LvglGlyphInput* glyph = nullptr;
        for (const auto& g : glyphs)
            if (g.character == code)
                glyph = &g;
        if (!glyph) {
            std::snprintf(text, sizeof text, "U+%04X none\n", code);
            out += text;
            continue;
        }
        const DotCell cell = glyph->cell.withDepth(bpp);
        std::snprintf(text, sizeof text, "U+%04X adv %d\n", code, cell.width() * 16);
        out += text;
        for (int y = 0; y < cell.height(); ++y) {
            for (int x = 0; x < cell.width(); ++x) {
                std::snprintf(text, sizeof text, "%02x", cell.level(x, y));
                out += cell.level(x, y) == 0 ? " ." : text;
            }
            out += '\n';
        }
    }
    return out;
}

std::vector<std::uint32_t> codesToDraw(const std::vector<LvglGlyphInput>& glyphs) {
    std::vector<std::uint32_t> codes;
    for (const auto& g : glyphs)
        codes.push_back(g.character);
    // Codes the font lacks, beside, between and beyond those it has.
    for (std::uint32_t absent : {0x40U, 0x55U, 0x4F61U, 0x1FFFFU, 0x20001U, 0x10FFFFU})
        codes.push_back(absent);
    return codes;
}

enum class Include { Simple, Folder };

// Compiles the font with walk_font.c as a firmware build would, runs it on the codes and returns
// what it printed, or what the compiler said.
std::string walkCFont(const TempFolder& dir, const std::string& name, const std::string& text, int version,
                      Include include, const std::vector<std::uint32_t>& codes) {
    test::writeFile(dir.file(name + ".c"), text);
    const std::string standIn = HZDOT_LVGL_STAND_IN;
    test::ProcessCall build;
    build.command = {"gcc", "-std=c99", "-Wall", "-Wextra", "-Werror", "-pedantic", "-O2",
                     "-DLVGL_VERSION_MAJOR=" + std::to_string(version), "-DWALK_FONT=" + name,
                     "-I" + standIn + "/lvgl", "-o", dir.file("walk"), dir.file(name + ".c"), standIn + "/walk_font.c"};
    if (include == Include::Simple)
        build.command.insert(build.command.begin() + 1, "-DLV_LVGL_H_INCLUDE_SIMPLE");
    else
        build.command.insert(build.command.begin() + 1, "-I" + standIn); // finds "lvgl/lvgl.h"
    const auto built = test::runProcess(build);
    if (built.status != 0)
        return "compiler said:\n" + built.out + built.err;
    test::ProcessCall run;
    run.command = {dir.file("walk")};
    char text8[16];
    for (std::uint32_t code : codes) {
        std::snprintf(text8, sizeof text8, "%X\n", code);
        run.input += text8;
    }
    const auto ran = test::runProcess(run);
    return ran.status == 0 ? ran.out : "the walk failed:\n" + ran.err;
}

struct FontCase {
    const char* label;
    int size;
    int bpp;
    int baseline;
    int version; // LVGL 8 or 9
    Include include;
};

void PrintTo(const FontCase& c, std::ostream* os) {
    *os << c.label;
}

class LvglRoundTrip : public testing::TestWithParam<FontCase> {};

// Every glyph of the C file and of the binary file draws as the cell it was made from, through
// readers written from LVGL's descriptions alone.
TEST_P(LvglRoundTrip, EveryGlyphDrawsAsItsCell) {
    const FontCase& c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.size * 31 + c.bpp));
    const auto glyphs = sampleGlyphs(c.size, c.bpp, random);
    const auto codes = codesToDraw(glyphs);
    const LvglFont font = makeLvglFont({glyphs, c.bpp, c.size, c.baseline});
    ASSERT_EQ(font.refusal, LvglRefusal::None);
    const std::string expected = expectedDrawing(glyphs, codes, c.size, c.baseline, c.bpp);

    TempFolder dir;
    const std::string text = lvglCFile(font, {"font_" + std::string(c.label), "test.ttf face 0, */ 16 dots"});
    EXPECT_EQ(walkCFont(dir, "font_" + std::string(c.label), text, c.version, c.include, codes), expected);

    if (lvglBinaryDepth(c.bpp)) {
        const std::vector<std::uint8_t> bin = lvglBinary(font);
        // The head as LVGL's loader takes it whole: 48 bytes, the depth at byte 37.
        ASSERT_GT(bin.size(), 48U);
        EXPECT_EQ(bin[0], 48);
        EXPECT_EQ(bin[37], c.bpp);
        std::string error;
        const auto read = test::readLvglBin(bin, error);
        ASSERT_TRUE(read) << error;
        EXPECT_EQ((std::vector<std::string>{"head", "cmap", "loca", "glyf"}), read->tags);
        EXPECT_EQ(read->fontSize, c.size);
        EXPECT_EQ(test::drawLvglBin(*read, codes), expected);
    } else {
        EXPECT_THROW(lvglBinary(font), std::invalid_argument);
    }
}

INSTANTIATE_TEST_SUITE_P(SizesAndDepths, LvglRoundTrip,
                         testing::Values(FontCase{"s16_1bpp_lvgl9", 16, 1, 0, 9, Include::Simple},
                                         FontCase{"s16_1bpp_lvgl8", 16, 1, 3, 8, Include::Folder},
                                         FontCase{"s11_1bpp_odd", 11, 1, 2, 9, Include::Folder},
                                         FontCase{"s12_2bpp", 12, 2, 2, 8, Include::Simple},
                                         FontCase{"s24_4bpp", 24, 4, 5, 9, Include::Simple},
                                         FontCase{"s32_8bpp", 32, 8, 6, 9, Include::Folder}),
                         [](const auto& info) { return std::string(info.param.label); });

// A binary font whose glyphs take more than 64 KiB has 32-bit glyph offsets, and more than 255 glyphs
// two-byte ids: still every glyph reads back.
TEST(LvglFont, LargeBinaryFontReadsBack) {
    std::mt19937 random(7);
    std::vector<LvglGlyphInput> glyphs;
    for (char32_t c = 0x4E00; c < 0x4E00 + 300; ++c)
        glyphs.push_back({c, randomCell(32, 32, 4, random, WidthClass::Full)});
    const LvglFont font = makeLvglFont({glyphs, 4, 32, 4});
    const std::vector<std::uint8_t> bin = lvglBinary(font);
    ASSERT_GT(bin.size(), 65536U * 2);
    std::string error;
    const auto read = test::readLvglBin(bin, error);
    ASSERT_TRUE(read) << error;
    const auto codes = codesToDraw(glyphs);
    EXPECT_EQ(test::drawLvglBin(*read, codes), expectedDrawing(glyphs, codes, 32, 4, 4));
}

// A scan that found nothing still gives a font that compiles and loads, holding no glyph.
TEST(LvglFont, EmptyFontCompilesAndLoads) {
    const LvglFont font = makeLvglFont({{}, 1, 16, 0});
    const std::vector<std::uint32_t> codes{0x41, 0x4F60};
    const std::string expected = expectedDrawing({}, codes, 16, 0, 1);
    TempFolder dir;
    EXPECT_EQ(walkCFont(dir, "empty", lvglCFile(font, {"empty", "hzk16"}), 9, Include::Simple, codes), expected);
    std::string error;
    const auto read = test::readLvglBin(lvglBinary(font), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(test::drawLvglBin(*read, codes), expected);
}

struct CmapCase {
    const char* label;
    std::vector<char32_t> codes;
    std::vector<LvglCmapType> types;
};

void PrintTo(const CmapCase& c, std::ostream* os) {
    *os << c.label;
}

class LvglCmapChoice : public testing::TestWithParam<CmapCase> {};

// Runs long enough become ranges, the codes between them sparse lists, none spanning 65536 codes or
// more; every code keeps its glyph id.
TEST_P(LvglCmapChoice, RangesAndLists) {
    const CmapCase& c = GetParam();
    const auto cmaps = lvglCmaps(c.codes, 1);
    std::vector<LvglCmapType> types;
    std::uint16_t nextId = 1;
    for (const auto& cmap : cmaps) {
        types.push_back(cmap.type);
        EXPECT_EQ(cmap.glyphIdStart, nextId);
        EXPECT_LE(cmap.rangeLength, 65535U);
        nextId = static_cast<std::uint16_t>(nextId + (cmap.type == LvglCmapType::Range ? cmap.rangeLength
                                                                                        : cmap.offsets.size()));
    }
    EXPECT_EQ(nextId, c.codes.size() + 1);
    EXPECT_EQ(types, c.types);
}

std::vector<char32_t> run(char32_t from, int n) {
    std::vector<char32_t> codes;
    for (int i = 0; i < n; ++i)
        codes.push_back(from + static_cast<char32_t>(i));
    return codes;
}

std::vector<char32_t> joined(std::initializer_list<std::vector<char32_t>> parts) {
    std::vector<char32_t> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

using T = LvglCmapType;
INSTANTIATE_TEST_SUITE_P(
    Runs, LvglCmapChoice,
    testing::Values(CmapCase{"none", {}, {}}, CmapCase{"scattered", {0x41, 0x4F60, 0x597D}, {T::Sparse}},
                    CmapCase{"run_of_15_stays_sparse", run(0x20, 15), {T::Sparse}},
                    CmapCase{"run_of_16_is_a_range", run(0x20, 16), {T::Range}},
                    CmapCase{"range_between_lists", joined({{0x10}, run(0x20, 95), {0x4E00, 0x4E8C}}),
                             {T::Sparse, T::Range, T::Sparse}},
                    CmapCase{"list_split_at_65536_codes", {0x20, 0x20 + 65534, 0x20 + 65535}, {T::Sparse, T::Sparse}},
                    CmapCase{"largest_font_in_one_range", run(0x10000, 65534), {T::Range}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LvglFont, RefusesWhatLvglCannotAddress) {
    std::vector<LvglGlyphInput> glyphs;
    DotCell full = DotCell(64, 64).withDepth(8);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            full.setLevel(x, y, 255);
    for (char32_t c = 0x4E00; c < 0x4E00 + 300; ++c)
        glyphs.push_back({c, full});
    const LvglFont font = makeLvglFont({glyphs, 8, 64, 0});
    EXPECT_EQ(font.refusal, LvglRefusal::BitmapTooLarge);
    EXPECT_EQ(font.bitmapBytesNeeded, 300U * 4096U);
    EXPECT_THROW(lvglCFile(font, {"big", "x"}), std::invalid_argument);
    EXPECT_THROW(lvglBinary(font), std::invalid_argument);
}

TEST(LvglFont, RefusesBadInput) {
    EXPECT_THROW(makeLvglFont({{}, 3, 16, 0}), std::invalid_argument);
    EXPECT_THROW(makeLvglFont({{{U'a', DotCell(8, 16)}, {U'a', DotCell(8, 16)}}, 1, 16, 0}), std::invalid_argument);
    EXPECT_THROW(lvglCFile(makeLvglFont({{}, 1, 16, 0}), {"int", "x"}), std::invalid_argument);
}

} // namespace
} // namespace hz
