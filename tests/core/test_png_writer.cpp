// The preview's PNG files: a palette in as few bits as hold the picture's colours, and exactly the
// pixels it was given, read back by libpng, an independent decoder.
#include "png_read.h"
#include "core/output/panel_picture.h"
#include "core/output/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <random>
#include <stdexcept>

namespace hz {
namespace {

// The same picture as an 8-bit RGB file, the form previews were written in before, by libpng.
std::string truecolourFile(const RgbImage& picture) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    std::string file(size, '\0');
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    file.resize(size);
    return file;
}

// A picture of `colours` colours in blocks: rows come in pairs, the second like the first, and the
// pixels of a row in runs of random length, so that both kinds of row and every bit position occur.
RgbImage blockPicture(int width, int height, int colours, unsigned seed) {
    std::mt19937 random(seed);
    RgbImage image{width, height, {}};
    const auto colourOf = [](int n) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(n * 37), static_cast<std::uint8_t>(n / 7),
                                           static_cast<std::uint8_t>(255 - n % 256)};
    };
    int next = 0; // every colour shows at least once, in order, then at random
    for (int y = 0; y < height; ++y) {
        if (y % 2 == 1) {
            image.rgb.insert(image.rgb.end(), image.rgb.end() - width * 3, image.rgb.end());
            continue;
        }
        for (int x = 0; x < width;) {
            const int n = next < colours ? next++ : static_cast<int>(random() % static_cast<unsigned>(colours));
            for (int run = 1 + static_cast<int>(random() % 4); run > 0 && x < width; --run, ++x) {
                const auto c = colourOf(n);
                image.rgb.insert(image.rgb.end(), c.begin(), c.end());
            }
        }
    }
    return image;
}

struct PictureRow {
    int width;
    int height;
    int colours; // all show: rows of a few hundred pixels show a hundred or so
    int bitDepth;
    int colourType; // 3 palette, 2 RGB
};

class PngPictures : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PngPictures, PaletteInFewestBitsAndThePixelsAsGiven) {
    const PictureRow& row = GetParam();
    const RgbImage image = blockPicture(row.width, row.height, row.colours, 11);
    const std::string file = encodePng(image);
    ASSERT_GT(file.size(), 33u);
    ASSERT_EQ(file.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
    ASSERT_EQ(file.compare(12, 4, "IHDR"), 0);
    EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(file[24])), row.bitDepth);
    EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(file[25])), row.colourType);
    // The palette holds each colour once; an RGB file has none.
    const std::size_t palette = file.find("PLTE");
    if (row.colourType == 3) {
        ASSERT_NE(palette, std::string::npos);
        const auto* length = reinterpret_cast<const unsigned char*>(file.data() + palette - 4);
        EXPECT_EQ(length[0] << 24 | length[1] << 16 | length[2] << 8 | length[3], 3 * row.colours);
    } else {
        EXPECT_EQ(palette, std::string::npos);
    }

    const RgbImage back = readPng(file);
    EXPECT_EQ(back.width, row.width);
    EXPECT_EQ(back.height, row.height);
    EXPECT_TRUE(back.rgb == image.rgb);
    EXPECT_TRUE(readPng(truecolourFile(image)).rgb == back.rgb);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngPictures,
                         ::testing::Values(PictureRow{1, 1, 1, 1, 3},      // one pixel
                                           PictureRow{9, 3, 2, 1, 3},      // eight a byte, one over
                                           PictureRow{7, 4, 3, 2, 3},      // four a byte, three in the last
                                           PictureRow{8, 2, 4, 2, 3},      //
                                           PictureRow{13, 5, 5, 4, 3},     // two a byte, one in the last
                                           PictureRow{64, 6, 16, 4, 3},    //
                                           PictureRow{31, 6, 17, 8, 3},    // a byte a pixel
                                           PictureRow{256, 8, 256, 8, 3},  // the most a palette holds
                                           PictureRow{300, 9, 257, 8, 2}), // one too many: RGB
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) + "_" +
                                    std::to_string(info.param.colours) + "Colours";
                         });

