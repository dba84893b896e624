#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

// The rules stated dot by dot: the transformed dot (r, c) goes to one byte and bit.
std::vector<std::uint8_t> encodeByTheRules(const DotCell& cell, const Layout& layout) {
    const int w = cell.width();
    const int h = cell.height();
    const int perRow = (w + 7) / 8;
    const int perColumn = (h + 7) / 8;
    std::vector<std::uint8_t> bytes(layout.scan == Scan::Rows ? static_cast<std::size_t>(perRow * h)
                                                              : static_cast<std::size_t>(perColumn * w));
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            bool on = cell.dot(layout.left ? w - 1 - c : c, layout.up ? h - 1 - r : r);
            if (layout.invert)
                on = !on;
            if (!on)
                continue;
            int byte = 0, order = 0; // order: the dot's place in its byte, 0 = first
            switch (layout.scan) {
            case Scan::Rows:
                byte = r * perRow + c / 8;
                order = c % 8;
                break;
            case Scan::Columns:
                byte = c * perColumn + r / 8;
                order = r % 8;
                break;
            case Scan::Pages:
                byte = r / 8 * w + c;
                order = r % 8;
                break;
            }
            const int bit = layout.bit == BitOrder::Msb ? 7 - order : order;
            bytes[static_cast<std::size_t>(byte)] |= static_cast<std::uint8_t>(1 << bit);
        }
    return bytes;
}

