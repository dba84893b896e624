#include "core/layout/arrangements.h"
#include "core/text/byte_text.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

using Texts = std::vector<std::string>;

Glyph glyphOf(std::vector<std::uint8_t> bytes, int cellSize) {
    Glyph glyph;
    glyph.GlyphBytes = cellSize * cellSize / 8;
    glyph.CellSize = cellSize;
    bytes.resize(static_cast<std::size_t>(glyph.GlyphBytes), 0);
    glyph.GlyphData = std::move(bytes);
    return glyph;
}

Glyph singleDot(int cellSize, int row, int column) {
    Glyph glyph = glyphOf({}, cellSize);
    const int perRow = cellSize / 8;
    glyph.GlyphData[static_cast<std::size_t>((row - 1) * perRow + (column - 1) / 8)] =
        static_cast<std::uint8_t>(0x80 >> ((column - 1) % 8));
    return glyph;
}

// The five tables as byte texts, worked out the long way: on texts of "0" and "1", step by step,
// the way the program first computed them. Every table must come out exactly the same.
std::array<Texts, kArrangementCount> arrangementsByTextSteps(const Glyph& glyph, int position, int spaceX, int spaceY) {
    const int n = glyph.GlyphBytes;
    const int size = glyph.CellSize;
    const int b = n / size;
    Texts rowsHex(static_cast<std::size_t>(n) + 1);
    for (int j = 1; j <= n; ++j)
        rowsHex[static_cast<std::size_t>(j)] = DecToHex(glyph.GlyphData[static_cast<std::size_t>(j - 1)]);

    Texts bits(static_cast<std::size_t>(n) + 1);
    for (int j = 1; j <= n; ++j) {
        std::string text = rowsHex[static_cast<std::size_t>(j)];
        if (text.size() == 3)
            text.erase(0, 1);
        bits[static_cast<std::size_t>(j)] = HexToBin(text);
    }
    Texts cellRows(static_cast<std::size_t>(size) + 1);
    for (int r = 1; r <= size; ++r)
        for (int j = b * (r - 1) + 1; j <= b * r; ++j)
            cellRows[static_cast<std::size_t>(r)] += bits[static_cast<std::size_t>(j)];

    if (position == 0) {
        for (int t = 0; t < spaceY; ++t) {
            for (int r = 16; r >= 2; --r)
                cellRows[static_cast<std::size_t>(r)] = cellRows[static_cast<std::size_t>(r - 1)];
            cellRows[1] = std::string(16, '0');
        }
        for (int t = 0; t < spaceX; ++t)
            for (int r = 1; r <= 16; ++r)
                cellRows[static_cast<std::size_t>(r)] = "0" + cellRows[static_cast<std::size_t>(r)].substr(0, 15);
        for (int r = 1; r <= 16; ++r) {
            rowsHex[static_cast<std::size_t>(2 * r - 1)] = BinToHex(cellRows[static_cast<std::size_t>(r)].substr(0, 8));
            rowsHex[static_cast<std::size_t>(2 * r)] = BinToHex(cellRows[static_cast<std::size_t>(r)].substr(8, 8));
        }
    }
    const auto dot = [&](int r, int c) {
        return cellRows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)];
    };

    Texts colsUp(static_cast<std::size_t>(n) + 1), colsDown(static_cast<std::size_t>(n) + 1);
    for (int c = 1; c <= size; ++c) {
        for (int g = 1; g <= b; ++g) {
            std::string up, down;
            for (int r = size - 8 * (g - 1); r >= size - 8 * (g - 1) - 7; --r)
                up += dot(r, c);
            for (int r = 8 * g - 7; r <= 8 * g; ++r)
                down += dot(r, c);
            colsUp[static_cast<std::size_t>(b * (c - 1) + g)] = BinToHex(up);
            colsDown[static_cast<std::size_t>(b * (c - 1) + g)] = BinToHex(down);
        }
    }
    Texts halfUp(1), halfDown(1);
    if (n == 32) {
        halfUp.assign(33, "");
        halfDown.assign(33, "");
        for (int j = 1; j <= 32; ++j) {
            const auto at = static_cast<std::size_t>(j);
            if (j % 2 == 1) {
                halfDown[static_cast<std::size_t>((j + 1) / 2)] = colsDown[at];
                halfUp[static_cast<std::size_t>((j - 1) / 2 + 17)] = colsUp[at];
            } else {
                halfDown[static_cast<std::size_t>(j / 2 + 16)] = colsDown[at];
                halfUp[static_cast<std::size_t>(j / 2)] = colsUp[at];
            }
        }
    }
    for (int j = 1; j <= n; ++j) {
        if (n == 32 && j % 2 == 1)
            std::swap(colsUp[static_cast<std::size_t>(j)], colsUp[static_cast<std::size_t>(j + 1)]);
        if (n == 72 && j % 3 == 1)
            std::swap(colsUp[static_cast<std::size_t>(j)], colsUp[static_cast<std::size_t>(j + 2)]);
    }
    std::array<Texts, kArrangementCount> out{rowsHex, colsUp, colsDown, halfUp, halfDown};
    for (auto& table : out)
        table.erase(table.begin()); // positions counted from 1 above
    return out;
}

