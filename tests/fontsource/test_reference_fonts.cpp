// Installed fonts drawn at a paste's cell sizes, as extra faces for layout detection.

#include "cell_text.h"

#include "fontsource/reference_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

namespace {

using hz::CellSize;
using hz::fontsource::ReferenceFont;
using hz::fontsource::referenceFonts;
using hz::fontsource::referenceGlyphs;

struct Box {
    int left = 99, top = 99, right = -1, bottom = -1;
};

Box inkBox(const hz::DotCell& cell) {
    Box box;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.dot(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

TEST(ReferenceFonts, OneFaceAFileOfTheInstalledChineseFonts) {
    const auto& fonts = referenceFonts();
    ASSERT_FALSE(fonts.empty());
    for (const std::string& file : {fonts::kZenhei, fonts::kUming, fonts::kSong, fonts::kKai}) {
        const auto found =
            std::count_if(fonts.begin(), fonts.end(), [&](const ReferenceFont& f) { return f.file == file; });
        EXPECT_EQ(found, 1) << file;
    }
    // A collection is represented by its first face.
    const auto zenhei =
        std::find_if(fonts.begin(), fonts.end(), [](const ReferenceFont& f) { return f.file == fonts::kZenhei; });
    ASSERT_NE(zenhei, fonts.end());
    EXPECT_EQ(zenhei->face, 0);
}

TEST(ReferenceFonts, DrawsTheCharacterInEveryCellItFitsWithItsInkCentred) {
    const std::vector<ReferenceFont> fonts{{fonts::kSong, 0}, {fonts::kZenhei, 0}};
    const std::vector<CellSize> cells{{16, 16}, {24, 24}, {40, 40}, {9, 17}};
    // A hanzi fits no half-width cell: only the square cells get it, a letter every cell.
    ASSERT_EQ(referenceGlyphs(U'我', cells, fonts).size(), (cells.size() - 1) * fonts.size());
    const auto glyphs = referenceGlyphs(U'A', cells, fonts);
    ASSERT_EQ(glyphs.size(), cells.size() * fonts.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const hz::DotCell& glyph = glyphs[i];
        const CellSize& cell = cells[i / fonts.size()];
        EXPECT_EQ(glyph.width(), cell.width);
        EXPECT_EQ(glyph.height(), cell.height);
        const Box box = inkBox(glyph);
        ASSERT_GE(box.right, 0) << "no ink in a " << cell.width << "x" << cell.height << " cell";
        // Centred within a dot either way, and drawn at the cell's height or a little less.
        EXPECT_LE(std::abs(box.left - (cell.width - 1 - box.right)), 1) << picture(glyph);
        EXPECT_LE(std::abs(box.top - (cell.height - 1 - box.bottom)), 1) << picture(glyph);
        EXPECT_GE(box.bottom - box.top + 1, cell.height / 2) << picture(glyph);
    }
}

TEST(ReferenceFonts, PassesOverFontsThatCannotDrawTheCharacter) {
    const std::vector<CellSize> cell{{16, 16}};
    // A missing file, a bitmap font without a 16-dot strike, and a font without the character.
    EXPECT_TRUE(referenceGlyphs(U'我', cell, std::vector<ReferenceFont>{{"/nonexistent/font.ttf", 0}}).empty());
    EXPECT_TRUE(referenceGlyphs(U'我', cell, std::vector<ReferenceFont>{{fonts::kStrike12, 0}}).empty());
    EXPECT_TRUE(referenceGlyphs(U'\U0001F600', cell, std::vector<ReferenceFont>{{fonts::kSong, 0}}).empty());
    // A blank glyph is no face to compare with.
    EXPECT_TRUE(referenceGlyphs(U' ', cell, std::vector<ReferenceFont>{{fonts::kZenhei, 0}}).empty());
    // The same calls again are answered from the faces kept open, the same way.
    const std::vector<ReferenceFont> kai{{fonts::kKai, 0}};
    EXPECT_EQ(referenceGlyphs(U'永', cell, kai), referenceGlyphs(U'永', cell, kai));
}

} // namespace
