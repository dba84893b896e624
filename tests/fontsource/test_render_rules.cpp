// The one-bit rendering rules beside classic (dropout control kept, the autohinter, a light-hinted
// grey cut) and the one "default" picks: each draws in the classic glyph's cell and place, leaves
// strikes as the font has them, and default draws exactly as the rule it stands for.

#include "cell_text.h"

#include "core/text/codepage.h"
#include "fontsource/font_face.h"
#include "fontsource/font_source.h"
#include "fontsource/render_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using hz::LookupStatus;
using hz::fontsource::FontFace;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::RenderRule;

std::unique_ptr<FontSource> openOrFail(FontSpec fontSpec, RenderRule rule) {
    fontSpec.render = rule;
    auto source = FontSource::open(fontSpec);
    if (!source) {
        ADD_FAILURE() << fontSpec.file << ": problem kind " << static_cast<int>(source.problem().kind);
        return nullptr;
    }
    return std::move(*source);
}

// Every 20th hanzi of GB2312 level 1: 188 common characters.
std::vector<char32_t> commonHanzi() {
    std::vector<char32_t> sample;
    int index = 0;
    for (int hi = 0xB0; hi <= 0xD7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo, ++index) {
            if (hi == 0xD7 && lo > 0xF9)
                break;
            if (index % 20 != 0)
                continue;
            if (const auto character = hz::cp936Character(static_cast<std::uint16_t>(hi << 8 | lo)))
                sample.push_back(*character);
        }
    }
    return sample;
}

struct Centre {
    double x = 0;
    double y = 0;
    int dots = 0;
};

Centre centreOf(const hz::DotCell& cell) {
    Centre centre;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x) {
            if (cell.dot(x, y)) {
                centre.x += x;
                centre.y += y;
                ++centre.dots;
            }
        }
    }
    if (centre.dots) {
        centre.x /= centre.dots;
        centre.y /= centre.dots;
    }
    return centre;
}

TEST(RenderRuleNames, EveryRuleByItsNameOnly) {
    for (const RenderRule rule : {RenderRule::KeepStrokes, RenderRule::Classic, RenderRule::Dropouts,
                                  RenderRule::Autohinted, RenderRule::GreyCut}) {
        const auto parsed = hz::fontsource::parseRenderRule(hz::fontsource::renderRuleName(rule));
        ASSERT_TRUE(parsed) << hz::fontsource::renderRuleName(rule);
        EXPECT_EQ(*parsed, rule) << hz::fontsource::renderRuleName(rule);
    }
    EXPECT_EQ(hz::fontsource::renderRuleName(RenderRule::KeepStrokes), "default");
    for (const char* near : {"", "Classic", "grey ", "auto", "dropouts", "kept"})
        EXPECT_FALSE(hz::fontsource::parseRenderRule(near)) << '"' << near << '"';
}