// A preview as the command line and the window write it: the panel's two or three colours in a
// palette, the same pixels as the picture drawn, and as the RGB file of before.
TEST(PngPreview, SamePixelsAsTheRgbFileOfBefore) {
    DotCell glyph(16, 16);
    for (int i = 0; i < 16; ++i) {
        glyph.setDot(i, i);
        glyph.setDot(15 - i, i);
        glyph.setDot(i, 7);
    }
    const Layout rows{};
    const std::vector<EncodedGlyph> glyphs(60, encodeGlyph(U'米', glyph, rows));
    const PanelDots panel = layOutPanel(glyphs, rows, {240, 128});
    for (PanelLook look : {PanelLook::BlueOled, PanelLook::GreenStn, PanelLook::WhitePaper})
        for (int zoom : {1, 3, 4}) {
            SCOPED_TRACE(std::string(panelLookName(look)) + " zoom " + std::to_string(zoom));
            const RgbImage image = renderPanel(panel, look, zoom);
            const std::string file = encodePng(image);
            EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(file[25])), 3);
            const std::string before = truecolourFile(image);
            EXPECT_TRUE(readPng(file).rgb == readPng(before).rgb);
        }
}

// A picture of palette numbers makes the same file as its RGB pixels: its colours numbered in the
// order they first show, a colour two numbers name given once, a number never used left out.
TEST(PngIndexed, SameFileAsItsColours) {
    std::mt19937 random(5);
    for (const int colours : {1, 2, 3, 5, 16, 17, 200}) {
        IndexedImage image{37, 12, {}, {}};
        for (int n = 0; n < colours; ++n)
            image.palette.push_back(static_cast<std::uint32_t>(random() & 0xFFFFFF));
        image.palette.push_back(image.palette.front()); // named twice
        image.palette.push_back(0x123456);              // never used
        const auto used = static_cast<unsigned>(colours + 1);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.pixels.push_back(y % 3 == 2 ? image.pixels[image.pixels.size() - 37]
                                                  : static_cast<std::uint8_t>(used - 1 - random() % used));
        SCOPED_TRACE(std::to_string(colours) + " colours");
        const RgbImage rgb = rgbImage(image);
        EXPECT_EQ(encodePng(image), encodePng(rgb));
        EXPECT_TRUE(readPng(encodePng(image)).rgb == rgb.rgb);
    }
}

TEST(PngIndexed, PanelsOfEveryLookAndZoomAsTheirColours) {
    DotCell glyph(16, 16);
    for (int i = 0; i < 16; ++i) {
        glyph.setDot(i, i);
        glyph.setDot(i, 3);
    }
    const Layout rows{};
    const std::vector<EncodedGlyph> glyphs(9, encodeGlyph(U'米', glyph, rows));
    Layout grey{};
    grey.bpp = 4;
    DotCell shades = DotCell(16, 16).withDepth(4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            shades.setLevel(x, y, (x + y) % 16);
    const std::vector<EncodedGlyph> greyGlyphs(5, encodeGlyph(U'米', shades, grey));
    const PanelDots panels[] = {layOutPanel(glyphs, rows, {100, 40}), layOutPanel({}, rows, {20, 10}),
                                layOutPanel(greyGlyphs, grey, {70, 20})};
    const TftColours tft{{0x10, 0x20, 0x30}, {0x10, 0x20, 0x30}}; // every level the same colour
    for (const PanelDots& panel : panels)
        for (PanelLook look : {PanelLook::BlueOled, PanelLook::GreenStn, PanelLook::WhitePaper, PanelLook::ColourTft})
            for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom) {
                SCOPED_TRACE(std::string(panelLookName(look)) + " zoom " + std::to_string(zoom));
                EXPECT_EQ(encodePng(renderPanelIndexed(panel, look, zoom)), encodePng(renderPanel(panel, look, zoom)));
                if (look == PanelLook::ColourTft) {
                    EXPECT_EQ(encodePng(renderPanelIndexed(panel, look, zoom, tft)),
                              encodePng(renderPanel(panel, look, zoom, tft)));
                }
            }
}

TEST(PngIndexed, RefusesPicturesItCannotWrite) {
    const auto picture = [](int width, int height, std::size_t colours, std::vector<std::uint8_t> pixels) {
        return IndexedImage{width, height, std::vector<std::uint32_t>(colours, 0xFF0000), std::move(pixels)};
    };
    EXPECT_THROW(encodePng(picture(2, 1, 2, {0, 2})), std::invalid_argument);   // a number past the palette
    EXPECT_THROW(encodePng(picture(2, 1, 0, {0, 0})), std::invalid_argument);   // no palette
    EXPECT_THROW(encodePng(picture(1, 1, 257, {0})), std::invalid_argument);    // too many colours
    EXPECT_THROW(encodePng(picture(2, 2, 1, {0, 0, 0})), std::invalid_argument); // pixels short of the size
    EXPECT_THROW(encodePng(picture(0, 0, 1, {})), std::invalid_argument);
    EXPECT_NO_THROW(encodePng(picture(2, 1, 256, {255, 0})));
}

} // namespace
} // namespace hz
