// Live fonts as glyph sources: what is refused, the cells each character gets, the shared
// baseline of full-width and half-width characters.

#include "bdf_font.h"
#include "cell_text.h"
#include "file_access.h"
#include "process.h"
#include "temp_folder.h"

#include "fontsource/font_source.h"
#include "fontsource/width_class.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
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

std::string told(const hz::Problem& problem) {
    return "problem kind " + std::to_string(static_cast<int>(problem.kind)) + " with " + problem.file + " (" +
           problem.value + ")";
}

std::unique_ptr<FontSource> openOrFail(const FontSpec& fontSpec) {
    auto source = FontSource::open(fontSpec);
    if (!source) {
        ADD_FAILURE() << told(source.problem());
        return nullptr;
    }
    return std::move(*source);
}

using Kind = hz::ProblemKind;

struct Refusal {
    const char* name;
    std::function<FontSpec(const TempFolder&)> fontSpec;
    hz::Problem expected;       // "$" in the file is the scratch folder
    bool freetypeWords = false; // the value holds FreeType's words, whatever they are
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class FontSourceRefusal : public ::testing::TestWithParam<Refusal> {};

// The facts each kind of font problem carries, for the front ends to word.
TEST_P(FontSourceRefusal, OpensNothingAndGivesTheFacts) {
    TempFolder scratch;
    const auto source = FontSource::open(GetParam().fontSpec(scratch));
    ASSERT_FALSE(source);
    hz::Problem expected = GetParam().expected;
    if (auto at = expected.file.find('$'); at != std::string::npos)
        expected.file.replace(at, 1, scratch.path());
    hz::Problem problem = source.problem();
    if (GetParam().freetypeWords) {
        EXPECT_FALSE(problem.value.empty());
        problem.value.clear();
    }
    EXPECT_EQ(problem.kind, expected.kind) << told(problem);
    EXPECT_EQ(problem.file, expected.file);
    EXPECT_EQ(problem.value, expected.value);
    EXPECT_EQ(problem.number, expected.number);
    EXPECT_EQ(problem.count, expected.count);
    EXPECT_EQ(problem.sizes, expected.sizes);
}

BdfFont withRegistry(const std::string& registry) {
    BdfFont font;
    font.registry = registry;
    font.glyphs.push_back(frameGlyph(0x21, 8, 12, 1, 0));
    return font;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FontSourceRefusal,
    ::testing::Values(Refusal{"MissingFile",
                              [](const TempFolder& s) {
                                  return FontSpec{s.file("gone.ttf"), 0, 16, {}};
                              },
                              {.kind = Kind::FontMissing, .file = "$/gone.ttf"}},
                      Refusal{"Folder",
                              [](const TempFolder& s) {
                                  std::filesystem::create_directory(s.file("fonts"));
                                  return FontSpec{s.file("fonts"), 0, 16, {}};
                              },
                              {.kind = Kind::FontIsFolder, .file = "$/fonts"}},
                      // A pipe with no writer must be refused, not waited on.
                      Refusal{"Pipe",
                              [](const TempFolder& s) {
                                  ::mkfifo(s.file("font.fifo").c_str(), 0600);
                                  return FontSpec{s.file("font.fifo"), 0, 16, {}};
                              },
                              {.kind = Kind::FontNotAFile, .file = "$/font.fifo"}},
                      Refusal{"Device",
                              [](const TempFolder&) {
                                  return FontSpec{"/dev/zero", 0, 16, {}};
                              },
                              {.kind = Kind::FontNotAFile, .file = "/dev/zero"}},
                      Refusal{"NotAFont",
                              [](const TempFolder& s) {
                                  writeFile(s.file("notes.ttf"), "these are notes, not a font\n");
                                  return FontSpec{s.file("notes.ttf"), 0, 16, {}};
                              },
                              {.kind = Kind::FontNotRecognised, .file = "$/notes.ttf"},
                              true},
                      Refusal{"TruncatedFont",
                              [](const TempFolder& s) {
                                  writeFile(s.file("cut.ttf"), readFile(fonts::kSong).substr(0, 4096));
                                  return FontSpec{s.file("cut.ttf"), 0, 16, {}};
                              },
                              {.kind = Kind::FontFaceUnreadable, .file = "$/cut.ttf", .number = 0},
                              true},
                      Refusal{"NoSuchFace",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kUming, 9, 16, {}};
                              },
                              {.kind = Kind::FontNoSuchFace, .file = fonts::kUming, .number = 9, .count = 4}},
                      Refusal{"NegativeFace",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kUming, -1, 16, {}};
                              },
                              {.kind = Kind::FontFaceNegative, .file = fonts::kUming, .number = -1}},
                      Refusal{"NoCharacterMapForGb2312",
                              [](const TempFolder& s) {
                                  writeFile(s.file("koi8.bdf"), withRegistry("KOI8").text());
                                  return FontSpec{s.file("koi8.bdf"), 0, 16, {}};
                              },
                              {.kind = Kind::FontNoCharacterMap, .file = "$/koi8.bdf"}},
                      Refusal{"SizeBelowEight",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kZenhei, 0, 7, {}};
                              },
                              {.kind = Kind::FontSizeOutOfRange, .file = fonts::kZenhei, .number = 7}},
                      Refusal{"SizeAboveSixtyFour",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kZenhei, 0, 65, {}};
                              },
                              {.kind = Kind::FontSizeOutOfRange, .file = fonts::kZenhei, .number = 65}},
                      Refusal{"StrikeOfAnotherSize",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kStrike12, 0, 16, {}};
                              },
                              {.kind = Kind::FontNoStrike, .file = fonts::kStrike12, .number = 16, .sizes = {12}}},
                      // 255 would keep no dot, as both programs' option ranges say.
                      Refusal{"Threshold255",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kZenhei, 0, 16, 255};
                              },
                              {.kind = Kind::FontThresholdOutOfRange, .file = fonts::kZenhei, .number = 255}},
                      Refusal{"ThresholdBelowZero",
                              [](const TempFolder&) {
                                  return FontSpec{fonts::kZenhei, 0, 16, -1};
                              },
                              {.kind = Kind::FontThresholdOutOfRange, .file = fonts::kZenhei, .number = -1}},
                      Refusal{"NoFileGiven",
                              [](const TempFolder&) {
                                  return FontSpec{"", 0, 16, {}};
                              },
                              {.kind = Kind::FontNotGiven}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FontSourceRefusals, UnreadableFileGivesTheSystemError) {
    TempFolder scratch;
    const std::string font = scratch.file("locked.ttf");
    writeFile(font, readFile(fonts::kSong).substr(0, 4096));
    std::filesystem::permissions(font, std::filesystem::perms::none);
    WithoutFileAccessOverride withoutOverride;
    ASSERT_TRUE(withoutOverride.active());
    const auto source = FontSource::open({font, 0, 16, {}});
    ASSERT_FALSE(source);
    EXPECT_EQ(source.problem().kind, Kind::FontUnreadable) << told(source.problem());
    EXPECT_EQ(source.problem().file, font);
    EXPECT_EQ(source.problem().systemError, EACCES);
}

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
    for (const Wanted& w :
         {Wanted{U'囧', WidthClass::Full, "GBK, not GB2312"}, Wanted{U'丂', WidthClass::Full, "the first GBK code"},
          Wanted{U'國', WidthClass::Full, "traditional"}, Wanted{U'體', WidthClass::Full, "traditional"},
          Wanted{U'℃', WidthClass::Full, "symbol"},
          Wanted{U'€', WidthClass::Full, "symbol outside code page 936's square"},
          Wanted{U'5', WidthClass::Half, "digit"}, Wanted{U'¥', WidthClass::Half, "narrow sign"},
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
