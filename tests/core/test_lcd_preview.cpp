#include "png_read.h"
#include "core/output/panel_picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace hz {
namespace {

// An asymmetric glyph: a mirror, a flip, a swapped bit order or a page mix-up would move a dot.
// Dots at (0,0), (9,1), (3,10), (15,15) of a 16x16 cell, and a 3-dot bar at row 5, columns 6..8.
DotCell flagGlyph() {
    DotCell cell(16, 16);
    for (auto [x, y] : {std::pair{0, 0}, {9, 1}, {3, 10}, {15, 15}, {6, 5}, {7, 5}, {8, 5}})
        cell.setDot(x, y);
    return cell;
}

// Glyphs of a character with no word space in it, one a cell.
std::vector<EncodedGlyph> encodeAll(std::span<const DotCell> cells, const Layout& layout) {
    std::vector<EncodedGlyph> glyphs;
    for (const DotCell& cell : cells)
        glyphs.push_back(encodeGlyph(U'字', cell, layout));
    return glyphs;
}

std::vector<std::pair<int, int>> litDots(const PanelDots& panel) {
    std::vector<std::pair<int, int>> dots;
    for (int y = 0; y < panel.size.height; ++y)
        for (int x = 0; x < panel.size.width; ++x)
            if (panel.dot(x, y))
                dots.emplace_back(x, y);
    return dots;
}

// Bytes written out by hand for an 8x16 glyph with dots at (1,0), (6,2) and (7,12), one scan kind
// each, placed after a blank glyph: they must land on the same panel dots.
TEST(PreviewFromBytes, EachScanKindLandsOnTheRightDots) {
    struct Case {
        Layout layout;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {{Scan::Rows, BitOrder::Msb}, {0x40, 0, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0}},
        {{Scan::Columns, BitOrder::Lsb}, {0, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x04, 0, 0, 0x10}},
        {{Scan::Pages, BitOrder::Msb}, {0, 0x80, 0, 0, 0, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0x08}},
    };
    for (const Case& c : cases) {
        const std::vector<EncodedGlyph> glyphs = {{std::vector<std::uint8_t>(16), 8, 16}, {c.bytes, 8, 16}};
        const PanelDots panel = layOutPanel(glyphs, c.layout, {128, 32});
        const std::vector<std::pair<int, int>> want = {{9, 0}, {14, 2}, {15, 12}};
        EXPECT_EQ(litDots(panel), want) << layoutName(c.layout);
    }
}

class PreviewLayouts : public ::testing::TestWithParam<int> {};

// Each of the 48 layouts: the glyph comes back from its bytes onto exactly its own dots, after a
// first glyph that pushes it 16 dots right.
TEST_P(PreviewLayouts, AKnownGlyphLandsOnItsDots) {
    const Layout layout = Layout::fromIndex(GetParam());
    const DotCell blank(16, 16);
    const std::vector<DotCell> cells = {blank, flagGlyph()};
    const PanelDots panel = layOutPanel(encodeAll(cells, layout), layout, {128, 32});
    const std::vector<std::pair<int, int>> want = {{16, 0}, {25, 1}, {22, 5}, {23, 5}, {24, 5}, {19, 10}, {31, 15}};
    EXPECT_EQ(litDots(panel), want) << layoutName(layout);
    EXPECT_EQ(panel.glyphsShown, 2);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, PreviewLayouts, ::testing::Range(0, Layout::kCount));

TEST(PreviewWrapping, AGlyphThatDoesNotFitTheLineStartsTheNext) {
    DotCell full(16, 16);
    full.setDot(0, 0);
    DotCell half(8, 16, WidthClass::Half);
    half.setDot(0, 0);
    // 7 full glyphs and a half one fill 120 of 128 dots; the next full one goes to the next line.
    std::vector<DotCell> cells(7, full);
    cells.push_back(half);
    cells.push_back(full);
    cells.push_back(half);
    const PanelDots panel = layOutPanel(encodeAll(cells, Layout{}), Layout{}, {128, 32});
    EXPECT_TRUE(panel.dot(112, 0));
    EXPECT_FALSE(panel.dot(120, 0));
    EXPECT_TRUE(panel.dot(0, 16));
    EXPECT_TRUE(panel.dot(16, 16));
    EXPECT_EQ(litDots(panel).size(), 10u);
    EXPECT_EQ(panel.glyphsShown, 10);
}

TEST(PreviewWrapping, WhatFallsOffThePanelIsCutAndNotCounted) {
    DotCell corner(24, 24);
    corner.setDot(23, 23);
    corner.setDot(0, 0);
    // 128x32: five 24-dot glyphs a line (120 dots), the second line only 8 rows high.
    const std::vector<DotCell> cells(12, corner);
    const PanelDots panel = layOutPanel(encodeAll(cells, Layout{}), Layout{}, {128, 32});
    EXPECT_EQ(panel.glyphsShown, 5);
    EXPECT_TRUE(panel.dot(0, 24));   // second line's first glyph, its top row shown
    EXPECT_FALSE(panel.dot(120, 0)); // nothing in the 8 dots left at the line's end
    EXPECT_EQ(litDots(panel).size(), 5u * 2 + 5u);

    // A glyph wider than the panel is cut at its edge and still moves the next one down.
    const PanelDots narrow = layOutPanel(encodeAll(std::vector<DotCell>{corner, corner}, Layout{}), Layout{}, {20, 64});
    EXPECT_TRUE(narrow.dot(0, 0));
    EXPECT_TRUE(narrow.dot(0, 24));
    EXPECT_EQ(narrow.glyphsShown, 0);
}

// A text written as a script of glyphs, each with one dot at its top left so that where it lands
// shows: a letter is a 16x16 glyph, 'h' an 8x16 one, '_' a blank 16x16 ideographic space, ' ' a blank
// 8x16 space, '\n' a line break.
std::vector<EncodedGlyph> script(std::string_view text) {
    std::vector<EncodedGlyph> glyphs;
    for (char c : text) {
        if (c == '\n') {
            glyphs.push_back(lineBreakGlyph());
            continue;
        }
        const bool half = c == 'h' || c == ' ';
        DotCell cell(half ? 8 : 16, 16, half ? WidthClass::Half : WidthClass::Full);
        if (c != ' ' && c != '_')
            cell.setDot(0, 0);
        const char32_t character = c == '_' ? U'\u3000' : static_cast<char32_t>(c);
        glyphs.push_back(encodeGlyph(character, cell, Layout{}));
    }
    return glyphs;
}

struct RowCase {
    std::string_view text;
    int spacing;
    std::vector<std::pair<int, int>> corners; // the top left of each glyph with a dot, in reading order
};

// On a 64x64 panel, four 16-dot glyphs a row.
TEST(PreviewRows, LineBreaksSpacingAndWrapsPlaceEachGlyph) {
    const RowCase cases[] = {
        {"ab\ncd", 0, {{0, 0}, {16, 0}, {0, 16}, {16, 16}}},
        {"ab\ncd", 3, {{0, 0}, {16, 0}, {0, 19}, {16, 19}}},
        {"a\n\nb", 0, {{0, 0}, {0, 32}}},                             // an empty line is an empty row
        {"abcd\ne", 0, {{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}}}, // a full row then a break: no blank row
        {"abcde", 5, {{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 21}}},   // a wrap is spaced like a break
        {"abcd_e", 0, {{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}}},  // the space that broke the row is dropped
        {"abc__d", 0, {{0, 0}, {16, 0}, {32, 0}, {0, 16}}},           // a space that fits stays; the next breaks
        {"abcd  e", 0, {{0, 0}, {16, 0}, {32, 0}, {48, 0}, {8, 16}}}, // only the breaking space is dropped
        {"abch e", 0, {{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}}},  // a half space fits the last 8 dots
        {"a\n_b", 0, {{0, 0}, {16, 16}}},                             // a space after a break is kept
    };
    for (const RowCase& c : cases) {
        const PanelDots panel = layOutPanel(script(c.text), Layout{}, {64, 64}, c.spacing);
        std::vector<std::pair<int, int>> got = litDots(panel);
        std::vector<std::pair<int, int>> want = c.corners;
        std::sort(want.begin(), want.end(),
                  [](auto a, auto b) { return std::pair(a.second, a.first) < std::pair(b.second, b.first); });
        EXPECT_EQ(got, want) << c.text << " spacing " << c.spacing;
    }
}

TEST(PreviewRows, ADroppedSpaceCountsAsShownAndRowsBelowThePanelAreCut) {
    // Four glyphs, the dropped space and the fifth glyph: nothing is missing from the picture.
    EXPECT_EQ(layOutPanel(script("abcd_e"), Layout{}, {64, 64}).glyphsShown, 6);
    // 64x32 with 8 dots between rows: the second row shows its top 8 rows only, the third none.
    const PanelDots cut = layOutPanel(script("a\nb\nc"), Layout{}, {64, 32}, 8);
    EXPECT_EQ(litDots(cut), (std::vector<std::pair<int, int>>{{0, 0}, {0, 24}}));
    EXPECT_EQ(cut.glyphsShown, 1);

    for (int bad : {-1, kMaxLineSpacing + 1})
        EXPECT_THROW(layOutPanel(script("a"), Layout{}, {64, 64}, bad), std::invalid_argument) << bad;
}

TEST(PreviewPicture, DotsBecomeZoomedBlocksWithAGridOnTheLcdLooks) {
    PanelDots panel;
    panel.size = {2, 1};
    panel.lit = {1, 0};
    const RgbImage oled = renderPanel(panel, PanelLook::BlueOled, 3);
    ASSERT_EQ(oled.width, 6);
    ASSERT_EQ(oled.height, 3);
    const auto pixel = [](const RgbImage& image, int x, int y) {
        const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x) * 3;
        return Rgb{image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
    };
    const PanelColours blue = panelColours(PanelLook::BlueOled);
    EXPECT_EQ(pixel(oled, 0, 0), blue.lit);
    EXPECT_EQ(pixel(oled, 1, 1), blue.lit);
    EXPECT_EQ(pixel(oled, 2, 0), blue.gap);
    EXPECT_EQ(pixel(oled, 0, 2), blue.gap);
    EXPECT_EQ(pixel(oled, 3, 0), blue.unlit);

    // No grid on paper, nor below zoom 3.
    const RgbImage paper = renderPanel(panel, PanelLook::WhitePaper, 3);
    EXPECT_EQ(pixel(paper, 2, 2), panelColours(PanelLook::WhitePaper).lit);
    const RgbImage small = renderPanel(panel, PanelLook::GreenStn, 2);
    EXPECT_EQ(pixel(small, 1, 1), panelColours(PanelLook::GreenStn).lit);

    EXPECT_THROW(renderPanel(panel, PanelLook::BlueOled, 0), std::invalid_argument);
    EXPECT_THROW(renderPanel(panel, PanelLook::BlueOled, 9), std::invalid_argument);
}

TEST(PreviewPicture, PngHoldsExactlyThePixels) {
    const std::vector<DotCell> cells = {flagGlyph(), flagGlyph()};
    const Layout pages{Scan::Pages, BitOrder::Lsb};
    const PanelDots panel = layOutPanel(encodeAll(cells, pages), pages, {128, 64});
    for (PanelLook look : {PanelLook::BlueOled, PanelLook::GreenStn, PanelLook::WhitePaper}) {
        const RgbImage image = renderPanel(panel, look, 4);
        const std::string file = encodePng(image);
        ASSERT_EQ(file.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
        const RgbImage back = readPng(file);
        EXPECT_EQ(back.width, 512);
        EXPECT_EQ(back.height, 256);
        EXPECT_TRUE(back.rgb == image.rgb) << panelLookName(look);
    }
    EXPECT_EQ(previewPng(encodeAll(cells, pages), pages, {128, 64}, 0, PanelLook::BlueOled, 4),
              encodePng(renderPanel(panel, PanelLook::BlueOled, 4)));
    EXPECT_THROW(encodePng(RgbImage{}), std::invalid_argument);
    EXPECT_THROW(encodePng(RgbImage{2, 2, std::vector<std::uint8_t>(11)}), std::invalid_argument);
}

TEST(PreviewPanelSize, ReadsWidthByHeightWithinLimits) {
    EXPECT_EQ(parsePanelSize("128x64"), (PanelSize{128, 64}));
    EXPECT_EQ(parsePanelSize("320X240"), (PanelSize{320, 240}));
    EXPECT_EQ(parsePanelSize("1024x1"), (PanelSize{1024, 1}));
    for (const char* bad :
         {"", "128", "x64", "128x", "0x64", "128x0", "1025x8", "+8x8", "8x-8", "8 x8", "8x8 ", "8x8x8"})
        EXPECT_EQ(parsePanelSize(bad), std::nullopt) << bad;
}

} // namespace
} // namespace hz
