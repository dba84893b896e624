// Live fonts as glyph sources: what is refused, the cells each character gets, the shared
// baseline of full-width and half-width characters.

#include "bdf_font.h"
#include "cell_text.h"
#include "process.h"
#include "temp_folder.h"

#include "fontsource/font_source.h"
#include "fontsource/width_class.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

using hz::LookupStatus;
using hz::WidthClass;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;

std::unique_ptr<FontSource> openOrFail(const FontSpec& fontSpec) {
    auto source = FontSource::open(fontSpec);
    if (!source) {
        ADD_FAILURE() << source.problem().value;
        return nullptr;
    }
    return std::move(*source);
}

struct Refusal {
    const char* name;
    std::function<FontSpec(const TempFolder&)> fontSpec;
    std::vector<std::string> messageParts; // "$" is the scratch folder
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class FontSourceRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(FontSourceRefusal, OpensNothingAndSaysWhy) {
    TempFolder scratch;
    const auto source = FontSource::open(GetParam().fontSpec(scratch));
    ASSERT_FALSE(source);
    EXPECT_EQ(source.problem().kind, hz::ProblemKind::FontUnusable);
    const std::string& error = source.problem().value;
    for (std::string part : GetParam().messageParts) {
        if (auto at = part.find('$'); at != std::string::npos)
            part.replace(at, 1, scratch.path());
        EXPECT_NE(error.find(part), std::string::npos) << "missing \"" << part << "\" in: " << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontSourceRefusal,
    ::testing::Values(
        Refusal{"MissingFile", [](const TempFolder& s) { return FontSpec{s.file("gone.ttf"), 0, 16, {}}; },
                {"$/gone.ttf", "no such file"}},
        Refusal{"Folder",
                [](const TempFolder& s) {
                    std::filesystem::create_directory(s.file("fonts"));
                    return FontSpec{s.file("fonts"), 0, 16, {}};
                },
                {"$/fonts", "is a folder"}},
        Refusal{"NotAFont",
                [](const TempFolder& s) {
                    writeFile(s.file("notes.ttf"), "these are notes, not a font\n");
                    return FontSpec{s.file("notes.ttf"), 0, 16, {}};
                },
                {"$/notes.ttf", "not a font"}},
        Refusal{"TruncatedFont",
                [](const TempFolder& s) {
                    writeFile(s.file("cut.ttf"), readFile(fonts::kSong).substr(0, 4096));
                    return FontSpec{s.file("cut.ttf"), 0, 16, {}};
                },
                {"$/cut.ttf"}},
        Refusal{"NoSuchFace", [](const TempFolder&) { return FontSpec{fonts::kUming, 9, 16, {}}; },
                {fonts::kUming, "has no face 9"}},
        Refusal{"NegativeFace", [](const TempFolder&) { return FontSpec{fonts::kUming, -1, 16, {}}; },
                {fonts::kUming, "has no face -1"}},
        Refusal{"SizeBelowEight", [](const TempFolder&) { return FontSpec{fonts::kZenhei, 0, 7, {}}; },
                {fonts::kZenhei, "7 dots is outside 8 to 64"}},
        Refusal{"SizeAboveSixtyFour", [](const TempFolder&) { return FontSpec{fonts::kZenhei, 0, 65, {}}; },
                {fonts::kZenhei, "65 dots is outside 8 to 64"}},
        Refusal{"StrikeOfAnotherSize", [](const TempFolder&) { return FontSpec{fonts::kStrike12, 0, 16, {}}; },
                {fonts::kStrike12, "has no 16-pixel strike", "12"}},
        Refusal{"ThresholdOutOfRange", [](const TempFolder&) { return FontSpec{fonts::kZenhei, 0, 16, 256}; },
                {"threshold of 256 is outside 0 to 255"}},
        Refusal{"NoFileGiven", [](const TempFolder&) { return FontSpec{"", 0, 16, {}}; }, {"no font file"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FontSourceCells, FullAndHalfWidthCellsAtAnySize) {
    for (int size : {8, 9, 17, 20, 33, 64}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const auto source = openOrFail({fonts::kMicrohei, 0, size, {}});
        ASSERT_TRUE(source);
        EXPECT_EQ(source->height(), size);

        hz::DotCell wen;
        ASSERT_EQ(source->glyph(U'温', wen), LookupStatus::Found);
        EXPECT_EQ(wen.width(), size);
        EXPECT_EQ(wen.height(), size);
        EXPECT_EQ(wen.widthClass(), WidthClass::Full);
        EXPECT_GT(wen.inkCount(), size) << picture(wen);

        hz::DotCell a;
        ASSERT_EQ(source->glyph(U'A', a), LookupStatus::Found);
        EXPECT_EQ(a.width(), (size + 1) / 2);
        EXPECT_EQ(a.height(), size);
        EXPECT_EQ(a.widthClass(), WidthClass::Half);
        EXPECT_GT(a.inkCount(), 4) << picture(a);
        EXPECT_EQ(source->sizeText(a), std::to_string((size + 1) / 2) + "*" + std::to_string(size));
    }
}

TEST(FontSourceCells, MappedBlankGlyphsAreBlankCells) {
    const auto source = openOrFail({fonts::kZenhei, 0, 16, {}});
    ASSERT_TRUE(source);
    hz::DotCell space;
    ASSERT_EQ(source->glyph(U' ', space), LookupStatus::Found);
    EXPECT_EQ(space.widthClass(), WidthClass::Half);
    EXPECT_EQ(space.width(), 8);
    EXPECT_EQ(space.inkCount(), 0);

    hz::DotCell ideographic;
    ASSERT_EQ(source->glyph(U'\u3000', ideographic), LookupStatus::Found);
    EXPECT_EQ(ideographic.widthClass(), WidthClass::Full);
    EXPECT_EQ(ideographic.width(), 16);
    EXPECT_EQ(ideographic.inkCount(), 0);
}

// The half-width Latin letters and the font's full-width forms of them stand on one baseline, so
// mixed text lines up whatever rule placed the hanzi.
TEST(FontSourceCells, HalfWidthLettersStandOnTheFullWidthBaseline) {
    for (const std::string& font : {fonts::kZenhei, fonts::kMicrohei, fonts::kUming}) {
        for (int size : {12, 16, 24, 32}) {
            SCOPED_TRACE(font + " at " + std::to_string(size));
            const auto source = openOrFail({font, 0, size, {}});
            ASSERT_TRUE(source);
            hz::DotCell half, full;
            ASSERT_EQ(source->glyph(U'H', half), LookupStatus::Found);
            ASSERT_EQ(source->glyph(U'Ｈ', full), LookupStatus::Found);
            const auto halfRows = inkRows(half);
            const auto fullRows = inkRows(full);
            ASSERT_TRUE(halfRows && fullRows);
            EXPECT_NEAR(halfRows->bottom, fullRows->bottom, 1) << picture(half) << "\n" << picture(full);
        }
    }
}

// A strike font whose every dot is known: the baseline is row 14 for both widths.
TEST(FontSourceCells, HalfWidthGlyphsShareTheStrikesBaselineExactly) {
    TempFolder scratch;
    BdfFont font;
    for (std::uint32_t c : {0x53E3u, 0x56FDu, 0x56DEu, 0x56E0u}) // 口 国 回 因: full frames
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    BdfGlyph h = frameGlyph('H', 6, 10, 1, 0);
    h.advance = 8;
    BdfGlyph g = frameGlyph('g', 5, 9, 1, -2); // a descender
    g.advance = 8;
    font.glyphs.push_back(h);
    font.glyphs.push_back(g);
    writeFile(scratch.file("strike.bdf"), font.text());
    const auto source = openOrFail({scratch.file("strike.bdf"), 0, 16, {}});
    ASSERT_TRUE(source);

    hz::DotCell kou, cellH, cellG;
    ASSERT_EQ(source->glyph(U'口', kou), LookupStatus::Found);
    ASSERT_EQ(source->glyph(U'H', cellH), LookupStatus::Found);
    ASSERT_EQ(source->glyph(U'g', cellG), LookupStatus::Found);
    EXPECT_EQ(inkRows(kou)->bottom, 15);
    EXPECT_EQ(inkRows(cellH)->bottom, 13) << picture(cellH); // the row above the baseline
    EXPECT_EQ(inkRows(cellH)->top, 4);
    EXPECT_EQ(inkRows(cellG)->bottom, 15) << picture(cellG); // two rows below it
    // Eight dots of advance fill the eight columns: the frame keeps its own bearing.
    EXPECT_TRUE(cellH.dot(1, 4) && cellH.dot(6, 13) && !cellH.dot(0, 8) && !cellH.dot(7, 8)) << picture(cellH);
}

TEST(FontSourceCharacters, DrawsAnyCharacterTheFontMaps) {
    const auto source = openOrFail({fonts::kZenhei, 0, 20, {}});
    ASSERT_TRUE(source);
    struct Wanted {
        char32_t character;
        WidthClass width;
        const char* what;
    };
    for (const Wanted& w : {Wanted{U'囧', WidthClass::Full, "GBK, not GB2312"},
                            Wanted{U'丂', WidthClass::Full, "the first GBK code"},
                            Wanted{U'國', WidthClass::Full, "traditional"},
                            Wanted{U'體', WidthClass::Full, "traditional"},
                            Wanted{U'℃', WidthClass::Full, "symbol"},
                            Wanted{U'€', WidthClass::Full, "symbol outside code page 936's square"},
                            Wanted{U'5', WidthClass::Half, "digit"},
                            Wanted{U'¥', WidthClass::Half, "narrow sign"},
                            Wanted{U'é', WidthClass::Full, "Latin, ambiguous width"}}) {
        SCOPED_TRACE(w.what);
        hz::DotCell cell;
        ASSERT_EQ(source->glyph(w.character, cell), LookupStatus::Found);
        EXPECT_EQ(cell.widthClass(), w.width);
        EXPECT_GT(cell.inkCount(), 3) << picture(cell);
    }
}

TEST(FontSourceCharacters, ACharacterTheFontLacksIsRefusedAloneAndLeavesTheCell) {
    const auto source = openOrFail({fonts::kZenhei, 0, 16, {}});
    ASSERT_TRUE(source);
    hz::DotCell cell(3, 3);
    EXPECT_EQ(source->glyph(U'\U0001F600', cell), LookupStatus::NotInFont);
    EXPECT_EQ(source->glyph(U'\U00020001', cell), LookupStatus::NotInFont); // an extension B hanzi
    EXPECT_EQ(cell, hz::DotCell(3, 3));
    EXPECT_EQ(source->glyph(U'汉', cell), LookupStatus::Found) << "the next character goes through";

    // A GB2312 bitmap font has no Latin letters.
    const auto strike = openOrFail({fonts::kGuobiao16, 0, 16, {}});
    ASSERT_TRUE(strike);
    EXPECT_EQ(strike->glyph(U'A', cell), LookupStatus::NotInFont);
    EXPECT_EQ(strike->glyph(U'字', cell), LookupStatus::Found);
}

TEST(FontSourceCharacters, AGlyphWithoutABitmapIsUnreadableAndTheOthersGoThrough) {
    TempFolder scratch;
    BdfFont font;
    for (std::uint32_t c : {0x56FDu, 0x56DEu})
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    BdfGlyph broken = frameGlyph(0x554A, 9, 3, 3, 9); // 啊
    broken.bitmapSection = false;
    font.glyphs.push_back(broken);
    writeFile(scratch.file("broken.bdf"), font.text());
    const auto source = openOrFail({scratch.file("broken.bdf"), 0, 16, {}});
    ASSERT_TRUE(source);
    hz::DotCell cell;
    EXPECT_EQ(source->glyph(U'啊', cell), LookupStatus::FontUnreadable);
    EXPECT_EQ(source->glyph(U'国', cell), LookupStatus::Found);
    EXPECT_EQ(cell.inkCount(), 60);
}

// A font without hanzi still serves its own characters, placed by its ascent.
TEST(FontSourceCharacters, ALatinStrikeFontServesItsLetters) {
    TempFolder scratch;
    writeFile(scratch.file("latin.bdf"), latinFont().text());
    const auto source = openOrFail({scratch.file("latin.bdf"), 0, 16, {}});
    ASSERT_TRUE(source);
    hz::DotCell cell;
    ASSERT_EQ(source->glyph(U'A', cell), LookupStatus::Found);
    EXPECT_EQ(inkRows(cell)->bottom, 13) << picture(cell);
    EXPECT_EQ(source->glyph(U'国', cell), LookupStatus::NotInFont);
}

TEST(FontSource, DescribesItselfByFileFaceAndSize) {
    const auto source = openOrFail({fonts::kZenhei, 1, 20, {}});
    ASSERT_TRUE(source);
    EXPECT_EQ(source->description(), "wqy-zenhei.ttc face 1, 20 dots");
    EXPECT_EQ(source->libraryPosition(), -1);
    EXPECT_NE(source->familyName().find("WenQuanYi Zen Hei"), std::string::npos) << source->familyName();
}

TEST(WidthClass, NarrowAndHalfWidthCharactersOnly) {
    using hz::fontsource::widthClassOf;
    for (char32_t c : {U' ', U'A', U'~', U'¢', U'¥', U'₩', U'｡', U'ｱ', U'ﾟ', U'ￜ', U'￨', U'￮'})
        EXPECT_EQ(widthClassOf(c), WidthClass::Half) << static_cast<std::uint32_t>(c);
    for (char32_t c : {U'\u007F', U'°', U'α', U'я', U'中', U'Ａ', U'￠', U'﾿', U'￯', U'℃', U'\u3000'})
        EXPECT_EQ(widthClassOf(c), WidthClass::Full) << static_cast<std::uint32_t>(c);
}

} // namespace
