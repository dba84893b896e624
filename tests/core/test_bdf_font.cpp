// The BDF font read back by a reader written from the BDF 2.1 description (tests/support): its
// properties, and every glyph's box and bitmap giving the dots of the cell it was made from.

#include "core/output/bdf_font.h"

#include "bdf_read.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

DotCell randomCell(int width, int height, std::mt19937& random, WidthClass cls = WidthClass::Full) {
    DotCell cell(width, height, cls);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (random() % 4 == 0)
                cell.setDot(x, y);
    return cell;
}

DotCell cellOf(const test::BdfReadGlyph& g, int height, int baseline) {
    DotCell cell(g.dwidth, height);
    for (int r = 0; r < g.height; ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == '#')
                cell.setDot(g.x + c, baseline - (g.y + g.height) + r);
    return cell;
}

struct BdfCase {
    const char* name;
    int size;
    int baseline;
};

void PrintTo(const BdfCase& c, std::ostream* os) {
    *os << c.name;
}

class BdfRoundTrip : public ::testing::TestWithParam<BdfCase> {};

TEST_P(BdfRoundTrip, EveryGlyphReadsBackToItsCell) {
    const BdfCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.size));
    BdfFontInput in;
    in.baseline = c.baseline;
    in.cellHeight = c.size;
    in.family = "wqy-zenhei \"x\"";
    in.description = "wqy-zenhei.ttc face 0, 16 dots";
    const int half = (c.size + 1) / 2;
    std::size_t position = 0;
    in.glyphs.push_back({position++, U' ', DotCell(half, c.size, WidthClass::Half)});
    for (char32_t ch : std::u32string(U"Ag(9"))
        in.glyphs.push_back({position++, ch, randomCell(half, c.size, random, WidthClass::Half)});
    for (char32_t ch : std::u32string(U"字汉\U00020000"))
        in.glyphs.push_back({position++, ch, randomCell(c.size, c.size, random)});
    DotCell corner(c.size, c.size);
    corner.setDot(c.size - 1, c.size - 1);
    in.glyphs.push_back({position++, U'、', corner});

    const test::BdfRead font = test::readBdf(makeBdfFont(in));
    ASSERT_EQ(font.error, "");
    EXPECT_EQ(font.font, "-HzDot-wqy zenhei  x-Medium-R-Normal--" + std::to_string(c.size) + "-" +
                             std::to_string(c.size * 10) + "-72-72-P-" + font.properties.at("AVERAGE_WIDTH") +
                             "-ISO10646-1");
    EXPECT_EQ(font.size, (std::vector<int>{c.size, 72, 72}));
    EXPECT_EQ(font.properties.at("FONT_ASCENT"), std::to_string(c.baseline));
    EXPECT_EQ(font.properties.at("FONT_DESCENT"), std::to_string(c.size - c.baseline));
    EXPECT_EQ(font.properties.at("PIXEL_SIZE"), std::to_string(c.size));
    EXPECT_EQ(font.properties.at("CHARSET_REGISTRY"), "ISO10646");
    EXPECT_EQ(font.properties.at("CHARSET_ENCODING"), "1");
    EXPECT_EQ(font.properties.at("SPACING"), "P");
    EXPECT_EQ(font.properties.at("DEFAULT_CHAR"), "32");
    EXPECT_EQ(font.properties.at("HZDOT_CELL_SIZE"), std::to_string(c.size));
    // The font box holds every glyph box.
    const int boxX = font.box[2], boxY = font.box[3], boxRight = boxX + font.box[0], boxTop = boxY + font.box[1];
    ASSERT_EQ(font.glyphs.size(), in.glyphs.size());
    for (const FontGlyph& glyph : in.glyphs) {
        const auto& g = font.glyphs.at(glyph.character);
        EXPECT_EQ(g.dwidth, glyph.cell.width());
        EXPECT_EQ(g.swidth, (glyph.cell.width() * 1000 + c.size / 2) / c.size);
        EXPECT_GE(g.x, boxX);
        EXPECT_GE(g.y, boxY);
        EXPECT_LE(g.x + g.width, boxRight);
        EXPECT_LE(g.y + g.height, boxTop);
        DotCell expected = glyph.cell;
        expected = DotCell::fromRowBytes(expected.rowBytes(), expected.width(), expected.height());
        EXPECT_EQ(cellOf(g, c.size, c.baseline), expected) << "U+" << std::hex << static_cast<unsigned>(glyph.character);
    }
    // A blank glyph has an empty box and no rows.
    EXPECT_EQ(font.glyphs.at(U' ').width, 0);
    EXPECT_TRUE(font.glyphs.at(U' ').rows.empty());
    EXPECT_EQ(font.glyphs.at(0x20000).name, "u20000");
    EXPECT_EQ(font.glyphs.at(U'字').name, "uni5B57");
}

INSTANTIATE_TEST_SUITE_P(Sizes, BdfRoundTrip,
                         ::testing::Values(BdfCase{"Size12", 12, 10}, BdfCase{"Size16", 16, 14},
                                           BdfCase{"Size16OnBottom", 16, 16}, BdfCase{"Size24", 24, 21},
                                           BdfCase{"Size64", 64, 56}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BdfFont, OneAdvanceMakesACharacterCellFont) {
    BdfFontInput in;
    in.baseline = 14;
    in.cellHeight = 16;
    DotCell cell(16, 16);
    cell.setDot(0, 0);
    in.glyphs = {{0, U'字', cell}, {1, U'汉', cell}};
    const test::BdfRead font = test::readBdf(makeBdfFont(in));
    ASSERT_EQ(font.error, "");
    EXPECT_EQ(font.properties.at("SPACING"), "C");
    EXPECT_EQ(font.properties.at("AVERAGE_WIDTH"), "160");
    // Without a space the default character is a glyph the font has.
    EXPECT_EQ(font.properties.at("DEFAULT_CHAR"), std::to_string(0x5B57));
    EXPECT_EQ(font.properties.at("FAMILY_NAME"), "HzDot");
}

TEST(BdfFont, EmptyFontIsWellFormed) {
    BdfFontInput in;
    in.baseline = 16;
    in.cellHeight = 16;
    const test::BdfRead font = test::readBdf(makeBdfFont(in));
    EXPECT_EQ(font.error, "");
    EXPECT_TRUE(font.glyphs.empty());
}

} // namespace
} // namespace hz
