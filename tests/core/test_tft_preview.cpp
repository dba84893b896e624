#include "core/output/panel_picture.h"

#include <gtest/gtest.h>

#include <string>

namespace hz {
namespace {

Rgb pixel(const RgbImage& image, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x) * 3;
    return {image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]};
}

struct BlendCase {
    const char* background;
    const char* foreground;
    int level;
    int maxLevel;
    const char* want; // worked out by hand: back + (fore - back) * level / max, to the nearest
};

TEST(TftBlend, KnownLevelsGiveTheExactColours) {
    const BlendCase cases[] = {
        {"#000000", "#FFFFFF", 0, 15, "#000000"},
        {"#000000", "#FFFFFF", 1, 15, "#111111"}, // 255 / 15 = 17
        {"#000000", "#FFFFFF", 5, 15, "#555555"},
        {"#000000", "#FFFFFF", 15, 15, "#FFFFFF"},
        {"#000000", "#FFFFFF", 1, 3, "#555555"},
        {"#000000", "#FFFFFF", 2, 3, "#AAAAAA"},
        {"#000000", "#FFFFFF", 128, 255, "#808080"},
        {"#000000", "#FFFFFF", 1, 1, "#FFFFFF"},
        // 16 + 224 * 8/15 = 135.47, 32 + 192 * 8/15 = 134.4, 48 + 160 * 8/15 = 133.33
        {"#102030", "#F0E0D0", 8, 15, "#878685"},
        // 16 + 224 * 7/15 = 120.53 rounds up, 32 + 192 * 7/15 = 121.6, 48 + 160 * 7/15 = 122.67
        {"#102030", "#F0E0D0", 7, 15, "#797A7B"},
        // a dark foreground on a light background: 255 - 255 * 1/3 = 170
        {"#FFFFFF", "#000000", 1, 3, "#AAAAAA"},
        {"#FF0000", "#0000FF", 2, 3, "#5500AA"},
        // out of range: clamped
        {"#000000", "#FFFFFF", 20, 15, "#FFFFFF"},
        {"#000000", "#FFFFFF", -3, 15, "#000000"},
    };
    for (const BlendCase& c : cases) {
        const Rgb got = blendLevel(*parseRgb(c.background), *parseRgb(c.foreground), c.level, c.maxLevel);
        EXPECT_EQ(rgbText(got), c.want) << c.background << " to " << c.foreground << " at " << c.level << "/"
                                        << c.maxLevel;
    }
}

TEST(TftColourText, ReadsOnlyHashAndSixHexDigits) {
    EXPECT_EQ(parseRgb("#ff8000"), (Rgb{0xFF, 0x80, 0x00}));
    EXPECT_EQ(parseRgb("#FF8000"), (Rgb{0xFF, 0x80, 0x00}));
    EXPECT_EQ(parseRgb("#0a0B0c"), (Rgb{0x0A, 0x0B, 0x0C}));
    for (const char* bad : {"", "#", "ff8000", "#ff800", "#ff80000", "#gg0000", "#+f0000", "#-10000", "# f0000",
                            "#0x1234", "red", "＃ff8000"})
        EXPECT_FALSE(parseRgb(bad).has_value()) << bad;
    EXPECT_EQ(rgbText({0x0A, 0xFF, 0x00}), "#0AFF00");
    EXPECT_EQ(parseRgb(rgbText({1, 2, 254})), (Rgb{1, 2, 254}));
}

// A 4-bit glyph with one dot at each of four levels: 15 (full), 8 (the lowest at or above half), 7
// (the highest below it) and 3.
DotCell greyGlyph() {
    DotCell cell = DotCell(8, 8).withDepth(4);
    cell.setLevel(0, 0, 15);
    cell.setLevel(1, 0, 8);
    cell.setLevel(2, 0, 7);
    cell.setLevel(3, 0, 3);
    cell.setLevel(7, 7, 15);
    return cell;
}