DotCell randomCell(int w, int h, std::mt19937& random) {
    DotCell cell(w, h);
    std::bernoulli_distribution ink(0.4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cell.setDot(x, y, ink(random));
    return cell;
}

TEST(Layout, EveryLayoutFollowsTheRulesAndRoundTrips) {
    std::mt19937 random(20261207);
    const std::vector<std::pair<int, int>> sizes = {{5, 7}, {12, 12}, {16, 16}, {24, 24}, {32, 32}, {8, 16}, {20, 20}};
    for (const auto& [w, h] : sizes)
        for (int i = 0; i < Layout::kCount; ++i) {
            const Layout layout = Layout::fromIndex(i);
            SCOPED_TRACE(layoutName(layout) + " " + std::to_string(w) + "x" + std::to_string(h));
            for (int round = 0; round < 4; ++round) {
                const DotCell cell = randomCell(w, h, random);
                const auto bytes = encodeCell(cell, layout);
                ASSERT_EQ(bytes, encodeByTheRules(cell, layout));
                ASSERT_EQ(bytes.size(), encodedSize(layout, w, h));
                ASSERT_EQ(decodeCell(bytes, layout, w, h), cell);
            }
        }
}

TEST(Layout, OneDotLandsWhereTheRulesSay) {
    struct Case {
        int x, y;
        Scan scan;
        int byte;
        int msbBit;
    };
    // 16x16: rows have 2 bytes a row, columns 2 bytes a column, pages 16 bytes a band.
    const std::vector<Case> cases = {
        {0, 0, Scan::Rows, 0, 7},    {9, 0, Scan::Rows, 1, 6},     {0, 9, Scan::Rows, 18, 7},
        {0, 0, Scan::Columns, 0, 7}, {9, 0, Scan::Columns, 18, 7}, {0, 9, Scan::Columns, 1, 6},
        {0, 0, Scan::Pages, 0, 7},   {9, 0, Scan::Pages, 9, 7},    {0, 9, Scan::Pages, 16, 6},
    };
    for (const auto& c : cases)
        for (BitOrder bit : {BitOrder::Msb, BitOrder::Lsb}) {
            DotCell cell(16, 16);
            cell.setDot(c.x, c.y);
            const Layout layout{c.scan, bit};
            SCOPED_TRACE(layoutName(layout) + " dot " + std::to_string(c.x) + "," + std::to_string(c.y));
            std::vector<std::uint8_t> expected(32, 0);
            expected[static_cast<std::size_t>(c.byte)] =
                static_cast<std::uint8_t>(1 << (bit == BitOrder::Msb ? c.msbBit : 7 - c.msbBit));
            EXPECT_EQ(encodeCell(cell, layout), expected);
        }
}

TEST(Layout, FlagsMirrorAndInvert) {
    DotCell cell(16, 16);
    cell.setDot(0, 0);
    // up: the top-left dot becomes the first dot of the last row; left: the last dot of the first.
    auto up = encodeCell(cell, *parseLayout("rows-msb-up"));
    EXPECT_EQ(up[30], 0x80);
    auto left = encodeCell(cell, *parseLayout("rows-msb-left"));
    EXPECT_EQ(left[1], 0x01);
    auto inverted = encodeCell(cell, *parseLayout("rows-msb-invert"));
    EXPECT_EQ(inverted[0], 0x7F);
    EXPECT_EQ(inverted[31], 0xFF);
    // A short last byte is padded with clear bits, inverted or not.
    DotCell narrow(5, 7);
    EXPECT_EQ(encodeCell(narrow, *parseLayout("rows-msb-invert"))[0], 0xF8);
    EXPECT_EQ(encodeCell(narrow, *parseLayout("columns-lsb-invert"))[0], 0x7F);
}

TEST(Layout, NamesParseInAnyOrderAndPrintInOne) {
    EXPECT_EQ(layoutName(*parseLayout("PAGES-LSB-invert-UP")), "pages-lsb-up-invert");
    EXPECT_EQ(layoutName(*parseLayout("rows-msb-left-up")), "rows-msb-up-left");
    for (int i = 0; i < Layout::kCount; ++i)
        EXPECT_EQ(parseLayout(layoutName(Layout::fromIndex(i))), Layout::fromIndex(i));
    for (const char* bad : {"", "rows", "msb-rows", "rows-msb-up-up", "rows-msb-", "rows-xsb", "columns-lsb-down",
                            "pages lsb", "rows-msb-invert-x"})
        EXPECT_FALSE(parseLayout(bad)) << bad;
}

TEST(Layout, TheFiveArrangementsAreNamedLayouts) {
    EXPECT_EQ(layoutName(arrangementLayout(Arrangement::Rows)), "rows-msb");
    EXPECT_EQ(layoutName(arrangementLayout(Arrangement::ColsUp)), "columns-lsb");
    EXPECT_EQ(layoutName(arrangementLayout(Arrangement::ColsDown)), "columns-msb");
    EXPECT_EQ(layoutName(arrangementLayout(Arrangement::HalfUp)), "pages-lsb");
    EXPECT_EQ(layoutName(arrangementLayout(Arrangement::HalfDown)), "pages-msb");
    EXPECT_EQ(namedArrangement(*parseLayout("pages-msb")), Arrangement::HalfDown);
    EXPECT_FALSE(namedArrangement(*parseLayout("rows-lsb")));
}

TEST(Layout, PresetsAndChoices) {
    const std::vector<std::pair<const char*, const char*>> presets = {
        {"ssd1306", "pages-lsb"},
        {"sh1106", "pages-lsb"},
        {"st7565", "pages-lsb"},
        {"ks0108", "pages-lsb"},
        {"ssd1306-vertical", "columns-lsb"},
        {"st7920", "rows-msb"},
        {"adafruit-gfx", "rows-msb"},
        {"lvgl-1bit", "rows-msb"},
        {"hzk", "rows-msb"},
        {"xbm", "rows-lsb"},
        {"epaper", "rows-msb-invert"},
        {"max7219", "columns-lsb"},
    };
    ASSERT_EQ(layoutPresets().size(), presets.size());
    for (const auto& [name, layout] : presets) {
        const auto choice = parseLayoutChoice(name);
        ASSERT_TRUE(choice) << name;
        EXPECT_EQ(choice->kind, LayoutChoice::Kind::Layout);
        EXPECT_EQ(layoutName(choice->layout), layout) << name;
        EXPECT_NE(layoutListText().find(std::string(name) + "\t" + layout + "\t"), std::string::npos) << name;
    }
    EXPECT_EQ(presetNames(*parseLayout("pages-lsb")), "ssd1306,sh1106,st7565,ks0108");
    EXPECT_EQ(parseLayoutChoice("3"), LayoutChoice::of(Arrangement::HalfUp));
    EXPECT_EQ(parseLayoutChoice("上下列排"), LayoutChoice::of(Arrangement::ColsDown));
    EXPECT_EQ(parseLayoutChoice("下半列排↑↘"), LayoutChoice::of(Arrangement::HalfUp));
    EXPECT_EQ(parseLayoutChoice("ALL"), LayoutChoice::all());
    EXPECT_EQ(parseLayoutChoice("全部"), LayoutChoice::all());
    for (const char* bad : {"5", "-1", "横", "ssd", "rows"})
        EXPECT_FALSE(parseLayoutChoice(bad)) << bad;
}

} // namespace
} // namespace hz
