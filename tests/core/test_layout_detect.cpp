#include "other_font.h"

#include "core/glyph/glyph_source.h"
#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/library/library_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using hz::DotCell;
using hz::Layout;
using Bytes = std::vector<std::uint8_t>;

constexpr int k12 = 0, k16Song = 1, k24Song = 3;

DotCell libraryGlyph(int position, char32_t character) {
    hz::LibrarySource source(hz::test::programDir(), position, 2, 2);
    DotCell cell;
    EXPECT_EQ(source.glyph(character, cell), hz::LookupStatus::Found);
    return cell;
}

// The ways firmware sources hold a glyph, written here independently of the program's own texts.
std::string pasted(const Bytes& bytes, int style) {
    std::string text;
    char item[16];
    switch (style) {
    case 0: // C hex
        text = "static const unsigned char glyph[" + std::to_string(bytes.size()) + "] = { // 字\n";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::snprintf(item, sizeof item, "0x%02X,%s", bytes[i], i % 8 == 7 ? "\n" : " ");
            text += item;
        }
        return text + "};\n";
    case 1: // assembly hex, as the program writes it
        text = ";字\n";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::snprintf(item, sizeof item, "%s0%02Xh", i % 8 == 0 ? (i ? "\n DB " : " DB ") : ",", bytes[i]);
            text += item;
        }
        return text + "\n";
    case 2: // a hex dump
        for (std::uint8_t b : bytes) {
            std::snprintf(item, sizeof item, "%02x ", b);
            text += item;
        }
        return text;
    default: // decimal in braces
        text = "{";
        for (std::uint8_t b : bytes)
            text += std::to_string(b) + ", ";
        return text + "}";
    }
}

// Every layout, pasted in every style, is found first, or tied first with its mirror.
void expectEveryLayoutFound(const DotCell& glyph, const DotCell& reference) {
    for (int i = 0; i < Layout::kCount; ++i) {
        const Layout layout = Layout::fromIndex(i);
        for (int style = 0; style < 4; ++style) {
            const auto bytes = hz::parsePastedBytes(pasted(hz::encodeCell(glyph, layout), style));
            ASSERT_TRUE(bytes) << static_cast<int>(bytes.problem().kind);
            const hz::LayoutDetection found = hz::detectLayout(*bytes, reference);
            ASSERT_TRUE(found.ok()) << found.error;
            EXPECT_EQ(hz::layoutName(found.candidates.front().layout), hz::layoutName(layout))
                << "style " << style << "\n"
                << hz::detectionLines(found);
            EXPECT_FALSE(found.ambiguous) << hz::layoutName(layout);
            EXPECT_EQ(hz::ambiguityNote(found), "");
            EXPECT_EQ(found.candidates.front().cell.width, glyph.width());
        }
    }
}

TEST(LayoutDetect, EveryLayoutOfAnotherFontAt24Dots) {
    expectEveryLayoutFound(hz::test::otherFontGlyph(24, U'我'), libraryGlyph(k24Song, U'我'));
}

TEST(LayoutDetect, EveryLayoutOfAnotherFontAt16Dots) {
    expectEveryLayoutFound(hz::test::otherFontGlyph(16, U'的'), libraryGlyph(k16Song, U'的'));
}

TEST(LayoutDetect, TwelveDotGlyphAgainstTheLibraryGlyphPlacedInItsSixteenCell) {
    expectEveryLayoutFound(hz::test::otherFontGlyph(12, U'永'), libraryGlyph(k12, U'永'));
}

TEST(LayoutDetect, ReferenceOfAnotherSizeIsBroughtToThePastedCell) {
    // A 24-dot paste matched against the 16-dot library, and the other way round.
    const DotCell big = hz::test::otherFontGlyph(24, U'我');
    const auto pagesLsb = *hz::parseLayout("pages-lsb");
    auto found = hz::detectLayout(hz::encodeCell(big, pagesLsb), libraryGlyph(k16Song, U'我'));
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.candidates.front().layout, pagesLsb) << hz::detectionLines(found);
    EXPECT_EQ(found.candidates.front().cell, (hz::CellSize{24, 24}));

    const DotCell small = hz::test::otherFontGlyph(16, U'我');
    found = hz::detectLayout(hz::encodeCell(small, pagesLsb), libraryGlyph(k24Song, U'我'));
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.candidates.front().layout, pagesLsb) << hz::detectionLines(found);
}