TEST(TftPanel, AGreyGlyphKeepsItsLevelsThroughItsBytes) {
    const Layout layout = *parseLayout("columns-lsb-4bpp");
    const std::vector<EncodedGlyph> glyphs = {encodeGlyph(U'字', greyGlyph(), layout)};
    const PanelDots panel = layOutPanel(glyphs, layout, {16, 8});
    EXPECT_EQ(panel.maxLevel, 15);
    EXPECT_EQ(panel.level(0, 0), 15);
    EXPECT_EQ(panel.level(1, 0), 8);
    EXPECT_EQ(panel.level(2, 0), 7);
    EXPECT_EQ(panel.level(3, 0), 3);
    EXPECT_EQ(panel.level(4, 0), 0);
    // The one-bit looks see the dots at or above half level.
    EXPECT_TRUE(panel.dot(1, 0));
    EXPECT_FALSE(panel.dot(2, 0));

    const TftColours colours{{0xF0, 0xE0, 0xD0}, {0x10, 0x20, 0x30}};
    const RgbImage image = renderPanel(panel, PanelLook::ColourTft, 2, colours);
    ASSERT_EQ(image.width, 32);
    EXPECT_EQ(rgbText(pixel(image, 0, 0)), "#F0E0D0");
    EXPECT_EQ(rgbText(pixel(image, 3, 1)), "#878685"); // level 8, every pixel of the block
    EXPECT_EQ(rgbText(pixel(image, 5, 0)), "#797A7B"); // level 7
    EXPECT_EQ(rgbText(pixel(image, 8, 0)), rgbText(blendLevel(colours.background, colours.foreground, 0, 15)));
    EXPECT_EQ(pixel(image, 8, 0), colours.background);
    EXPECT_EQ(pixel(image, 31, 15), colours.background); // off the glyph
}

TEST(TftPanel, AOneBitGlyphIsPureForegroundAndBackground) {
    DotCell cell(16, 16);
    for (auto [x, y] : {std::pair{0, 0}, {9, 1}, {3, 10}, {15, 15}})
        cell.setDot(x, y);
    const Layout layout{Scan::Pages, BitOrder::Lsb};
    const PanelDots panel = layOutPanel(std::vector{encodeGlyph(U'字', cell, layout)}, layout, {32, 16});
    const TftColours colours{{0x12, 0x34, 0x56}, {0xFE, 0xDC, 0xBA}};
    for (int zoom : {1, 3}) {
        const RgbImage image = renderPanel(panel, PanelLook::ColourTft, zoom, colours);
        int foreground = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const Rgb want = panel.dot(x / zoom, y / zoom) ? colours.foreground : colours.background;
                ASSERT_EQ(pixel(image, x, y), want) << x << "," << y << " zoom " << zoom;
                foreground += pixel(image, x, y) == colours.foreground;
            }
        EXPECT_EQ(foreground, 4 * zoom * zoom); // no grid eats into a dot
    }
    // The default colours: white on black.
    const RgbImage plain = renderPanel(panel, PanelLook::ColourTft, 1);
    EXPECT_EQ(pixel(plain, 0, 0), (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(pixel(plain, 1, 0), (Rgb{0, 0, 0}));
}

TEST(TftPanel, TheOneBitLooksDrawAGreyGlyphAsItsHalfLevelShape) {
    const DotCell grey = greyGlyph();
    const Layout greyLayout = *parseLayout("rows-msb-4bpp");
    const Layout oneBit{};
    const PanelDots greyPanel = layOutPanel(std::vector{encodeGlyph(U'字', grey, greyLayout)}, greyLayout, {16, 8});
    const PanelDots shapePanel =
        layOutPanel(std::vector{encodeGlyph(U'字', grey.withDepth(1), oneBit)}, oneBit, {16, 8});
    for (PanelLook look : {PanelLook::BlueOled, PanelLook::GreenStn, PanelLook::WhitePaper})
        for (int zoom : {1, 4})
            EXPECT_TRUE(renderPanel(greyPanel, look, zoom).rgb == renderPanel(shapePanel, look, zoom).rgb)
                << panelLookName(look) << " zoom " << zoom;
}

TEST(TftPanel, PagesAtMoreThanOneBitAreRefused) {
    EXPECT_THROW(layOutPanel({}, *parseLayout("pages-msb-2bpp"), {16, 8}), std::invalid_argument);
}

TEST(TftPanel, TheLookHasItsChineseName) {
    EXPECT_EQ(panelLookName(PanelLook::ColourTft), "彩色TFT");
}

} // namespace
} // namespace hz
