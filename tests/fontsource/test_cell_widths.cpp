// How wide cells are: half-width glyphs too wide for their cell are drawn narrower and lose no ink,
// proportional cells are each glyph's advance, and which characters East Asian Width calls
// ambiguous.

#include "bdf_font.h"
#include "cell_text.h"
#include "file_access.h"
#include "temp_folder.h"

#include "core/text/codepage.h"
#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/font_source.h"
#include "fontsource/width_class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

using namespace hz::test;
namespace fsrc = hz::fontsource;

namespace {

using fsrc::AmbiguousWidth;
using fsrc::GlyphWidths;
using hz::WidthClass;

// The ink of one row: its first and last dot.
struct RowInk {
    int left;
    int right;
};

// Each row of the bitmap from its first inked row to its last, in order; a row without ink is empty.
std::vector<std::optional<RowInk>> rowsOf(const fsrc::GlyphBitmap& bitmap) {
    std::vector<std::optional<RowInk>> rows;
    const auto box = bitmap.inkBox();
    if (!box)
        return rows;
    for (int y = box->top + bitmap.top; y <= box->bottom + bitmap.top; ++y) {
        std::optional<RowInk> row;
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.ink(x, y))
                row = RowInk{row ? row->left : x, x};
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::optional<RowInk>> rowsOf(const hz::DotCell& cell) {
    std::vector<std::optional<RowInk>> rows;
    const auto ink = inkRows(cell);
    if (!ink)
        return rows;
    for (int y = ink->top; y <= ink->bottom; ++y) {
        std::optional<RowInk> row;
        for (int x = 0; x < cell.width(); ++x) {
            if (cell.dot(x, y))
                row = RowInk{row ? row->left : x, x};
        }
        rows.push_back(row);
    }
    return rows;
}

// The columns from the first inked one to the last.
int inkedSpan(const std::vector<std::optional<RowInk>>& rows) {
    int left = 1 << 20, right = -1;
    for (const auto& row : rows) {
        if (row) {
            left = std::min(left, row->left);
            right = std::max(right, row->right);
        }
    }
    return right < 0 ? 0 : right - left + 1;
}

struct WideCase {
    const char* name;
    std::string font;
    int size;
};

void PrintTo(const WideCase& c, std::ostream* os) {
    *os << c.name;
}

class WideHalfWidthGlyph : public ::testing::TestWithParam<WideCase> {};

// The letters that lost their outer strokes to the cell. Each one wider than its half-width cell,
// as the font draws it at the cell's pixel size, must come out as wide as the cell, on the same
// rows, and with every row's ink where the font has it, scaled across: a cut would leave rows with
// no ink (an "M"'s legs) or move their edges inwards.
TEST_P(WideHalfWidthGlyph, IsDrawnNarrowerWithEveryRowAndEdgeKept) {
    const WideCase& c = GetParam();
    auto pool = fsrc::FacePool::open(c.font, 0, c.size, 1);
    ASSERT_TRUE(pool);
    auto fitted = fsrc::fitCells(*pool, fsrc::gb2312Table(), c.size, std::nullopt);
    ASSERT_TRUE(fitted);
    const fsrc::CellRule& rule = fitted->rule;
    fsrc::FontFace& face = pool->front();
    const int cellWidth = rule.width(WidthClass::Half);

    int tooWide = 0;
    for (const char32_t letter : std::u32string(U"%MWmw@")) {
        SCOPED_TRACE(std::string(1, static_cast<char>(letter)));
        ASSERT_TRUE(face.setPixelSize(rule.pixels));
        const fsrc::RenderedGlyph own = face.render(letter, std::nullopt);
        ASSERT_EQ(own.status, fsrc::RenderStatus::Drawn);
        const auto before = rowsOf(own.bitmap);
        const int ownWidth = inkedSpan(before);
        if (ownWidth <= cellWidth)
            continue;
        ++tooWide;

        const char32_t forms[] = {letter};
        const fsrc::DrawnGlyph drawn = fsrc::drawGlyph(face, rule, forms, WidthClass::Half);
        const fsrc::PlacedGlyph placed = fsrc::placeDrawn(drawn, rule, WidthClass::Half);
        EXPECT_TRUE(drawn.narrowed);
        EXPECT_NE(placed.placement, fsrc::Placement::Cropped);
        ASSERT_EQ(placed.cell.width(), cellWidth);

        const auto after = rowsOf(placed.cell);
        // As wide as the cell, to a dot, and exactly as tall.
        const int width = inkedSpan(after);
        EXPECT_GE(width, cellWidth - 1) << picture(placed.cell);
        ASSERT_EQ(after.size(), before.size()) << picture(placed.cell);
        const int firstBefore = [&] {
            int left = 1 << 20;
            for (const auto& row : before)
                if (row)
                    left = std::min(left, row->left);
            return left;
        }();
        const int firstAfter = [&] {
            int left = 1 << 20;
            for (const auto& row : after)
                if (row)
                    left = std::min(left, row->left);
            return left;
        }();
        const double scale = static_cast<double>(width - 1) / (ownWidth - 1);
        for (std::size_t y = 0; y < before.size(); ++y) {
            if (!before[y])
                continue;
            ASSERT_TRUE(after[y]) << "row " << y << " lost its ink\n" << picture(placed.cell);
            EXPECT_LE(std::abs((after[y]->left - firstAfter) - (before[y]->left - firstBefore) * scale), 1.5)
                << "row " << y << "\n"
                << picture(placed.cell);
            EXPECT_LE(std::abs((after[y]->right - firstAfter) - (before[y]->right - firstBefore) * scale), 1.5)
                << "row " << y << "\n"
                << picture(placed.cell);
        }
    }
    // The faces and sizes below are those where the letters are known to be too wide.
    EXPECT_GT(tooWide, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, WideHalfWidthGlyph,
    ::testing::Values(WideCase{"MicroHei12", fonts::kMicrohei, 12}, WideCase{"MicroHei16", fonts::kMicrohei, 16},
                      WideCase{"MicroHei24", fonts::kMicrohei, 24}, WideCase{"ZenHei12", fonts::kZenhei, 12},
                      WideCase{"ZenHei16", fonts::kZenhei, 16}, WideCase{"ZenHei24", fonts::kZenhei, 24}),
    [](const auto& info) { return std::string(info.param.name); });

// A strike cannot be drawn again narrower: its columns are merged, so a frame stays a frame.
TEST(WideHalfWidthGlyph, AStrikesColumnsAreMergedIntoTheCell) {
    TempFolder scratch;
    BdfFont font;
    for (std::uint32_t c : {0x53E3u, 0x56FDu, 0x56DEu, 0x56E0u}) // 口 国 回 因: full frames
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    BdfGlyph wide = frameGlyph('W', 12, 10, 0, 0);
    wide.advance = 13;
    font.glyphs.push_back(wide);
    writeFile(scratch.file("strike.bdf"), font.text());
    auto source = fsrc::FontSource::open({scratch.file("strike.bdf"), 0, 16, {}});
    ASSERT_TRUE(source);

    hz::DotCell cell;
    ASSERT_EQ((*source)->glyph(U'W', cell), hz::LookupStatus::Found);
    hz::DotCell expected(8, 16, WidthClass::Half);
    for (int y = 4; y <= 13; ++y)
        for (int x = 0; x < 8; ++x)
            if (y == 4 || y == 13 || x == 0 || x == 7)
                expected.setDot(x, y);
    EXPECT_EQ(cell, expected) << picture(cell) << "\nwanted\n" << picture(expected);
}

TEST(MergeColumns, EachColumnHoldsTheInkOfTheColumnsFallingIntoIt) {
    // Ten columns, ink in 0, 3, 4 and 9 on the only row, two columns of paper left of the ink.
    fsrc::GlyphBitmap bitmap{.left = -2, .top = 1, .width = 12, .rows = 1, .dots = {}};
    bitmap.dots = {0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1};
    const auto ink = bitmap.inkBox();
    ASSERT_TRUE(ink);
    const fsrc::GlyphBitmap merged = fsrc::mergeColumns(bitmap, *ink, 4);
    // Columns 0-2 go to 0, 3-4 to 1, 5-7 to 2, 8-9 to 3 (k * 4 / 10).
    EXPECT_EQ(merged.dots, (std::vector<std::uint8_t>{1, 1, 0, 1}));
    EXPECT_EQ(merged.left, 0);
    EXPECT_EQ(merged.top, 1);
    EXPECT_EQ(merged.width, 4);
}

// A strike font whose every advance and bearing is known.
BdfFont proportionalFont() {
    BdfFont font;
    for (std::uint32_t c : {0x53E3u, 0x56FDu, 0x56DEu, 0x56E0u}) // 口 国 回 因
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    auto add = [&](std::uint32_t c, int width, int height, int x, int y, int advance) {
        BdfGlyph glyph = frameGlyph(c, width, height, x, y);
        glyph.advance = advance;
        font.glyphs.push_back(glyph);
    };
    add('i', 2, 10, 1, 0, 4);   // a bearing either side
    add('j', 3, 12, -1, -2, 3); // ink left of the pen: the cell takes it in
    add('W', 14, 10, 1, 0, 16); // ink and bearings exactly fill the full cell
    add('X', 18, 10, 1, 0, 20); // ink wider than the full cell: drawn narrower
    add('Y', 14, 10, 2, 0, 19); // bearings wider than the cell: the ink kept, centred on the advance
    add(0xB0, 4, 4, 1, 9, 6);   // °
    BdfGlyph space{0x20, 0, 0, {}};
    space.advance = 5;
    font.glyphs.push_back(space);
    return font;
}

struct OwnWidth {
    char32_t character;
    int width;    // the cell's width
    int inkLeft;  // the ink's first column, -1 for none
    int inkRight; // and its last
};

TEST(ProportionalWidths, EachCellIsTheInkAndItsBearingsAtMostTheFullCell) {
    TempFolder scratch;
    writeFile(scratch.file("own.bdf"), proportionalFont().text());
    auto fixed = fsrc::FontSource::open({scratch.file("own.bdf"), 0, 16, {}});
    auto own = fsrc::FontSource::open({scratch.file("own.bdf"), 0, 16, {}, GlyphWidths::Proportional});
    ASSERT_TRUE(fixed && own);

    for (const OwnWidth& w :
         {OwnWidth{U'i', 4, 1, 2}, OwnWidth{U'j', 4, 0, 2}, OwnWidth{U'W', 16, 1, 14}, OwnWidth{U'X', 16, 0, 15},
          OwnWidth{U'Y', 16, 0, 13}, OwnWidth{U'°', 6, 1, 4}, OwnWidth{U' ', 5, -1, -1}, OwnWidth{U'口', 16, 0, 15}}) {
        SCOPED_TRACE(static_cast<std::uint32_t>(w.character));
        hz::DotCell cell;
        ASSERT_EQ((*own)->glyph(w.character, cell), hz::LookupStatus::Found);
        EXPECT_EQ(cell.width(), w.width) << picture(cell);
        EXPECT_EQ(cell.height(), 16);
        EXPECT_EQ((*own)->sizeText(cell), std::to_string(w.width) + "*16");
        int left = -1, right = -1;
        for (int x = 0; x < cell.width(); ++x) {
            for (int y = 0; y < cell.height(); ++y) {
                if (cell.dot(x, y)) {
                    left = left < 0 ? x : left;
                    right = x;
                }
            }
        }
        EXPECT_EQ(left, w.inkLeft) << picture(cell);
        EXPECT_EQ(right, w.inkRight) << picture(cell);
    }

    // A hanzi that fills the cell is dot for dot where fixed widths put it.
    hz::DotCell ownKou, fixedKou;
    ASSERT_EQ((*own)->glyph(U'国', ownKou), hz::LookupStatus::Found);
    ASSERT_EQ((*fixed)->glyph(U'国', fixedKou), hz::LookupStatus::Found);
    EXPECT_EQ(ownKou, fixedKou);
}

// The dots inside the ink's box, as text: the glyph's shape wherever it stands in its cell.
std::string shapeOf(const hz::DotCell& cell) {
    int left = cell.width(), right = -1;
    for (int x = 0; x < cell.width(); ++x)
        for (int y = 0; y < cell.height(); ++y)
            if (cell.dot(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const auto rows = inkRows(cell);
    std::string text;
    for (int y = rows ? rows->top : 0; rows && y <= rows->bottom; ++y) {
        for (int x = left; x <= right; ++x)
            text += cell.dot(x, y) ? '#' : '.';
        text += '\n';
    }
    return text;
}

// In an outline font too: hanzi are drawn as in fixed cells, on the same rows, in cells as wide
// as their advance (the fitted pixel size may make that a dot or two short of the cell); letters
// get their own widths.
TEST(ProportionalWidths, HanziKeepTheirGlyphsAndLettersTheirOwnWidths) {
    for (int size : {12, 16, 24}) {
        SCOPED_TRACE(size);
        auto fixed = fsrc::FontSource::open({fonts::kZenhei, 0, size, {}});
        auto own = fsrc::FontSource::open({fonts::kZenhei, 0, size, {}, GlyphWidths::Proportional});
        ASSERT_TRUE(fixed && own);
        for (const char32_t hanzi : std::u32string(U"温度国一")) {
            hz::DotCell a, b;
            ASSERT_EQ((*fixed)->glyph(hanzi, a), hz::LookupStatus::Found);
            ASSERT_EQ((*own)->glyph(hanzi, b), hz::LookupStatus::Found);
            EXPECT_LE(b.width(), size);
            EXPECT_GE(b.width(), size - 2);
            EXPECT_EQ(shapeOf(a), shapeOf(b)) << picture(a) << "\n" << picture(b);
            EXPECT_EQ(inkRows(a)->top, inkRows(b)->top);
        }
        hz::DotCell i, m;
        ASSERT_EQ((*own)->glyph(U'i', i), hz::LookupStatus::Found);
        ASSERT_EQ((*own)->glyph(U'M', m), hz::LookupStatus::Found);
        EXPECT_LT(i.width(), m.width());
        EXPECT_LE(m.width(), size);
        EXPECT_GT(m.width(), (size + 1) / 2) << "M is wider than a half-width cell in this font";
    }
}

struct AmbiguousEdge {
    char32_t character;
    bool ambiguous;        // in the table of GB2312's ambiguous characters
    WidthClass fixedClass; // with the ambiguous ones full width
};

// The edges of the table's ranges, the characters just outside them, and the narrow ones that are
// half width whatever the choice.
TEST(AmbiguousWidthTable, RangeEdges) {
    // clang-format off
    const AmbiguousEdge edges[] = {
        {U'\u00A3', false, WidthClass::Half}, // £ narrow
        {U'\u00A4', true, WidthClass::Full},  // ¤ the first
        {U'\u00A5', false, WidthClass::Half}, // ¥ narrow
        {U'\u00AF', false, WidthClass::Half}, // ¯ narrow
        {U'\u00B0', true, WidthClass::Full},  // °
        {U'\u00B1', true, WidthClass::Full},  // ±
        {U'\u00B2', false, WidthClass::Full}, // ² ambiguous, but not in GB2312
        {U'\u00E0', true, WidthClass::Full},  // à
        {U'\u00E2', false, WidthClass::Full}, // â not ambiguous
        {U'\u0390', false, WidthClass::Full},
        {U'\u0391', true, WidthClass::Full},  // Α
        {U'\u03A1', true, WidthClass::Full},  // Ρ
        {U'\u03A2', false, WidthClass::Full}, // unassigned, between Ρ and Σ
        {U'\u03A3', true, WidthClass::Full},  // Σ
        {U'\u044F', true, WidthClass::Full},  // я
        {U'\u0450', false, WidthClass::Full}, // ѐ not in GB2312
        {U'\u0451', true, WidthClass::Full},  // ё
        {U'\u2013', false, WidthClass::Full},
        {U'\u2014', true, WidthClass::Full},  // — code page 936's A1AA
        {U'\u2015', true, WidthClass::Full},  // ― GB2312's own A1AA
        {U'\u2103', true, WidthClass::Full},  // ℃
        {U'\u2469', true, WidthClass::Full},  // ⑩
        {U'\u246A', false, WidthClass::Full}, // ⑪ not in GB2312
        {U'\u254B', true, WidthClass::Full},  // ╋ the last box drawing
        {U'\u254C', false, WidthClass::Full},
        {U'\u2642', true, WidthClass::Full},  // ♂ the last
        {U'\u2643', false, WidthClass::Full},
        {U'\u3000', false, WidthClass::Full}, // wide
        {U'A', false, WidthClass::Half},
        {U'\uFF0C', false, WidthClass::Full}, // ，full-width form
    };
    // clang-format on
    for (const AmbiguousEdge& e : edges) {
        SCOPED_TRACE(static_cast<std::uint32_t>(e.character));
        EXPECT_EQ(fsrc::ambiguousWidth(e.character), e.ambiguous);
        EXPECT_EQ(fsrc::widthClassOf(e.character), e.fixedClass);
        EXPECT_EQ(fsrc::widthClassOf(e.character, AmbiguousWidth::Full), e.fixedClass);
        EXPECT_EQ(fsrc::widthClassOf(e.character, AmbiguousWidth::Half), e.ambiguous ? WidthClass::Half : e.fixedClass);
    }
}

// Every character the table calls ambiguous is one GB2312 holds.
TEST(AmbiguousWidthTable, HoldsOnlyGb2312Characters) {
    int count = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (!fsrc::ambiguousWidth(c))
            continue;
        ++count;
        if (c == U'\u2015')
            continue; // GB2312 maps A1AA here, code page 936 to U+2014
        const auto code = hz::cp936Code(c);
        ASSERT_TRUE(code) << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_TRUE(*code >= 0xA1A1 && *code <= 0xF7FE && (*code & 0xFF) >= 0xA1) << std::hex << *code;
    }
    EXPECT_GT(count, 300);
}

// With ambiguous characters half width, ° takes a half-width cell on the full-width baseline.
TEST(AmbiguousWidthCells, DegreeSignInAHalfWidthCell) {
    for (int size : {12, 16, 24}) {
        SCOPED_TRACE(size);
        auto full = fsrc::FontSource::open({fonts::kZenhei, 0, size, {}});
        auto half = fsrc::FontSource::open({fonts::kZenhei, 0, size, {}, GlyphWidths::Fixed, AmbiguousWidth::Half});
        ASSERT_TRUE(full && half);
        hz::DotCell wide, narrow, c;
        ASSERT_EQ((*full)->glyph(U'°', wide), hz::LookupStatus::Found);
        ASSERT_EQ((*half)->glyph(U'°', narrow), hz::LookupStatus::Found);
        ASSERT_EQ((*half)->glyph(U'C', c), hz::LookupStatus::Found);
        EXPECT_EQ(wide.width(), size);
        EXPECT_EQ(narrow.width(), (size + 1) / 2);
        EXPECT_EQ(narrow.widthClass(), WidthClass::Half);
        EXPECT_EQ(narrow.inkCount(), wide.inkCount()) << picture(narrow) << "\n" << picture(wide);
        // The ring sits at the top of the letters, as it does in the full-width cell.
        EXPECT_NEAR(inkRows(narrow)->top, inkRows(c)->top, 1) << picture(narrow) << "\n" << picture(c);
        EXPECT_EQ((*half)->description(),
                  "wqy-zenhei.ttc face 0, " + std::to_string(size) + " dots, ambiguous half width");
    }
}

} // namespace