TEST(LayoutDetect, EpaperBytesAreFoundInverted) {
    const DotCell glyph = hz::test::otherFontGlyph(24, U'的');
    const auto epaper = *hz::parseLayout("rows-msb-invert");
    const auto found = hz::detectLayout(hz::encodeCell(glyph, epaper), libraryGlyph(k24Song, U'的'));
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.candidates.front().layout, epaper);
    EXPECT_EQ(found.candidates.front().presets, "epaper");
    // The same layout without invert draws the inverse picture: it must score far lower.
    for (const auto& c : found.candidates)
        if (c.layout == hz::parseLayout("rows-msb")) {
            EXPECT_LT(c.score, 0.3);
        }
}

TEST(LayoutDetect, SymmetricCharacterTiesWithItsMirrorAndIsFlagged) {
    const DotCell glyph = hz::test::otherFontGlyph(16, U'中');
    const auto layout = *hz::parseLayout("pages-lsb");
    const auto found = hz::detectLayout(hz::encodeCell(glyph, layout), libraryGlyph(k16Song, U'中'));
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.mirrorAmbiguous) << hz::detectionLines(found);
    EXPECT_NE(hz::ambiguityNote(found).find("differ only by a mirror"), std::string::npos);
    EXPECT_NE(hz::ambiguityNote(found).find("such as 我 or 的"), std::string::npos);
    const auto top = {found.candidates[0].layout, found.candidates[1].layout};
    EXPECT_NE(std::find(top.begin(), top.end(), layout), top.end());
}

TEST(LayoutDetect, WidthAndHeightHeaderIsSkipped) {
    const DotCell glyph = hz::test::otherFontGlyph(24, U'永');
    Bytes bytes{24, 24};
    const auto body = hz::encodeCell(glyph, *hz::parseLayout("columns-msb"));
    bytes.insert(bytes.end(), body.begin(), body.end());
    const auto found = hz::detectLayout(bytes, libraryGlyph(k24Song, U'永'));
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.headerSkipped);
    EXPECT_EQ(hz::layoutName(found.candidates.front().layout), "columns-msb");
}

TEST(LayoutDetect, OutputLinesAndScores) {
    const DotCell glyph = hz::test::otherFontGlyph(16, U'我');
    const auto found = hz::detectLayout(hz::encodeCell(glyph, Layout{}), libraryGlyph(k16Song, U'我'));
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.candidates.size(), 48u);
    for (const auto& c : found.candidates) {
        EXPECT_GE(c.score, 0.0);
        EXPECT_LE(c.score, 1.0);
    }
    const std::string lines = hz::detectionLines(found);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 5);
    EXPECT_EQ(lines.rfind("rows-msb\t", 0), 0u) << lines;
    EXPECT_NE(lines.find("\tst7920,adafruit-gfx,lvgl-1bit,hzk\n"), std::string::npos) << lines;
    // The true layout's own glyph against itself is a perfect match.
    EXPECT_DOUBLE_EQ(hz::glyphSimilarity(glyph, glyph), 1.0);
}

TEST(LayoutDetect, CellsThatFitAByteCount) {
    EXPECT_EQ(hz::cellsForByteCount(72, hz::Scan::Rows), (std::vector<hz::CellSize>{{24, 24}}));
    EXPECT_EQ(hz::cellsForByteCount(24, hz::Scan::Columns), (std::vector<hz::CellSize>{{12, 12}}));
    // A half-width 12x24 glyph: 2 bytes a row, or 3 bytes a column.
    EXPECT_EQ(hz::cellsForByteCount(48, hz::Scan::Rows), (std::vector<hz::CellSize>{{12, 24}}));
    EXPECT_EQ(hz::cellsForByteCount(36, hz::Scan::Columns), (std::vector<hz::CellSize>{{12, 23}, {12, 24}}));
    EXPECT_TRUE(hz::cellsForByteCount(31, hz::Scan::Rows).empty());
    EXPECT_TRUE(hz::cellsForByteCount(31, hz::Scan::Columns).empty());
}

TEST(LayoutDetect, Refusals) {
    const DotCell reference = libraryGlyph(k16Song, U'我');
    EXPECT_NE(hz::detectLayout({}, reference).error.find("no bytes"), std::string::npos);

    const Bytes odd(71, 0x55);
    const auto found = hz::detectLayout(odd, reference);
    EXPECT_FALSE(found.ok());
    EXPECT_TRUE(found.candidates.empty());
    EXPECT_NE(found.error.find("71 bytes fit no glyph cell"), std::string::npos) << found.error;
    EXPECT_NE(found.error.find("or 72 (24x24)"), std::string::npos) << found.error;

    EXPECT_NE(hz::detectLayout(Bytes(32, 0xFF), DotCell(16, 16)).error.find("no dots"), std::string::npos);
}

} // namespace
