// The u8g2 font against a reader written from u8g2's font format description (tests/support):
// every glyph decodes, by a walk over the whole font and by the lookup a drawing library makes, to
// the dots of the cell it was made from, on the same baseline.

#include "core/output/u8g2_font.h"

#include "process.h"
#include "temp_folder.h"
#include "u8g2_decode.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

DotCell randomCell(int width, int height, std::mt19937& random, int percent, WidthClass cls = WidthClass::Full) {
    DotCell cell(width, height, cls);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (static_cast<int>(random() % 100) < percent)
                cell.setDot(x, y);
    return cell;
}

// The cell a decoded glyph stands for: its advance wide, `height` high, the box placed on the
// baseline `baseline` rows down.
DotCell cellOf(const test::U8g2Glyph& g, int height, int baseline) {
    DotCell cell(g.advance, height);
    for (int r = 0; r < g.height; ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == '#')
                cell.setDot(g.x + c, baseline - (g.y + g.height) + r);
    return cell;
}

std::string picture(const DotCell& cell) {
    std::string text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x)
            text += cell.dot(x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

// Every glyph of the input is in the font, found both ways, with its cell's dots.
void expectRoundTrip(const U8g2FontInput& in, const U8g2Font& font) {
    const test::U8g2Decoded decoded = test::decodeU8g2(font.bytes);
    ASSERT_EQ(decoded.error, "");
    std::size_t expected = 0;
    for (const FontGlyph& glyph : in.glyphs) {
        bool left = false;
        for (const auto& l : font.leftOut)
            left = left || l.character == glyph.character;
        if (left)
            continue;
        ++expected;
        const auto walked = decoded.glyphs.find(glyph.character);
        ASSERT_NE(walked, decoded.glyphs.end()) << "U+" << std::hex << static_cast<unsigned>(glyph.character);
        const auto looked = test::lookUpU8g2(font.bytes, glyph.character);
        ASSERT_TRUE(looked.has_value()) << "U+" << std::hex << static_cast<unsigned>(glyph.character);
        EXPECT_EQ(looked->rows, walked->second.rows);
        EXPECT_EQ(picture(cellOf(walked->second, glyph.cell.height(), in.baseline)), picture(glyph.cell))
            << "U+" << std::hex << static_cast<unsigned>(glyph.character);
    }
    EXPECT_EQ(decoded.glyphs.size(), expected);
    EXPECT_EQ(font.glyphCount, expected);
}

struct FontCase {
    const char* name;
    int size;
    int baseline;
    int percent; // of dots set
};

void PrintTo(const FontCase& c, std::ostream* os) {
    *os << c.name;
}

class U8g2RoundTrip : public ::testing::TestWithParam<FontCase> {};

// Hanzi, half-width letters (with 'A' and 'a', whose offsets the header keeps), a blank space,
// a glyph with a single dot in a corner, one full cell, and one under the baseline.
TEST_P(U8g2RoundTrip, EveryGlyphDecodesToItsCell) {
    const FontCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.size * 31 + c.percent));
    U8g2FontInput in;
    in.baseline = c.baseline;
    const int half = (c.size + 1) / 2;
    std::size_t position = 0;
    for (char32_t ch : std::u32string(U" !(,09@AZ[agz~\u00B0")) {
        DotCell cell = ch == U' ' ? DotCell(half, c.size, WidthClass::Half)
                                  : randomCell(half, c.size, random, c.percent, WidthClass::Half);
        in.glyphs.push_back({position++, ch, cell});
    }
    for (char32_t ch : std::u32string(U"一丁汉字点阵龘")) {
        in.glyphs.push_back({position++, ch, randomCell(c.size, c.size, random, c.percent)});
    }
    DotCell corner(c.size, c.size);
    corner.setDot(c.size - 1, c.size - 1);
    in.glyphs.push_back({position++, U'\u3001', corner});
    DotCell full(c.size, c.size);
    for (int y = 0; y < c.size; ++y)
        full.setRow(y, rowMask(c.size));
    in.glyphs.push_back({position++, U'\u25A0', full});
    // Many glyphs: several blocks of the lookup table, and more than the header's count byte holds.
    for (char32_t ch = 0x4E10; ch < 0x4E10 + 300; ++ch)
        in.glyphs.push_back({position++, ch, randomCell(c.size, c.size, random, c.percent / 2)});

    const U8g2Font font = makeU8g2Font(in);
    EXPECT_TRUE(font.leftOut.empty());
    expectRoundTrip(in, font);
}

