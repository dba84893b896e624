// Drawing a font's characters ahead on every core gives the very cells the lookups one by one give,
// at every depth and rendering rule, full and half width, and leaves the characters the font lacks
// for the lookup to report.

#include "fontsource/font_source.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace {

using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::RenderRule;

const std::string kSong = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";

struct AheadCase {
    const char* label;
    int size;
    int bpp;
    RenderRule render;
};

void PrintTo(const AheadCase& c, std::ostream* os) {
    *os << c.label;
}

class DrawAhead : public testing::TestWithParam<AheadCase> {};

TEST_P(DrawAhead, GivesTheCellsOfLookupsOneByOne) {
    if (!std::filesystem::exists(kSong))
        GTEST_SKIP() << kSong << " is not installed (fonts-arphic-gbsn00lp)";
    FontSpec wanted;
    wanted.file = kSong;
    wanted.size = GetParam().size;
    wanted.bpp = GetParam().bpp;
    wanted.render = GetParam().render;
    // Enough hanzi for a pool of faces (the font maps about a third of these), ASCII, a character no
    // font maps, and repeats.
    std::u32string text = U"ABCxyz0123!?\U0010FFFD啊啊";
    for (char32_t c = 0x4E00; text.size() < 1500; c += 7)
        text += c;
    auto ahead = FontSource::open(wanted);
    auto oneByOne = FontSource::open(wanted);
    ASSERT_TRUE(ahead && oneByOne);
    (*ahead)->prefetch(text, 2);
    int found = 0;
    for (char32_t c : text) {
        hz::DotCell want;
        hz::DotCell got;
        const hz::LookupStatus wantStatus = (*oneByOne)->glyph(c, want);
        ASSERT_EQ((*ahead)->glyph(c, got), wantStatus) << static_cast<unsigned>(c);
        if (wantStatus == hz::LookupStatus::Found) {
            ++found;
            ASSERT_TRUE(got == want) << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }
    EXPECT_GT(found, 400); // more than one face's share of a pool
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawAhead,
                         testing::Values(AheadCase{"strokes_kept_16", 16, 1, RenderRule::KeepStrokes},
                                         AheadCase{"classic_12", 12, 1, RenderRule::Classic},
                                         AheadCase{"grey4_20", 20, 4, RenderRule::KeepStrokes}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