struct RuleCase {
    const char* name;
    std::string file;
    int face;
    int size;
    RenderRule rule;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class RuleKeepsThePlace : public ::testing::TestWithParam<RuleCase> {};

// Drawn by the rule, each common hanzi has the classic glyph's cell, and its ink sits where the
// classic ink does: hinting moves single strokes by a dot either way, so the ink's centre is the
// same over the sample, and no glyph's centre moves by two dots. A blank glyph would be a lost one.
TEST_P(RuleKeepsThePlace, CellsAndInkCentres) {
    const RuleCase& c = GetParam();
    const FontSpec wanted{c.file, c.face, c.size, {}};
    auto classic = openOrFail(wanted, RenderRule::Classic);
    auto ruled = openOrFail(wanted, c.rule);
    ASSERT_TRUE(classic && ruled);
    double shiftX = 0, shiftY = 0;
    int compared = 0;
    for (const char32_t character : commonHanzi()) {
        hz::DotCell before, after;
        ASSERT_EQ(classic->glyph(character, before), LookupStatus::Found);
        ASSERT_EQ(ruled->glyph(character, after), LookupStatus::Found);
        ASSERT_EQ(after.width(), before.width());
        ASSERT_EQ(after.height(), before.height());
        const Centre from = centreOf(before);
        const Centre to = centreOf(after);
        ASSERT_GT(to.dots, 0) << "U+" << std::hex << static_cast<std::uint32_t>(character) << " lost its ink";
        EXPECT_LT(std::abs(to.x - from.x), 2.0)
            << "U+" << std::hex << static_cast<std::uint32_t>(character) << "\nclassic:\n"
            << picture(before) << "by the rule:\n"
            << picture(after);
        EXPECT_LT(std::abs(to.y - from.y), 2.0)
            << "U+" << std::hex << static_cast<std::uint32_t>(character) << "\nclassic:\n"
            << picture(before) << "by the rule:\n"
            << picture(after);
        shiftX += to.x - from.x;
        shiftY += to.y - from.y;
        ++compared;
    }
    ASSERT_GT(compared, 180);
    EXPECT_LT(std::abs(shiftX / compared), 0.3);
    EXPECT_LT(std::abs(shiftY / compared), 0.3);
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleKeepsThePlace,
                         ::testing::Values(RuleCase{"ZenHei12Autohint", fonts::kZenhei, 0, 12, RenderRule::Autohinted},
                                           RuleCase{"ZenHei12Grey", fonts::kZenhei, 0, 12, RenderRule::GreyCut},
                                           RuleCase{"ZenHei16Grey", fonts::kZenhei, 0, 16, RenderRule::GreyCut},
                                           RuleCase{"Song12Autohint", fonts::kSong, 0, 12, RenderRule::Autohinted},
                                           RuleCase{"Song16Grey", fonts::kSong, 0, 16, RenderRule::GreyCut},
                                           RuleCase{"MicroHei14Default", fonts::kMicrohei, 0, 14,
                                                    RenderRule::KeepStrokes}),
                         [](const auto& info) { return std::string(info.param.name); });

class DefaultStandsForOneRule : public ::testing::TestWithParam<RuleCase> {};

// Default draws every glyph of a face and size by one rule: the grey cut where it keeps the font's
// strokes, the autohinter where a grey cut at a third of coverage would lose the thin strokes of a
// Song face at small sizes.
TEST_P(DefaultStandsForOneRule, EveryCommonHanzi) {
    const RuleCase& c = GetParam();
    const FontSpec wanted{c.file, c.face, c.size, {}};
    auto byDefault = openOrFail(wanted, RenderRule::KeepStrokes);
    auto ruled = openOrFail(wanted, c.rule);
    ASSERT_TRUE(byDefault && ruled);
    int differing = 0;
    for (const char32_t character : commonHanzi()) {
        hz::DotCell expected, drawn;
        ASSERT_EQ(ruled->glyph(character, expected), LookupStatus::Found);
        ASSERT_EQ(byDefault->glyph(character, drawn), LookupStatus::Found);
        if (!(drawn == expected) && ++differing <= 2)
            ADD_FAILURE() << "U+" << std::hex << static_cast<std::uint32_t>(character) << "\nby default:\n"
                          << picture(drawn) << "by " << hz::fontsource::renderRuleName(c.rule) << ":\n"
                          << picture(expected);
    }
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Fonts, DefaultStandsForOneRule,
                         ::testing::Values(RuleCase{"ZenHei12", fonts::kZenhei, 0, 12, RenderRule::GreyCut},
                                           RuleCase{"ZenHei16", fonts::kZenhei, 0, 16, RenderRule::GreyCut},
                                           RuleCase{"Song12", fonts::kSong, 0, 12, RenderRule::Autohinted},
                                           RuleCase{"Song16", fonts::kSong, 0, 16, RenderRule::GreyCut},
                                           RuleCase{"Kai12", fonts::kKai, 0, 12, RenderRule::GreyCut},
                                           RuleCase{"MicroHei14", fonts::kMicrohei, 0, 14, RenderRule::GreyCut}),
                         [](const auto& info) { return std::string(info.param.name); });

// A font's own bitmaps are drawn as they are by every rule: the embedded strikes of an outline font
// (AR PL UMing has them up to 16 dots) and a bitmap font's strike.
TEST(RenderRules, LeaveStrikesAlone) {
    const std::vector<FontSpec> wantedFonts{
        {fonts::kUming, 0, 12, {}}, {fonts::kUming, 0, 16, {}}, {fonts::kStrike12, 0, 12, {}}};
    for (const FontSpec& wanted : wantedFonts) {
        auto classic = openOrFail(wanted, RenderRule::Classic);
        ASSERT_TRUE(classic);
        for (const RenderRule rule :
             {RenderRule::KeepStrokes, RenderRule::Dropouts, RenderRule::Autohinted, RenderRule::GreyCut}) {
            auto ruled = openOrFail(wanted, rule);
            ASSERT_TRUE(ruled);
            for (const char32_t character : {U'温', U'鬻', U'度', U'A'}) {
                hz::DotCell before, after;
                ASSERT_EQ(classic->glyph(character, before), LookupStatus::Found);
                ASSERT_EQ(ruled->glyph(character, after), LookupStatus::Found);
                EXPECT_TRUE(before == after)
                    << wanted.file << " " << wanted.size << " dots, rule " << hz::fontsource::renderRuleName(rule)
                    << ", U+" << std::hex << static_cast<std::uint32_t>(character) << "\nclassic:\n"
                    << picture(before) << "by the rule:\n"
                    << picture(after);
            }
        }
    }
}

} // namespace
