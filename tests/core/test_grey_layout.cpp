#include "core/layout/layout.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <stdexcept>

namespace hz {
namespace {

// The packing rule stated line by line: take each row (rows) or column (columns) of the
// transformed cell as a list of levels, cut it into groups of 8/bpp dots, and make each group one
// byte, its first dot in the highest bits (msb) or the lowest (lsb).
std::vector<std::uint8_t> packByTheRule(const DotCell& cell, const Layout& layout) {
    const int w = cell.width();
    const int h = cell.height();
    const int top = (1 << layout.bpp) - 1;
    auto transformed = [&](int x, int y) {
        const int sx = layout.left ? w - 1 - x : x;
        const int sy = layout.up ? h - 1 - y : y;
        const int level = cell.level(sx, sy);
        return layout.invert ? top - level : level;
    };
    const int lines = layout.scan == Scan::Rows ? h : w;
    const int length = layout.scan == Scan::Rows ? w : h;
    const int perByte = 8 / layout.bpp;
    std::vector<std::uint8_t> bytes;
    for (int line = 0; line < lines; ++line)
        for (int first = 0; first < length; first += perByte) {
            int byte = 0;
            for (int k = 0; k < perByte && first + k < length; ++k) {
                const int i = first + k;
                const int level = layout.scan == Scan::Rows ? transformed(i, line) : transformed(line, i);
                const int slot = layout.bit == BitOrder::Msb ? perByte - 1 - k : k;
                byte |= level << (slot * layout.bpp);
            }
            bytes.push_back(static_cast<std::uint8_t>(byte));
        }
    return bytes;
}

DotCell randomGreyCell(int w, int h, int depth, std::mt19937& random) {
    DotCell cell = DotCell(w, h).withDepth(depth);
    std::uniform_int_distribution<int> level(0, cell.maxLevel());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cell.setLevel(x, y, level(random));
    return cell;
}

TEST(GreyLayout, EveryDepthAndLayoutFollowsTheRuleAndRoundTrips) {
    std::mt19937 random(7);
    const std::vector<std::pair<int, int>> sizes = {{5, 7}, {16, 16}, {9, 16}, {24, 24}, {13, 3}};
    for (int depth : {2, 4, 8})
        for (const auto& [w, h] : sizes)
            for (int index = 0; index < 32; ++index) { // rows and columns, every flag
                Layout layout = Layout::fromIndex(index);
                layout.bpp = depth;
                const DotCell cell = randomGreyCell(w, h, depth, random);
                const auto bytes = encodeCell(cell, layout);
                SCOPED_TRACE(layoutName(layout) + " " + std::to_string(w) + "x" + std::to_string(h));
                ASSERT_EQ(bytes.size(), encodedSize(layout, w, h));
                EXPECT_EQ(bytes, packByTheRule(cell, layout));
                EXPECT_EQ(decodeCell(bytes, layout, w, h), cell);
            }
}

TEST(GreyLayout, ANibbleGlyphByHand) {
    // Two rows of three dots at 4 bits: levels 1 2 3 / 15 0 8.
    DotCell cell = DotCell(3, 2).withDepth(4);
    const int levels[2][3] = {{1, 2, 3}, {15, 0, 8}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            cell.setLevel(x, y, levels[y][x]);
    EXPECT_EQ(encodeCell(cell, *parseLayout("rows-msb-4bpp")), (std::vector<std::uint8_t>{0x12, 0x30, 0xF0, 0x80}));
    EXPECT_EQ(encodeCell(cell, *parseLayout("rows-lsb-4bpp")), (std::vector<std::uint8_t>{0x21, 0x03, 0x0F, 0x08}));
    EXPECT_EQ(encodeCell(cell, *parseLayout("columns-msb-4bpp")), (std::vector<std::uint8_t>{0x1F, 0x20, 0x38}));
    EXPECT_EQ(encodeCell(cell, *parseLayout("rows-msb-invert-4bpp")),
              (std::vector<std::uint8_t>{0xED, 0xC0, 0x0F, 0x70}));
}

TEST(GreyLayout, DepthsConvertByShareOfCoverage) {
    DotCell one(4, 1);
    one.setDot(1, 0);
    one.setDot(3, 0);
    const DotCell four = one.withDepth(4);
    EXPECT_EQ(four.level(0, 0), 0);
    EXPECT_EQ(four.level(1, 0), 15);
    EXPECT_EQ(four.withDepth(1), one); // the extremes come back as the same dots

    DotCell grey = DotCell(4, 1).withDepth(4);
    for (int x = 0; x < 4; ++x)
        grey.setLevel(x, 0, std::array{0, 7, 8, 15}[static_cast<std::size_t>(x)]);
    // A dot counts as set from half level up, for anything that reads one bit.
    EXPECT_EQ(grey.row(0), 0x3ULL << 60);
    EXPECT_EQ(grey.inkCount(), 2);
    const DotCell two = grey.withDepth(2);
    EXPECT_EQ((std::array{two.level(0, 0), two.level(1, 0), two.level(2, 0), two.level(3, 0)}),
              (std::array{0, 1, 2, 3}));
    EXPECT_EQ(grey.withDepth(8).level(1, 0), 119); // 7/15 of 255
    grey.setLevel(0, 0, 99);
    EXPECT_EQ(grey.level(0, 0), 15); // clamped
    EXPECT_THROW(grey.withDepth(3), std::invalid_argument);
}

TEST(GreyLayout, NamesCarryTheDepth) {
    const auto grey = parseLayout("columns-LSB-4BPP-up");
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->bpp, 4);
    EXPECT_EQ(layoutName(*grey), "columns-lsb-up-4bpp");
    EXPECT_EQ(layoutName(*parseLayout("rows-msb-1bpp")), "rows-msb"); // one bit is the unnamed default
    for (const char* bad : {"rows-msb-3bpp", "rows-msb-4bpp-2bpp", "rows-msb-16bpp", "rows-msb-bpp"})
        EXPECT_FALSE(parseLayout(bad)) << bad;

    const auto pages = parseLayout("pages-lsb-2bpp");
    ASSERT_TRUE(pages);
    EXPECT_FALSE(hasGreyForm(*pages));
    EXPECT_TRUE(hasGreyForm(*parseLayout("pages-lsb")));
    EXPECT_THROW(encodeCell(DotCell(8, 8), *pages), std::invalid_argument);
}

} // namespace
} // namespace hz
