// A glyph drawn live is dot for dot what hzdot-mkfont stores for the same font, face and size, in
// any layout; and what the six libraries the build made hold.

#include "cell_text.h"
#include "process.h"
#include "temp_folder.h"

#include "core/layout/layout.h"
#include "core/text/codepage.h"
#include "fontsource/font_source.h"
#include "fontsource/render_rule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

using namespace hz::test;

namespace {

using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::RenderRule;

FontSpec drawnBy(RenderRule rule, FontSpec fontSpec) {
    fontSpec.render = rule;
    return fontSpec;
}

FontSpec classic(FontSpec fontSpec) {
    return drawnBy(RenderRule::Classic, std::move(fontSpec));
}

struct LiveCase {
    const char* name;
    FontSpec fontSpec;
    const char* layout;
};

void PrintTo(const LiveCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<std::string> specArguments(const FontSpec& fontSpec) {
    std::vector<std::string> args{
        "--font", fontSpec.file, "--face", std::to_string(fontSpec.face), "--size", std::to_string(fontSpec.size)};
    if (fontSpec.threshold) {
        args.push_back("--threshold");
        args.push_back(std::to_string(*fontSpec.threshold));
    }
    if (fontSpec.bpp > 1) {
        args.push_back("--bpp");
        args.push_back(std::to_string(fontSpec.bpp));
    }
    if (fontSpec.render != hz::fontsource::RenderRule::KeepStrokes) {
        args.push_back("--render");
        args.push_back(std::string(hz::fontsource::renderRuleName(fontSpec.render)));
    }
    return args;
}

// Compares every GB2312 code's record with the glyph drawn live; a character the font lacks must
// have a blank record.
void expectRecordsMatch(FontSource& source, const std::string& bytes, const hz::Layout& layout) {
    const int size = source.height();
    const std::size_t recordSize = hz::encodedSize(layout, size, size);
    ASSERT_EQ(bytes.size(), 8178u * recordSize);
    const std::vector<std::uint8_t> blank = hz::encodeCell(hz::DotCell(size, size), layout);
    int compared = 0, mismatches = 0;
    for (int hi = 0xA1; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const std::size_t offset = static_cast<std::size_t>((hi - 0xA1) * 94 + (lo - 0xA1)) * recordSize;
            const std::vector<std::uint8_t> record(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                                   bytes.begin() + static_cast<std::ptrdiff_t>(offset + recordSize));
            const auto character = hz::cp936Character(static_cast<std::uint16_t>(hi << 8 | lo));
            if (!character || (*character >= 0xE000 && *character <= 0xF8FF)) {
                EXPECT_EQ(record, blank) << "unassigned code " << std::hex << (hi << 8 | lo);
                continue;
            }
            hz::DotCell cell;
            const hz::LookupStatus status = source.glyph(*character, cell);
            const std::vector<std::uint8_t> live =
                status == hz::LookupStatus::Found ? hz::encodeCell(cell, layout) : blank;
            ++compared;
            if (live != record && ++mismatches <= 3) {
                ADD_FAILURE() << "code " << std::hex << (hi << 8 | lo) << " differs; live:\n"
                              << picture(cell) << "stored:\n"
                              << picture(hz::decodeCell(record, layout, size, size));
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << compared << " characters";
    EXPECT_EQ(compared, 7478);
}

class LiveMatchesMkfont : public ::testing::TestWithParam<LiveCase> {};

TEST_P(LiveMatchesMkfont, EveryGb2312Record) {
    const LiveCase& c = GetParam();
    TempFolder scratch;
    std::vector<std::string> args = specArguments(c.fontSpec);
    args.insert(args.end(), {"--layout", c.layout, "--output", scratch.file("library")});
    const ProcessResult run = runMkfont(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const auto source = FontSource::open(c.fontSpec);
    ASSERT_TRUE(source) << "problem kind " << static_cast<int>(source.problem().kind);
    const auto layout = hz::parseLayout(c.layout);
    ASSERT_TRUE(layout);
    expectRecordsMatch(**source, readFile(scratch.file("library")), *layout);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, LiveMatchesMkfont,
    ::testing::Values(LiveCase{"MicroHei12", {fonts::kMicrohei, 0, 12, {}}, "rows-msb"},
                      LiveCase{"MicroHei16", {fonts::kMicrohei, 0, 16, {}}, "columns-lsb"},
                      LiveCase{"Song20", {fonts::kSong, 0, 20, {}}, "pages-msb"},
                      LiveCase{"ZenHeiSharp24", {fonts::kZenhei, 1, 24, {}}, "pages-lsb-up-left"},
                      LiveCase{"UMing32", {fonts::kUming, 0, 32, {}}, "columns-msb-invert"},
                      LiveCase{"KaiGrey16", {fonts::kKai, 0, 16, 100}, "rows-lsb-left"},
                      LiveCase{"Strike12", {fonts::kStrike12, 0, 12, {}}, "rows-msb"},
                      // Zen Hei's small glyphs are where the two one-bit rules differ most.
                      LiveCase{"ZenHei12", {fonts::kZenhei, 0, 12, {}}, "rows-msb"},
                      LiveCase{"ZenHei12Classic", classic({fonts::kZenhei, 0, 12, {}}), "rows-msb"},
                      LiveCase{"MicroHei12Classic", classic({fonts::kMicrohei, 0, 12, {}}), "pages-msb"},
                      // The rules default chooses from, drawn again in the fitted cells by each face
                      // of mkfont's pool.
                      LiveCase{"ZenHei14Autohint", drawnBy(RenderRule::Autohinted, {fonts::kZenhei, 0, 14, {}}),
                               "columns-lsb"},
                      LiveCase{"Song12Grey", drawnBy(RenderRule::GreyCut, {fonts::kSong, 0, 12, {}}), "rows-msb"},
                      LiveCase{"ZenHei16Dropout", drawnBy(RenderRule::Dropouts, {fonts::kZenhei, 0, 16, {}}),
                               "rows-msb"},
                      // Grey levels: the same glyphs, anti-aliased where the one-bit
                      // rule puts them; a strike gives its two levels.
                      LiveCase{"MicroHeiGrey16", {fonts::kMicrohei, 0, 16, {}, {}, {}, 4}, "rows-msb-4bpp"},
                      LiveCase{"SongGrey20", {fonts::kSong, 0, 20, {}, {}, {}, 2}, "columns-lsb-2bpp"},
                      LiveCase{"Strike12Grey8", {fonts::kStrike12, 0, 12, {}, {}, {}, 8}, "rows-lsb-up-8bpp"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BuiltLibrary {
    const char* name;
    const char* file;
    FontSpec fontSpec;
};

void PrintTo(const BuiltLibrary& c, std::ostream* os) {
    *os << c.name;
}

class LiveMatchesBuiltLibrary : public ::testing::TestWithParam<BuiltLibrary> {};

// The build made these from the same fonts (the traditional one excepted: live fonts draw the
// characters asked for, not their traditional forms), by the classic rule.
TEST_P(LiveMatchesBuiltLibrary, EveryGb2312Record) {
    const auto source = FontSource::open(GetParam().fontSpec);
    ASSERT_TRUE(source) << "problem kind " << static_cast<int>(source.problem().kind);
    expectRecordsMatch(**source, readFile(std::string(HZDOT_BIN_DIR) + "/" + GetParam().file), hz::Layout{});
}

INSTANTIATE_TEST_SUITE_P(Libraries, LiveMatchesBuiltLibrary,
                         ::testing::Values(BuiltLibrary{"Song12", "hzk12宋", classic({fonts::kStrike12, 0, 12, {}})},
                                           BuiltLibrary{"Song16", "hzk16宋", classic({fonts::kGuobiao16, 0, 16, {}})},
                                           BuiltLibrary{"Song24", "hzk24宋", classic({fonts::kSong, 0, 24, {}})},
                                           BuiltLibrary{"Kai24", "hzk24楷", classic({fonts::kKai, 0, 24, {}})},
                                           BuiltLibrary{"Hei24", "hzk24黑", classic({fonts::kZenhei, 0, 24, {}})}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