Texts asTexts(const std::vector<std::uint8_t>& bytes) {
    Texts texts;
    for (std::uint8_t byte : bytes)
        texts.push_back(DecToHex(byte));
    return texts;
}

TEST(Arrangements, EveryTableMatchesTheTextSteps) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int position = 0; position < 6; ++position) {
        const int cellSize = position < 3 ? 16 : 24;
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cellSize * cellSize / 8));
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(byte(random));
            const Glyph glyph = glyphOf(bytes, cellSize);
            for (int spaceY = 0; spaceY <= 4; ++spaceY) {
                for (int spaceX = 0; spaceX <= 4; ++spaceX) {
                    SCOPED_TRACE(testing::Message()
                                 << "library " << position << " trial " << trial << " x " << spaceX << " y " << spaceY);
                    const auto expected = arrangementsByTextSteps(glyph, position, spaceX, spaceY);
                    const auto tables = MakeArrangements(glyph, position, spaceX, spaceY);
                    for (int a = 0; a < kArrangementCount; ++a)
                        ASSERT_EQ(asTexts(tables.tables[static_cast<std::size_t>(a)]),
                                  expected[static_cast<std::size_t>(a)])
                            << arrangementName(static_cast<Arrangement>(a));
                    if (position != 0)
                        break; // spacing only moves 12x12 glyphs
                }
                if (position != 0)
                    break;
            }
        }
    }
}

struct DotCase {
    int cellSize, row, column;
    std::array<std::pair<int, std::uint8_t>, kArrangementCount> where; // 1-based byte and its value
};

