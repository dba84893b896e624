// Glyphs with grey levels: the one-bit glyph's cell and place, anti-aliased dots, strikes at their
// two levels, and the rounding of coverage to levels.

#include "cell_text.h"

#include "core/text/utf8.h"
#include "fontsource/font_source.h"
#include "fontsource/grey_cell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

using hz::LookupStatus;
using hz::fontsource::AmbiguousWidth;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::GlyphWidths;

std::unique_ptr<FontSource> openOrFail(const FontSpec& fontSpec) {
    auto source = FontSource::open(fontSpec);
    if (!source) {
        ADD_FAILURE() << "problem kind " << static_cast<int>(source.problem().kind);
        return nullptr;
    }
    return std::move(*source);
}

// Levels as text: '.' clear, '#' full, the digit of 1..9 tenths between.
std::string greyPicture(const hz::DotCell& cell) {
    std::string text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            const int level = cell.level(x, y);
            text += level == 0                 ? '.'
                    : level == cell.maxLevel() ? '#'
                                               : static_cast<char>('0' + level * 9 / cell.maxLevel());
        }
        text += '\n';
    }
    return text;
}

// The first 800 hanzi of GB2312, level 1 (B0A1 on), and the half-width letters that are wide or
// narrow in most fonts.
std::u32string sampleText() {
    std::u32string text = U"AWgj%@1il";
    const std::string hanzi =
        "啊阿埃挨哎唉哀皑癌蔼矮艾碍爱隘鞍氨安俺按暗岸胺案肮昂盎凹敖熬翱袄傲奥懊澳芭捌扒叭吧笆八疤巴拔跋靶把耙坝霸罢爸"
        "白柏百摆佰败拜稗斑班搬扳般颁板版扮拌伴瓣半办绊邦帮梆榜膀绑棒磅蚌镑傍谤苞胞包褒剥薄雹保堡饱宝抱报暴豹鲍爆杯碑"
        "悲卑北辈背贝钡倍狈备惫焙被奔苯本笨崩绷甭泵蹦迸逼鼻比鄙笔彼碧蓖蔽毕毙毖币庇痹闭敝弊必辟壁臂避陛鞭边编贬扁便变"
        "卞辨辩辫遍标彪膘表鳖憋别瘪彬斌濒滨宾摈兵冰柄丙秉饼炳病并玻菠播拨钵波博勃搏铂箔伯帛舶脖膊渤泊驳捕卜哺补埠不布"
        "步簿部怖擦猜裁材才财睬踩采彩菜蔡餐参蚕残惭惨灿苍舱仓沧藏操糙槽曹草厕策侧册测层蹭插叉茬茶查碴搽察岔差诧拆柴豺"
        "温度设置报警上限我的字库点阵液晶显示屏幕电压流功率频时间日期年月";
    text += hz::decodeUtf8(hanzi).text;
    return text;
}

struct DepthFigures {
    int inkOneBit = 0;    // dots set at one bit
    int halfDiffers = 0;  // dots where "at or above half level" differs from the one-bit dot
    int inkGrey = 0;      // dots above level 0
    int intermediate = 0; // dots between 0 and the top level
};

struct FontCase {
    const char* name;
    std::string file;
    int face;
    double mostDiffering; // the largest share of one-bit ink dots whose half-level dot may differ
};

// The box around the dots above level 0 (any level at all for a one-bit cell); nothing when blank.
struct LevelBox {
    int left = 64, top = 64, right = -1, bottom = -1;
};
LevelBox levelBox(const hz::DotCell& cell) {
    LevelBox box;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.level(x, y) > 0)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    return box;
}

void PrintTo(const FontCase& c, std::ostream* os) {
    *os << c.name;
}

class GreyOutlines : public ::testing::TestWithParam<FontCase> {};

