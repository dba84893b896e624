// One-bit outlines drawn keeping strokes thinner than a dot (--render dropout): the classic rule's
// cells and places, no dot of the classic glyph lost, and strokes the classic rendering drops (Zen
// Hei's small hinted glyphs) back in place.

#include "cell_text.h"

#include "core/text/codepage.h"
#include "fontsource/font_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using hz::LookupStatus;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::RenderRule;

const std::string kSungtiL = fonts::kSong;

std::unique_ptr<FontSource> openOrFail(FontSpec fontSpec, RenderRule rule) {
    fontSpec.render = rule;
    auto source = FontSource::open(fontSpec);
    if (!source) {
        ADD_FAILURE() << fontSpec.file << ": problem kind " << static_cast<int>(source.problem().kind);
        return nullptr;
    }
    return std::move(*source);
}

hz::DotCell glyphOf(FontSource& source, char32_t character) {
    hz::DotCell cell;
    EXPECT_EQ(source.glyph(character, cell), LookupStatus::Found) << static_cast<std::uint32_t>(character);
    return cell;
}

int inkDots(const hz::DotCell& cell) {
    int dots = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            dots += cell.dot(x, y);
    return dots;
}

// Every 10th hanzi of GB2312 level 1 (the common ones, B0A1 to D7F9): 376 characters.
std::vector<char32_t> commonHanzi() {
    std::vector<char32_t> sample;
    int index = 0;
    for (int hi = 0xB0; hi <= 0xD7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo, ++index) {
            if (hi == 0xD7 && lo > 0xF9)
                break;
            if (index % 10 != 0)
                continue;
            if (const auto character = hz::cp936Character(static_cast<std::uint16_t>(hi << 8 | lo)))
                sample.push_back(*character);
        }
    }
    return sample;
}

// The columns of a cell holding any ink in rows [top, bottom].
int inkedColumns(const hz::DotCell& cell, int top, int bottom) {
    int columns = 0;
    for (int x = 0; x < cell.width(); ++x) {
        bool inked = false;
        for (int y = top; y <= bottom && !inked; ++y)
            inked = cell.dot(x, y);
        columns += inked;
    }
    return columns;
}

// 温 at 12 dots in Zen Hei: the classic rendering drops the left stroke of 日 (hinted to less than
// a dot wide); kept, the box of 日 is closed: on the rows of 日 its left column holds ink top to bottom.
TEST(KeptStrokes, ZenHeiTwelveKeepsTheLeftSideOfRi) {
    const FontSpec wanted{fonts::kZenhei, 0, 12, {}};
    auto classic = openOrFail(wanted, RenderRule::Classic);
    auto kept = openOrFail(wanted, RenderRule::Dropouts);
    ASSERT_TRUE(classic && kept);
    const hz::DotCell before = glyphOf(*classic, U'温');
    const hz::DotCell after = glyphOf(*kept, U'温');
    ASSERT_GT(inkDots(after), inkDots(before)) << "classic:\n" << picture(before) << "kept:\n" << picture(after);
    // The upper half of the right-hand part (日) spans more columns once its left side is back.
    EXPECT_GT(inkedColumns(after, 0, 5), inkedColumns(before, 0, 5)) << "classic:\n"
                                                                     << picture(before) << "kept:\n"
                                                                     << picture(after);
}

struct RuleFont {
    const char* name;
    std::string file;
    int face;
};

void PrintTo(const RuleFont& font, std::ostream* os) {
    *os << font.name;
}

class KeptStrokesOverCommonHanzi : public ::testing::TestWithParam<RuleFont> {};

// Per size: the kept-stroke glyph has every dot of the classic one in the same cell (so the same
// place), and the glyphs that gained dots are counted in the log.
TEST_P(KeptStrokesOverCommonHanzi, NeverLoseADotAtTwelveFourteenSixteen) {
    const RuleFont& font = GetParam();
    const std::vector<char32_t> sample = commonHanzi();
    ASSERT_GE(sample.size(), 370u);
    for (const int size : {12, 14, 16}) {
        const FontSpec wanted{font.file, font.face, size, {}};
        auto classic = openOrFail(wanted, RenderRule::Classic);
        auto kept = openOrFail(wanted, RenderRule::Dropouts);
        ASSERT_TRUE(classic && kept);
        long classicDots = 0, keptDots = 0;
        int gained = 0, lost = 0;
        for (const char32_t character : sample) {
            const hz::DotCell before = glyphOf(*classic, character);
            const hz::DotCell after = glyphOf(*kept, character);
            ASSERT_EQ(after.width(), before.width());
            ASSERT_EQ(after.height(), before.height());
            bool keepsAll = true;
            for (int y = 0; y < before.height(); ++y)
                for (int x = 0; x < before.width(); ++x)
                    keepsAll = keepsAll && (!before.dot(x, y) || after.dot(x, y));
            if (!keepsAll && ++lost <= 2)
                ADD_FAILURE() << size << " dots, U+" << std::hex << static_cast<std::uint32_t>(character)
                              << " lost dots; classic:\n"
                              << picture(before) << "kept:\n"
                              << picture(after);
            classicDots += inkDots(before);
            keptDots += inkDots(after);
            gained += inkDots(after) > inkDots(before);
        }
        EXPECT_EQ(lost, 0) << size << " dots";
        std::printf("%s %d dots: %zu hanzi, %d gained dots; ink %ld classic, %ld kept\n", font.name, size,
                    sample.size(), gained, classicDots, keptDots);
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, KeptStrokesOverCommonHanzi,
                         ::testing::Values(RuleFont{"ZenHei", fonts::kZenhei, 0},
                                           RuleFont{"SungtiL", kSungtiL, 0},
                                           RuleFont{"MicroHei", fonts::kMicrohei, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The rule changes one-bit outline dots only: grey levels, a threshold's grey cut and a strike are
// drawn as they are by either rule.
TEST(KeptStrokes, LeavesGreyThresholdAndStrikesAlone) {
    const std::vector<FontSpec> wantedFonts{{fonts::kZenhei, 0, 12, {}, {}, {}, 4},
                                      {fonts::kZenhei, 0, 12, 100},
                                      {fonts::kStrike12, 0, 12, {}}};
    for (const FontSpec& wanted : wantedFonts) {
        auto classic = openOrFail(wanted, RenderRule::Classic);
        auto kept = openOrFail(wanted, RenderRule::KeepStrokes);
        ASSERT_TRUE(classic && kept);
        for (const char32_t character : {U'温', U'鬻', U'A'}) {
            const hz::DotCell before = glyphOf(*classic, character);
            const hz::DotCell after = glyphOf(*kept, character);
            EXPECT_TRUE(before == after) << wanted.file << " U+" << std::hex << static_cast<std::uint32_t>(character);
        }
    }
}

} // namespace
