// --traditional on small fonts with known glyphs for simplified and traditional forms.

#include "bdf_font.h"
#include "library_view.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace hz::test;

namespace {

struct Forms {
    BdfFont font;
    // Each glyph is a frame of its own size, so its ink box tells which glyph was drawn.
    static constexpr int kMen = 6, kMenTraditional = 14, kMa = 8, kYi = 10;
};

BdfFont formsFont(const std::string& registry, const std::string& encoding, std::uint32_t men,
                  std::uint32_t menTraditional, std::uint32_t ma, std::uint32_t yi) {
    BdfFont font;
    font.registry = registry;
    font.encoding = encoding;
    font.glyphs = {frameGlyph(men, Forms::kMen, Forms::kMen, 5, 3),
                   frameGlyph(menTraditional, Forms::kMenTraditional, Forms::kMenTraditional, 1, -1),
                   frameGlyph(ma, Forms::kMa, Forms::kMa, 4, 2), // 马 only: 馬 is not in the font
                   frameGlyph(yi, Forms::kYi, Forms::kYi, 3, 1)};
    return font;
}

int drawnWidth(const LibraryView& library, const char* character) {
    const auto box = library.inkBox(gb(character));
    return box ? box->width() : 0;
}

struct FormsCase {
    const char* name;
    BdfFont font;
    int maWidth;       // what 马 shows with --traditional
    int plainMenWidth; // what 门 shows without it
};

void PrintTo(const FormsCase& c, std::ostream* os) {
    *os << c.name;
}

class TraditionalMapping : public ::testing::TestWithParam<FormsCase> {};

TEST_P(TraditionalMapping, DrawsTheTraditionalFormAtTheSimplifiedCode) {
    TempFolder scratch;
    const std::string fontPath = scratch.file("forms.bdf");
    writeFile(fontPath, GetParam().font.text());

    const ProcessResult traditional =
        runMkfont({"--font", fontPath, "--size", "16", "--traditional", "--output", scratch.file("traditional")});
    ASSERT_EQ(traditional.status, 0) << traditional.err;
    const LibraryView library(scratch.file("traditional"), 16);
    EXPECT_EQ(drawnWidth(library, "门"), Forms::kMenTraditional) << library.picture(gb("门"));
    EXPECT_EQ(drawnWidth(library, "马"), GetParam().maWidth) << "a missing traditional form keeps the own glyph";
    EXPECT_EQ(drawnWidth(library, "一"), Forms::kYi) << "a character without a traditional form is itself";

    const ProcessResult plain = runMkfont({"--font", fontPath, "--size", "16", "--output", scratch.file("plain")});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(drawnWidth(LibraryView(scratch.file("plain"), 16), "门"), GetParam().plainMenWidth);
}

// 门 U+95E8, 門 U+9580, 马 U+9A6C, 一 U+4E00. Big5 has only traditional characters: 門 AAF9,
// 一 A440; 门 and 马 have no code there, so those two glyphs are unreachable filler.
INSTANTIATE_TEST_SUITE_P(
    Fonts, TraditionalMapping,
    ::testing::Values(FormsCase{"Unicode", formsFont("ISO10646", "1", 0x95E8, 0x9580, 0x9A6C, 0x4E00), Forms::kMa,
                                Forms::kMen},
                      FormsCase{"Big5", formsFont("BIG5", "0", 0xA140, 0xAAF9, 0xA141, 0xA440), 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

TEST(TraditionalMapping, FallsBackToTheTaiwanStandardVariantBeforeTheOwnGlyph) {
    // The table gives 为 -> 爲; a font made for Taiwan may hold only 為.
    TempFolder scratch;
    BdfFont font;
    font.glyphs = {frameGlyph(0x4E3A, 6, 6, 5, 3), frameGlyph(0x70BA, 12, 12, 2, 0)};
    writeFile(scratch.file("forms.bdf"), font.text());
    const ProcessResult run = runMkfont({"--font", scratch.file("forms.bdf"), "--size", "16", "--traditional",
                                        "--verbose", "--output", scratch.file("library")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(drawnWidth(LibraryView(scratch.file("library"), 16), "为"), 12);
    EXPECT_NE(run.out.find("drawn as its Taiwan-standard variant 為: CEAA 为 (爲)"), std::string::npos) << run.out;
}

} // namespace