// At 4 bits a dot and 16 dots the cell is the one-bit cell, the glyph's ink spans the one-bit ink
// within a dot each way (the same place), the dots at or above half level are nearly the one-bit
// glyph, and a good share of the inked dots lie between clear and full: the edges really are
// anti-aliased. Monochrome hinting snaps every stroke to whole dots; anti-aliased, a stroke thinner
// than a dot stays below half level, so a Song face with hairline strokes differs more.
TEST_P(GreyOutlines, SameCellsHalfLevelShapeNearOneBitAndRealGreys) {
    const FontCase& c = GetParam();
    // Grey glyphs take the cells and places of the classic one-bit rendering.
    const auto oneBit = openOrFail(
        {c.file, c.face, 16, {}, GlyphWidths::Fixed, AmbiguousWidth::Full, 1, hz::fontsource::RenderRule::Classic});
    const auto grey = openOrFail({c.file, c.face, 16, {}, GlyphWidths::Fixed, AmbiguousWidth::Full, 4});
    ASSERT_TRUE(oneBit && grey);

    DepthFigures figures;
    int boxes = 0, boxesWithinADot = 0;
    double shiftX = 0, shiftY = 0;
    for (const char32_t ch : sampleText()) {
        hz::DotCell one, four;
        ASSERT_EQ(oneBit->glyph(ch, one), LookupStatus::Found);
        ASSERT_EQ(grey->glyph(ch, four), LookupStatus::Found);
        ASSERT_EQ(four.depth(), 4);
        ASSERT_EQ(four.width(), one.width()) << hz::encodeUtf8(ch);
        ASSERT_EQ(four.height(), one.height());
        ASSERT_EQ(four.widthClass(), one.widthClass());
        int differs = 0;
        for (int y = 0; y < one.height(); ++y) {
            for (int x = 0; x < one.width(); ++x) {
                const int level = four.level(x, y);
                differs += four.dot(x, y) != one.dot(x, y);
                figures.inkGrey += level > 0;
                figures.intermediate += level > 0 && level < four.maxLevel();
            }
        }
        figures.inkOneBit += one.inkCount();
        figures.halfDiffers += differs;
        // Each glyph keeps its place. The two renderings differ a little (monochrome hinting may
        // drop a hairline the grey one keeps), so the boxes around their ink are compared over the
        // whole sample: nearly all within a dot each way, and on average shifted by less than half a
        // dot (unhinted across, grey edges land within a dot of the snapped one-bit ones).
        const LevelBox boxOne = levelBox(one);
        const LevelBox boxFour = levelBox(four);
        if (boxOne.right >= 0 && boxFour.right >= 0) {
            ++boxes;
            boxesWithinADot += std::abs(boxFour.left - boxOne.left) <= 1 && std::abs(boxFour.top - boxOne.top) <= 1 &&
                               std::abs(boxFour.right - boxOne.right) <= 1 &&
                               std::abs(boxFour.bottom - boxOne.bottom) <= 1;
            shiftX += (boxFour.left + boxFour.right - boxOne.left - boxOne.right) / 2.0;
            shiftY += (boxFour.top + boxFour.bottom - boxOne.top - boxOne.bottom) / 2.0;
        }
    }
    ASSERT_GT(boxes, 300);
    EXPECT_GT(static_cast<double>(boxesWithinADot) / boxes, 0.9) << boxesWithinADot << " of " << boxes;
    EXPECT_LT(std::abs(shiftX / boxes), 0.5) << "mean shift across";
    EXPECT_LT(std::abs(shiftY / boxes), 0.5) << "mean shift down";
    const double differsShare = static_cast<double>(figures.halfDiffers) / figures.inkOneBit;
    const double greyShare = static_cast<double>(figures.intermediate) / figures.inkGrey;
    std::printf("%s at 16 dots, 4 bpp, %zu glyphs: %d one-bit ink dots, %d dots differ at half level (%.1f%%); "
                "%d of %d inked dots intermediate (%.1f%%); ink boxes within a dot %d of %d, mean shift %.2f, %.2f\n",
                c.name, sampleText().size(), figures.inkOneBit, figures.halfDiffers, 100 * differsShare,
                figures.intermediate, figures.inkGrey, 100 * greyShare, boxesWithinADot, boxes, shiftX / boxes,
                shiftY / boxes);
    EXPECT_LT(differsShare, c.mostDiffering);
    EXPECT_GT(greyShare, 0.25);
}

INSTANTIATE_TEST_SUITE_P(Fonts, GreyOutlines,
                         ::testing::Values(FontCase{"ZenHei", fonts::kZenhei, 0, 0.12},
                                           FontCase{"MicroHei", fonts::kMicrohei, 0, 0.12},
                                           FontCase{"Song", fonts::kSong, 0, 0.35}),
                         [](const auto& info) { return std::string(info.param.name); });