TEST(Arrangements, SingleDots) {
    const std::vector<DotCase> cases = {
        {16, 1, 1, {{{1, 0x80}, {1, 0x01}, {1, 0x80}, {1, 0x01}, {1, 0x80}}}},
        {16, 9, 2, {{{17, 0x40}, {4, 0x01}, {4, 0x80}, {18, 0x01}, {18, 0x80}}}},
        {16, 16, 16, {{{32, 0x01}, {32, 0x80}, {32, 0x01}, {32, 0x80}, {32, 0x01}}}},
        {16, 8, 9, {{{16, 0x80}, {17, 0x80}, {17, 0x01}, {9, 0x80}, {9, 0x01}}}},
        {24, 1, 1, {{{1, 0x80}, {1, 0x01}, {1, 0x80}, {0, 0}, {0, 0}}}},
        {24, 24, 24, {{{72, 0x01}, {72, 0x80}, {72, 0x01}, {0, 0}, {0, 0}}}},
        {24, 12, 10, {{{35, 0x40}, {29, 0x08}, {29, 0x10}, {0, 0}, {0, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cellSize << " row " << c.row << " column " << c.column);
        const auto tables = MakeArrangements(singleDot(c.cellSize, c.row, c.column), 1, 2, 2);
        for (int a = 0; a < kArrangementCount; ++a) {
            const auto& table = tables.tables[static_cast<std::size_t>(a)];
            const auto [byteNumber, value] = c.where[static_cast<std::size_t>(a)];
            if (byteNumber == 0) {
                EXPECT_TRUE(table.empty()) << a;
                continue;
            }
            std::vector<std::uint8_t> expected(static_cast<std::size_t>(c.cellSize * c.cellSize / 8), 0);
            expected[static_cast<std::size_t>(byteNumber - 1)] = value;
            EXPECT_EQ(table, expected) << arrangementName(static_cast<Arrangement>(a));
        }
    }
}

TEST(Arrangements, BlankAndFullCells) {
    for (int position : {0, 1, 3}) {
        const int cellSize = position == 3 ? 24 : 16;
        const std::size_t n = static_cast<std::size_t>(cellSize * cellSize / 8);
        const auto blank = MakeArrangements(glyphOf({}, cellSize), position, 2, 2);
        const auto full = MakeArrangements(glyphOf(std::vector<std::uint8_t>(n, 0xFF), cellSize), 1, 2, 2);
        const std::size_t tables = cellSize == 16 ? 5 : 3;
        for (std::size_t a = 0; a < tables; ++a) {
            EXPECT_EQ(blank.tables[a], std::vector<std::uint8_t>(n, 0));
            EXPECT_EQ(full.tables[a], std::vector<std::uint8_t>(n, 0xFF));
        }
        for (std::size_t a = tables; a < 5; ++a)
            EXPECT_TRUE(full.tables[a].empty());
    }
    EXPECT_THROW(MakeArrangements(glyphOf({}, 12), 1, 0, 0), std::invalid_argument);
}

// A 12x12 glyph of all dots set, placed in its 16x16 cell.
TEST(Arrangements, TwelveByTwelvePlacement) {
    std::vector<std::uint8_t> full12;
    for (int r = 0; r < 12; ++r)
        full12.insert(full12.end(), {0xFF, 0xF0});
    const Glyph glyph = glyphOf(full12, 16);
    const struct { int x, y; } spacings[] = {{0, 0}, {2, 2}, {4, 4}, {4, 0}, {0, 3}};
    for (const auto& s : spacings) {
        const Cell16 cell = cellFromBytes(MakeArrangements(glyph, 0, s.x, s.y)[Arrangement::Rows]);
        for (int r = 0; r < 16; ++r) {
            const bool inGlyph = r >= s.y && r < s.y + 12;
            const std::uint16_t expected = inGlyph ? static_cast<std::uint16_t>(0xFFF0 >> s.x) : 0;
            EXPECT_EQ(cell[static_cast<std::size_t>(r)], expected) << "x " << s.x << " y " << s.y << " row " << r + 1;
        }
    }
    // Only the 12x12 library moves; another 16x16 glyph stays as read.
    EXPECT_EQ(MakeArrangements(glyph, 1, 4, 4)[Arrangement::Rows], glyph.GlyphData);
}

TEST(Arrangements, ShiftCellMovesDownThenRight) {
    Cell16 cell{};
    cell[0] = 0x8001;
    cell[15] = 0xFFFF;
    const Cell16 moved = shiftCell(cell, 3, 1);
    EXPECT_EQ(moved[0], 0);
    EXPECT_EQ(moved[1], 0x1000); // the right-hand dot fell off the edge
    EXPECT_EQ(moved[15], 0);     // the bottom row fell out of the cell
    EXPECT_EQ(shiftCell(cell, 0, 0), cell);
    EXPECT_EQ(shiftCell(cell, -2, -1), cell);
    EXPECT_EQ(shiftCell(cell, 16, 0), Cell16{});
    EXPECT_EQ(shiftCell(cell, 0, 16), Cell16{});
    EXPECT_EQ(cellFromBytes(bytesFromCell(moved)), moved);
}

TEST(Arrangements, Names) {
    EXPECT_EQ(arrangementName(Arrangement::Rows), "横排");
    EXPECT_EQ(arrangementName(Arrangement::HalfDown), "上半列排");
    EXPECT_EQ(arrangementChoice(Arrangement::ColsUp), "下上列排↑↑");
    EXPECT_EQ(arrangementChoice(Arrangement::HalfUp), "下半列排↑↘");
    EXPECT_EQ(arrangementChoice(Arrangement::HalfDown), "上半列排↓↗");
}

} // namespace
} // namespace hz
