#include "core/output/panel_picture.h"
#include "core/picture/picture_layout.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

// The rule stated dot by dot, for any size and depth: the transformed dot (r, c) of level L fills
// bpp bits of one byte.
std::vector<std::uint8_t> encodeByTheRule(const DotPicture& picture, const Layout& layout) {
    const int w = picture.width();
    const int h = picture.height();
    const int bpp = layout.bpp;
    const int top = (1 << bpp) - 1;
    const int perRow = (w * bpp + 7) / 8;
    const int perColumn = (h * bpp + 7) / 8;
    std::vector<std::uint8_t> bytes(layout.scan == Scan::Rows ? static_cast<std::size_t>(perRow * h)
                                                              : static_cast<std::size_t>(perColumn * w));
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            // the picture's own levels are at the layout's depth in these tests
            int level = picture.level(layout.left ? w - 1 - c : c, layout.up ? h - 1 - r : r);
            if (layout.invert)
                level = top - level;
            int byte = 0, firstBit = 0; // firstBit: the dot's first bit counted from the byte's start
            switch (layout.scan) {
            case Scan::Rows:
                byte = r * perRow + c * bpp / 8;
                firstBit = c * bpp % 8;
                break;
            case Scan::Columns:
                byte = c * perColumn + r * bpp / 8;
                firstBit = r * bpp % 8;
                break;
            case Scan::Pages:
                byte = r / 8 * w + c;
                firstBit = r % 8;
                break;
            }
            const int shift = layout.bit == BitOrder::Msb ? 8 - bpp - firstBit : firstBit;
            bytes[static_cast<std::size_t>(byte)] |= static_cast<std::uint8_t>(level << shift);
        }
    return bytes;
}

DotPicture randomPicture(int w, int h, int depth, std::mt19937& random) {
    DotPicture picture(w, h, depth);
    std::uniform_int_distribution<int> level(0, picture.maxLevel());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setLevel(x, y, level(random));
    return picture;
}

struct Shape {
    int width, height;
};

// Sizes across the 64-dot pieces the encoder works in, with short last bytes and bands.
class PictureLayoutSizes : public ::testing::TestWithParam<Shape> {};

TEST_P(PictureLayoutSizes, EveryLayoutAndDepthFollowsTheRuleAndReadsBack) {
    const Shape shape = GetParam();
    std::mt19937 random(static_cast<unsigned>(shape.width * 1000 + shape.height));
    for (const int depth : {1, 2, 4, 8}) {
        const DotPicture picture = randomPicture(shape.width, shape.height, depth, random);
        for (int i = 0; i < Layout::kCount; ++i) {
            Layout layout = Layout::fromIndex(i);
            layout.bpp = depth;
            if (!hasGreyForm(layout))
                continue;
            const auto bytes = encodePicture(picture, layout);
            ASSERT_EQ(bytes, encodeByTheRule(picture, layout)) << layoutName(layout);
            ASSERT_EQ(bytes.size(), encodedSize(layout, shape.width, shape.height));
            ASSERT_EQ(decodePicture(bytes, layout, shape.width, shape.height), picture) << layoutName(layout);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureLayoutSizes,
                         ::testing::Values(Shape{1, 1}, Shape{64, 64}, Shape{65, 9}, Shape{9, 65}, Shape{130, 67},
                                           Shape{128, 64}, Shape{200, 3}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST(PictureLayout, OneBitLayoutOfADeepPictureKeepsTheDotsAtHalfLevel) {
    DotPicture picture(3, 1, 2);
    picture.setLevel(0, 0, 1);
    picture.setLevel(1, 0, 2);
    picture.setLevel(2, 0, 3);
    EXPECT_EQ(encodePicture(picture, *parseLayout("rows-msb")), std::vector<std::uint8_t>{0x60});
}

TEST(PictureLayout, PagesAboveOneBitIsRefused) {
    EXPECT_THROW(encodePicture(DotPicture(100, 8, 4), *parseLayout("pages-lsb-4bpp")), std::invalid_argument);
}

TEST(PictureLayout, SidesOutsideTheLimitsAreRefused) {
    EXPECT_THROW(DotPicture(1025, 1), std::invalid_argument);
    EXPECT_THROW(DotPicture(1, 0), std::invalid_argument);
    EXPECT_THROW(DotPicture(4, 4, 3), std::invalid_argument);
    EXPECT_NO_THROW(DotPicture(1024, 1024));
}

// A panel takes a picture as one glyph, whatever its size: its dots land where the flow puts it.
TEST(PictureLayout, APanelDrawsAPictureLargerThanAGlyphCell) {
    std::mt19937 random(7);
    const DotPicture picture = randomPicture(100, 70, 1, random);
    const Layout layout = *parseLayout("pages-lsb");
    const EncodedGlyph small{encodePicture(DotPicture(8, 8), layout), 8, 8, false, false};
    const EncodedGlyph big{encodePicture(picture, layout), 100, 70, false, false};
    const std::vector<EncodedGlyph> glyphs = {small, big};
    const PanelDots panel = layOutPanel(glyphs, layout, {128, 80});
    EXPECT_EQ(panel.glyphsShown, 2);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(panel.dot(8 + x, y), picture.dot(x, y)) << x << "," << y;
}

} // namespace
} // namespace hz