// Proportional widths and half-width glyphs drawn narrower keep their one-bit cells at every depth.
TEST(GreyGlyphs, ProportionalAndNarrowedCellsKeepTheirWidths) {
    for (const int bpp : {2, 4, 8}) {
        for (const GlyphWidths widths : {GlyphWidths::Fixed, GlyphWidths::Proportional}) {
            SCOPED_TRACE(std::to_string(bpp) + " bpp, widths " + std::to_string(static_cast<int>(widths)));
            const auto oneBit = openOrFail({fonts::kZenhei, 0, 16, {}, widths, AmbiguousWidth::Half});
            const auto grey = openOrFail({fonts::kZenhei, 0, 16, {}, widths, AmbiguousWidth::Half, bpp});
            ASSERT_TRUE(oneBit && grey);
            for (const char32_t ch : std::u32string(U"W%@mi.°±温")) {
                hz::DotCell one, deep;
                ASSERT_EQ(oneBit->glyph(ch, one), LookupStatus::Found);
                ASSERT_EQ(grey->glyph(ch, deep), LookupStatus::Found);
                EXPECT_EQ(deep.depth(), bpp);
                EXPECT_EQ(deep.width(), one.width()) << hz::encodeUtf8(ch);
                EXPECT_EQ(deep.widthClass(), one.widthClass()) << hz::encodeUtf8(ch);
                EXPECT_GT(deep.inkCount(), 0) << hz::encodeUtf8(ch) << "\n" << greyPicture(deep);
            }
        }
    }
}

// A bitmap font has no grey: each glyph is its one-bit glyph at levels 0 and the top.
TEST(GreyGlyphs, StrikesGiveTheTwoExtremeLevels) {
    const auto oneBit = openOrFail({fonts::kGuobiao16, 0, 16, {}});
    const auto grey = openOrFail({fonts::kGuobiao16, 0, 16, {}, GlyphWidths::Fixed, AmbiguousWidth::Full, 4});
    ASSERT_TRUE(oneBit && grey);
    for (const char32_t ch : std::u32string(U"温度啊，")) {
        hz::DotCell one, four;
        ASSERT_EQ(oneBit->glyph(ch, one), LookupStatus::Found);
        ASSERT_EQ(grey->glyph(ch, four), LookupStatus::Found);
        EXPECT_EQ(four, one.withDepth(4)) << greyPicture(four);
    }
}

TEST(GreyGlyphs, TheDepthIsNamedInTheDescription) {
    const auto grey = openOrFail({fonts::kZenhei, 0, 16, {}, GlyphWidths::Fixed, AmbiguousWidth::Full, 2});
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->description(), "wqy-zenhei.ttc face 0, 16 dots, 2 bits a dot");
}

// The front ends refuse these before a font is opened; here they are programming errors.
TEST(GreyGlyphs, ADepthOtherThanOneTwoFourOrEightOrAThresholdWithGreyIsAnError) {
    EXPECT_THROW((void)FontSource::open({fonts::kZenhei, 0, 16, {}, GlyphWidths::Fixed, AmbiguousWidth::Full, 3}),
                 std::invalid_argument);
    EXPECT_THROW((void)FontSource::open({fonts::kZenhei, 0, 16, 100, GlyphWidths::Fixed, AmbiguousWidth::Full, 4}),
                 std::invalid_argument);
}

// Every coverage at every depth rounds to the nearest level (no coverage lies exactly half way).
TEST(GreyLevels, CoverageRoundsToTheNearestLevel) {
    for (const int top : {1, 3, 15, 255}) {
        for (int coverage = 0; coverage <= 255; ++coverage) {
            const long nearest = std::lround(coverage * top / 255.0);
            ASSERT_EQ(hz::fontsource::coverageLevel(coverage, top), nearest) << coverage << " of " << top;
        }
    }
}

// Merged columns hold the highest coverage of the columns merged into them; anti-aliased coverage
// beside the one-bit ink joins the nearest edge column.
TEST(GreyLevels, MergedColumnsKeepTheStrongestCoverage) {
    hz::fontsource::GlyphBitmap coverage;
    coverage.left = 1; // pen columns 1..8
    coverage.top = 1;
    coverage.width = 8;
    coverage.rows = 1;
    coverage.dots = {40, 10, 200, 90, 255, 0, 30, 60};
    const hz::fontsource::InkBox ink{2, 0, 7, 0}; // six columns, 2..7, into three
    const auto merged = hz::fontsource::mergeCoverage(coverage, ink, 3);
    EXPECT_EQ(merged.left, 2);
    EXPECT_EQ(merged.top, 1);
    EXPECT_EQ(merged.width, 3);
    // pen 1 (beside) and 2, 3 -> 0; 4, 5 -> 1; 6, 7 and 8 (beside) -> 2
    EXPECT_EQ(merged.dots, (std::vector<std::uint8_t>{200, 255, 60}));
}

} // namespace