INSTANTIATE_TEST_SUITE_P(Sizes, U8g2RoundTrip,
                         ::testing::Values(FontCase{"Size12", 12, 10, 30}, FontCase{"Size16", 16, 14, 20},
                                           FontCase{"Size16OnBottom", 16, 16, 40},
                                           FontCase{"Size24", 24, 20, 10}, FontCase{"Size32Sparse", 32, 28, 3},
                                           FontCase{"Size9Odd", 9, 7, 50}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(U8g2Font, HeaderTellsTheReferenceLettersAndTheFontBox) {
    // 'A' four rows on the line, 'g' one row under it, '(' from two above to one under.
    U8g2FontInput in;
    in.baseline = 6;
    DotCell a(4, 8, WidthClass::Half), g(4, 8, WidthClass::Half), paren(4, 8, WidthClass::Half);
    for (int y = 2; y < 6; ++y)
        a.setDot(1, y);
    g.setDot(0, 6);
    g.setDot(0, 3);
    paren.setDot(2, 0);
    paren.setDot(2, 6);
    in.glyphs = {{0, U'A', a}, {1, U'g', g}, {2, U'(', paren}};
    const test::U8g2Decoded d = test::decodeU8g2(makeU8g2Font(in).bytes);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.header.mode, 0);
    EXPECT_EQ(d.header.ascentA, 4);
    EXPECT_EQ(d.header.descentG, -1);
    EXPECT_EQ(d.header.ascentParen, 6);
    EXPECT_EQ(d.header.descentParen, -1);
    // The box covers the cells: 4 wide, from 2 under the line to 6 above.
    EXPECT_EQ(d.header.boxWidth, 4);
    EXPECT_EQ(d.header.boxHeight, 8);
    EXPECT_EQ(d.header.boxX, 0);
    EXPECT_EQ(d.header.boxY, -2);
    // 'a' is missing: its offset is the end of the glyphs below U+0100, where a search stops.
    EXPECT_FALSE(test::lookUpU8g2(makeU8g2Font(in).bytes, U'a').has_value());
    EXPECT_FALSE(test::lookUpU8g2(makeU8g2Font(in).bytes, U'B').has_value());
}

TEST(U8g2Font, HanziOnlyFontTakesItsAscentFromTheFontBox) {
    U8g2FontInput in;
    in.baseline = 14;
    DotCell cell(16, 16);
    cell.setDot(3, 4);
    in.glyphs = {{0, U'字', cell}};
    const test::U8g2Decoded d = test::decodeU8g2(makeU8g2Font(in).bytes);
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.header.ascentA, 14);
    EXPECT_EQ(d.header.descentG, -2);
}

TEST(U8g2Font, GlyphsItCannotHoldAreLeftOutAndNamed) {
    std::mt19937 random(7);
    U8g2FontInput in;
    in.baseline = 56;
    DotCell frame(64, 64);
    for (int i = 0; i < 64; ++i) {
        frame.setDot(i, 0);
        frame.setDot(i, 63);
        frame.setDot(0, i);
        frame.setDot(63, i);
    }
    in.glyphs.push_back({0, U'口', frame});
    // Noise has a run pair every two dots or so: far beyond 255 bytes.
    in.glyphs.push_back({1, U'龘', randomCell(64, 64, random, 50)});
    in.glyphs.push_back({2, U'\U00020000', frame});
    const U8g2Font font = makeU8g2Font(in);
    ASSERT_EQ(font.leftOut.size(), 2U);
    EXPECT_EQ(font.leftOut[0].position, 1U);
    EXPECT_EQ(font.leftOut[0].reason, U8g2Refusal::TooLarge);
    EXPECT_GT(font.leftOut[0].bytes, kU8g2MaxGlyphBytes);
    EXPECT_EQ(font.leftOut[1].position, 2U);
    EXPECT_EQ(font.leftOut[1].reason, U8g2Refusal::BeyondBmp);
    expectRoundTrip(in, font);
}

TEST(U8g2Font, EmptyFontIsWellFormed) {
    const U8g2Font font = makeU8g2Font({});
    const test::U8g2Decoded d = test::decodeU8g2(font.bytes);
    EXPECT_EQ(d.error, "");
    EXPECT_TRUE(d.glyphs.empty());
    EXPECT_FALSE(test::lookUpU8g2(font.bytes, U'字').has_value());
}

// The C file compiles as C99 with every warning an error, with and without u8g2's own section
// macro, and holds the font's bytes.
TEST(U8g2Font, CFileCompilesAndHoldsTheBytes) {
    std::mt19937 random(3);
    U8g2FontInput in;
    in.baseline = 14;
    in.glyphs = {{0, U'A', randomCell(8, 16, random, 30, WidthClass::Half)},
                 {1, U'字', randomCell(16, 16, random, 30)}};
    const U8g2Font font = makeU8g2Font(in);
    const std::string text = u8g2CText(font, "my_font_16", "a */ tricky ?\?/ name\\");
    EXPECT_EQ(test::bytesOfCArray(text), font.bytes);
    test::TempFolder dir;
    test::writeFile(dir.file("font.c"), text);
    test::writeFile(dir.file("main.c"),
                    "#include <stdint.h>\nextern const uint8_t my_font_16[];\n"
                    "int main(void) { return my_font_16[0] == " + std::to_string(font.bytes[0]) + " ? 0 : 1; }\n");
    // As C99 on its own and with u8g2's section macro defined; as C++, as some firmware builds it.
    const std::string section = "-DU8G2_FONT_SECTION(name)=__attribute__((section(\".rodata.\" name)))";
    const std::vector<std::vector<std::string>> compilers = {
        {"cc", "-std=c99"}, {"cc", "-std=c99", section}, {"c++", "-x", "c++", "-std=c++17"}};
    for (const auto& compiler : compilers) {
        test::ProcessCall build;
        build.command = compiler;
        build.command.insert(build.command.end(),
                             {"-O2", "-Wall", "-Wextra", "-Werror", "-pedantic", "-o", dir.file("font_test")});
        build.command.push_back(dir.file("font.c"));
        build.command.push_back(dir.file("main.c"));
        const auto built = test::runProcess(build);
        ASSERT_EQ(built.status, 0) << built.out << built.err;
        test::ProcessCall run;
        run.command = {dir.file("font_test")};
        EXPECT_EQ(test::runProcess(run).status, 0);
    }
}

} // namespace
} // namespace hz
