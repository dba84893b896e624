// Glyphs handed over from the fitting and glyphs drawn afresh are the same dots: a source fitted
// here keeps the fitting's bitmaps, a second source of the same font finds the rule fitted and
// draws every glyph; the two must agree at every depth and width rule.

#include "cell_text.h"

#include "core/text/utf8.h"
#include "fontsource/font_source.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

namespace {

using hz::fontsource::AmbiguousWidth;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::GlyphWidths;

// Hanzi, full-width and half-width signs, a traditional character GB2312 draws in its simplified
// form, letters, box drawing, a character GB2312 lacks, and one asked for twice.
std::u32string mixedText() {
    return hz::decodeUtf8("啊温度℃、。（）【】─┼ＡＢ１２AWgj%@1il·—…“”°±×÷α‰§№☆★○●◎◇◆□■△▲※→←↑↓㈠①⒈ⅰⅫ"
                          "ぁアд後體啊")
        .text;
}

struct DrawCase {
    const char* name;
    std::string file;
    int size;
    int bpp;
    GlyphWidths widths;
    AmbiguousWidth ambiguous;
    std::optional<int> threshold = std::nullopt;
};

void PrintTo(const DrawCase& c, std::ostream* os) {
    *os << c.name;
}

class FittedGlyphs : public ::testing::TestWithParam<DrawCase> {
protected:
    // The cache between runs would hand the rule to the first source as well.
    void SetUp() override { setenv("HZDOT_NO_CACHE", "1", 1); }
};

TEST_P(FittedGlyphs, MatchGlyphsDrawnAfresh) {
    const DrawCase& c = GetParam();
    const FontSpec wanted{.file = c.file, .size = c.size, .threshold = c.threshold, .widths = c.widths, .ambiguous = c.ambiguous, .bpp = c.bpp};
    auto fitted = FontSource::open(wanted);
    ASSERT_TRUE(fitted);
    auto afresh = FontSource::open(wanted);
    ASSERT_TRUE(afresh);
    for (const char32_t character : mixedText()) {
        hz::DotCell kept(1, 1), drawn(1, 1);
        const auto keptStatus = (*fitted)->glyph(character, kept);
        const auto drawnStatus = (*afresh)->glyph(character, drawn);
        ASSERT_EQ(keptStatus, drawnStatus) << "U+" << std::hex << static_cast<unsigned>(character);
        if (keptStatus == hz::LookupStatus::Found) {
            EXPECT_TRUE(kept == drawn) << "U+" << std::hex << static_cast<unsigned>(character) << "\n"
                                       << picture(kept) << "\n"
                                       << picture(drawn);
        }
    }
}

// Enough different characters for the glyphs to be shared out between two faces: the mixed text,
// then 400 hanzi from the start of the block, some of them twice, and a character no font maps.
std::u32string longText() {
    std::u32string text = mixedText();
    for (char32_t c = 0x4E00; c < 0x4E00 + 400; ++c)
        text += c;
    text += text.substr(0, 120);
    text += U'\U000F0000';
    return text;
}

// Glyphs drawn ahead on two faces, from a source that keeps the fitting's bitmaps and from one that
// found its rule fitted already, are the dots a source drawing them one at a time gives.
TEST_P(FittedGlyphs, DrawnAheadOnTwoFacesMatchGlyphsDrawnOneByOne) {
    const DrawCase& c = GetParam();
    const FontSpec wanted{.file = c.file, .size = c.size, .threshold = c.threshold, .widths = c.widths, .ambiguous = c.ambiguous, .bpp = c.bpp};
    auto fitted = FontSource::open(wanted);
    ASSERT_TRUE(fitted);
    auto ruleKnown = FontSource::open(wanted);
    ASSERT_TRUE(ruleKnown);
    auto oneByOne = FontSource::open(wanted);
    ASSERT_TRUE(oneByOne);
    const std::u32string text = longText();
    (*fitted)->prefetch(text, 2);
    (*ruleKnown)->prefetch(text, 2);
    for (const char32_t character : text) {
        hz::DotCell drawn(1, 1), ahead(1, 1), known(1, 1);
        const auto drawnStatus = (*oneByOne)->glyph(character, drawn);
        ASSERT_EQ((*fitted)->glyph(character, ahead), drawnStatus) << "U+" << std::hex << static_cast<unsigned>(character);
        ASSERT_EQ((*ruleKnown)->glyph(character, known), drawnStatus) << "U+" << std::hex << static_cast<unsigned>(character);
        if (drawnStatus == hz::LookupStatus::Found) {
            EXPECT_TRUE(ahead == drawn && known == drawn)
                << "U+" << std::hex << static_cast<unsigned>(character) << "\n"
                << picture(ahead) << "\n"
                << picture(known) << "\n"
                << picture(drawn);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, FittedGlyphs,
    ::testing::Values(
        DrawCase{"Zenhei16", fonts::kZenhei, 16, 1, GlyphWidths::Fixed, AmbiguousWidth::Full},
        DrawCase{"Microhei20Threshold", fonts::kMicrohei, 20, 1, GlyphWidths::Fixed, AmbiguousWidth::Full, 60},
        DrawCase{"Zenhei12Proportional", fonts::kZenhei, 12, 1, GlyphWidths::Proportional, AmbiguousWidth::Half},
        DrawCase{"Song24Grey4", fonts::kSong, 24, 4, GlyphWidths::Fixed, AmbiguousWidth::Full},
        DrawCase{"Uming9Grey2Proportional", fonts::kUming, 9, 2, GlyphWidths::Proportional, AmbiguousWidth::Full},
        DrawCase{"Strike12", fonts::kStrike12, 12, 1, GlyphWidths::Fixed, AmbiguousWidth::Full},
        DrawCase{"Guobiao16Grey8", fonts::kGuobiao16, 16, 8, GlyphWidths::Fixed, AmbiguousWidth::Half}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
