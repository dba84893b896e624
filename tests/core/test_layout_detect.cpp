#include "other_font.h"
#include "process.h"
#include "temp_folder.h"

#include "core/glyph/glyph_source.h"
#include "core/layout/byte_paste.h"
#include "core/layout/layout_detect.h"
#include "core/library/font_library.h"
#include "core/library/library_source.h"
#include "core/text/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
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

// The character as the chosen library draws it, then as the other five do, as the command line
// compares it.
std::vector<DotCell> libraryFaces(int chosen, char32_t character) {
    std::vector<DotCell> faces{libraryGlyph(chosen, character)};
    for (int position = 0; position < hz::kLibraryCount; ++position)
        if (position != chosen)
            faces.push_back(libraryGlyph(position, character));
    return faces;
}

hz::LayoutDetection detected(std::span<const std::uint8_t> bytes, const std::vector<DotCell>& faces) {
    auto found = hz::detectLayout(bytes, faces);
    EXPECT_TRUE(found) << static_cast<int>(found.problem().kind);
    return found ? *found : hz::LayoutDetection{};
}

hz::LayoutDetection detected(std::span<const std::uint8_t> bytes, const DotCell& reference) {
    return detected(bytes, std::vector<DotCell>{reference});
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
            const hz::LayoutDetection found = detected(*bytes, reference);
            ASSERT_FALSE(found.candidates.empty());
            EXPECT_EQ(hz::layoutName(found.candidates.front().layout), hz::layoutName(layout))
                << "style " << style << "\n"
                << hz::detectionLines(found);
            EXPECT_FALSE(found.ambiguous) << hz::layoutName(layout);
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
    auto found = detected(hz::encodeCell(big, pagesLsb), libraryGlyph(k16Song, U'我'));
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_EQ(found.candidates.front().layout, pagesLsb) << hz::detectionLines(found);
    EXPECT_EQ(found.candidates.front().cell, (hz::CellSize{24, 24}));

    const DotCell small = hz::test::otherFontGlyph(16, U'我');
    found = detected(hz::encodeCell(small, pagesLsb), libraryGlyph(k24Song, U'我'));
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_EQ(found.candidates.front().layout, pagesLsb) << hz::detectionLines(found);
}

TEST(LayoutDetect, EpaperBytesAreFoundInverted) {
    const DotCell glyph = hz::test::otherFontGlyph(24, U'的');
    const auto epaper = *hz::parseLayout("rows-msb-invert");
    const auto found = detected(hz::encodeCell(glyph, epaper), libraryGlyph(k24Song, U'的'));
    ASSERT_FALSE(found.candidates.empty());
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
    const auto found = detected(hz::encodeCell(glyph, layout), libraryGlyph(k16Song, U'中'));
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_TRUE(found.mirrorAmbiguous) << hz::detectionLines(found);
    EXPECT_FALSE(found.sure());
    const auto top = {found.candidates[0].layout, found.candidates[found.runnerUp].layout};
    EXPECT_NE(std::find(top.begin(), top.end(), layout), top.end());
}

TEST(LayoutDetect, TheRunnerUpIsAnotherLayoutNotTheSameAtAnotherCell) {
    // 36 bytes of columns fit 12x23 and 12x24: the same layout at both must not make it a tie.
    DotCell glyph(12, 24, hz::WidthClass::Half);
    for (int i = 0; i < 24; ++i) {
        glyph.setDot(i / 2, i);
        glyph.setDot(2, i / 2);
        glyph.setDot(i % 12, 20);
    }
    const auto layout = *hz::parseLayout("columns-msb");
    const auto found = detected(hz::encodeCell(glyph, layout), glyph);
    ASSERT_GT(found.runnerUp, 0u);
    EXPECT_EQ(found.candidates.front().layout, layout);
    EXPECT_NE(found.candidates[found.runnerUp].layout, layout);
    EXPECT_TRUE(found.sure()) << hz::detectionLines(found);
}

TEST(LayoutDetect, WidthAndHeightHeaderIsSkipped) {
    const DotCell glyph = hz::test::otherFontGlyph(24, U'永');
    Bytes bytes{24, 24};
    const auto body = hz::encodeCell(glyph, *hz::parseLayout("columns-msb"));
    bytes.insert(bytes.end(), body.begin(), body.end());
    const auto found = detected(bytes, libraryGlyph(k24Song, U'永'));
    EXPECT_TRUE(found.headerSkipped);
    EXPECT_EQ(hz::layoutName(found.candidates.front().layout), "columns-msb");
}

TEST(LayoutDetect, OutputLinesAndScores) {
    const DotCell glyph = hz::test::otherFontGlyph(16, U'我');
    const auto found = detected(hz::encodeCell(glyph, Layout{}), libraryGlyph(k16Song, U'我'));
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

// A copy of cell with its ink box moved to (left, top) and scaled to width x height dots, in a
// cell of side `side`: the same character as another font places and sizes it.
DotCell placedAgain(const DotCell& cell, int side, int left, int top, int width, int height) {
    int x0 = cell.width(), y0 = cell.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.dot(x, y)) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    DotCell ink(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            ink.setDot(x - x0, y - y0, cell.dot(x, y));
    const DotCell scaled = hz::resampleCell(ink, width, height);
    DotCell out(side, side);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.setDot(left + x, top + y, scaled.dot(x, y));
    return out;
}

DotCell inverse(const DotCell& cell) {
    DotCell out(cell.width(), cell.height());
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            out.setDot(x, y, !cell.dot(x, y));
    return out;
}

TEST(LayoutDetect, InkBoxSimilarityComparesStrokesWhereverAndHoweverLargeTheGlyphIs) {
    const DotCell wo = hz::test::otherFontGlyph(24, U'我');
    struct Row {
        const char* what;
        DotCell candidate;
        double atLeast, below;
    };
    const std::vector<Row> rows{
        {"itself", wo, 1.0, 1.01},
        {"two thirds the size in a corner", placedAgain(wo, 24, 0, 0, 16, 16), 0.8, 1.01},
        {"in a 40-dot cell, off centre", placedAgain(wo, 40, 10, 3, 30, 34), 0.8, 1.01},
        {"the library's 16-dot Song", libraryGlyph(k16Song, U'我'), 0.6, 1.01},
        {"another character", hz::test::otherFontGlyph(24, U'永'), 0.0, 0.5},
        {"mirrored", placedAgain(wo, 24, 0, 0, 1, 1), 0.0, 0.5}, // replaced below
        {"inverse", inverse(wo), 0.0, 0.05},
        {"blank", DotCell(24, 24), 0.0, 1e-9},
    };
    for (const Row& row : rows) {
        DotCell candidate = row.candidate;
        if (std::string(row.what) == "mirrored") {
            candidate = DotCell(24, 24);
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x)
                    candidate.setDot(23 - x, y, wo.dot(x, y));
        }
        const double likeness = hz::inkBoxSimilarity(wo, candidate);
        EXPECT_GE(likeness, row.atLeast) << row.what;
        EXPECT_LT(likeness, row.below) << row.what;
        EXPECT_DOUBLE_EQ(likeness, hz::inkBoxSimilarity(candidate, wo)) << row.what << ": not symmetric";
    }
    // A flat stroke stays flat: 一 is not like a square of ink.
    DotCell bar(16, 16), block(16, 16);
    for (int x = 2; x < 14; ++x) {
        bar.setDot(x, 8);
        for (int y = 2; y < 14; ++y)
            block.setDot(x, y, (x + y) % 3 == 0);
    }
    EXPECT_LT(hz::inkBoxSimilarity(bar, block), 0.3);
}

TEST(LayoutDetect, PasteCellsAreTheCellsTheBytesMayFill) {
    struct Row {
        Bytes bytes;
        std::vector<hz::CellSize> cells;
    };
    Bytes headed(2 + 72), notHeaded(32);
    headed[0] = headed[1] = 24;
    notHeaded[0] = notHeaded[1] = 16; // the 30 bytes after it fit 15x15, not 16x16
    const std::vector<Row> rows{
        {Bytes(32), {{16, 16}}}, {Bytes(72), {{24, 24}}}, {Bytes(36), {{9, 18}, {12, 23}, {12, 24}}},
        {headed, {{24, 24}}}, // the header names the cell of the 72 bytes after it
        {notHeaded, {{16, 16}}}, {Bytes(71), {}},
    };
    for (const Row& row : rows) {
        std::vector<hz::CellSize> cells = hz::pasteCells(row.bytes);
        EXPECT_EQ(cells, row.cells) << row.bytes.size() << " bytes";
    }
}

TEST(LayoutDetect, BytesOfOneLibrarysFaceMovedADotAreFoundAgainstAllSix) {
    // Bytes of the Kai face, no face's own picture, against the six libraries: the Kai library
    // speaks for the right layout though the Song, Hei and twelve-dot faces are the majority.
    const DotCell kai = libraryGlyph(4, U'然');
    std::vector<DotCell> faces = libraryFaces(k16Song, U'然');
    const auto layout = *hz::parseLayout("columns-lsb-up");
    DotCell moved(24, 24);
    for (int y = 0; y + 1 < 24; ++y)
        moved.setRow(y + 1, kai.row(y) >> 1); // one dot lower and right: no face's own picture
    const auto found = detected(hz::encodeCell(moved, layout), faces);
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_EQ(found.candidates.front().layout, layout) << hz::detectionLines(found);
    EXPECT_TRUE(found.sure()) << hz::detectionLines(found);
}

TEST(LayoutDetect, LayoutsThatDifferOnlyByMirrorsNeedAWiderLead) {
    // 三 as a font draws it: three bars, the lowest the longest, one dot off centre. Mirrored, it is
    // dot for dot another face's 三, which must not make the mirror a sure answer.
    DotCell drawn(16, 16), other(16, 16);
    for (int x = 3; x <= 11; ++x)
        drawn.setDot(x, 3);
    for (int x = 4; x <= 10; ++x)
        drawn.setDot(x, 8);
    for (int x = 1; x <= 13; ++x)
        drawn.setDot(x, 13);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            other.setDot(15 - x, y, drawn.dot(x, y));
    const auto layout = *hz::parseLayout("pages-msb-up-left");
    const auto found =
        detected(hz::encodeCell(drawn, layout), std::vector<DotCell>{libraryGlyph(k16Song, U'三'), other});
    ASSERT_FALSE(found.candidates.empty());
    EXPECT_FALSE(found.sure()) << hz::detectionLines(found);
    EXPECT_TRUE(found.ambiguous);
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
    const std::vector<DotCell> faces{reference};
    auto kindOf = [](const hz::Result<hz::LayoutDetection>& found) {
        return found ? std::string("found") : std::to_string(static_cast<int>(found.problem().kind));
    };
    using Kind = hz::ProblemKind;
    EXPECT_EQ(kindOf(hz::detectLayout({}, faces)), std::to_string(static_cast<int>(Kind::MatchNoBytes)));

    const auto odd = hz::detectLayout(Bytes(71, 0x55), faces);
    ASSERT_FALSE(odd);
    EXPECT_EQ(odd.problem(), (hz::Problem{.kind = Kind::MatchNoCell, .number = 71}));
    EXPECT_EQ(hz::nearestFittingCounts(71), (std::vector<std::size_t>{69, 72}));
    EXPECT_EQ(hz::nearestFittingCounts(3), (std::vector<std::size_t>{4}));

    // The chosen face must have dots; a blank other face is only left out.
    EXPECT_EQ(kindOf(hz::detectLayout(Bytes(32, 0xFF), std::vector<DotCell>{DotCell(16, 16)})),
              std::to_string(static_cast<int>(Kind::MatchBlankReference)));
    EXPECT_EQ(
        kindOf(hz::detectLayout(hz::encodeCell(reference, Layout{}), std::vector<DotCell>{reference, DotCell(16, 16)})),
        "found");
}

// Glyphs of fonts none of the six libraries is made from, in every layout, against the six
// libraries' faces: the measure of how often the answer is right. Libraries made once per run.
struct OtherFace {
    const char* font; // below the fonts folder
    int face;
    int size;
};

const std::string& otherFaceLibrary(const OtherFace& font) {
    static std::unique_ptr<hz::test::TempFolder> dir;
    static std::map<std::string, std::string> made;
    const std::string key = std::string(font.font) + "/" + std::to_string(font.face) + "/" + std::to_string(font.size);
    if (auto it = made.find(key); it != made.end())
        return it->second;
    if (!dir)
        dir = std::make_unique<hz::test::TempFolder>();
    const std::string out = dir->file("face" + std::to_string(made.size()));
    const auto run =
        hz::test::runMkfont({"--font", std::string(HZDOT_FONT_ROOT) + "/" + font.font, "--face",
                             std::to_string(font.face), "--size", std::to_string(font.size), "--output", out});
    EXPECT_EQ(run.status, 0) << run.err;
    return made[key] = out;
}

struct Tally {
    int tried = 0, right = 0, sure = 0, wrongButSure = 0;
};

// Level-one hanzi (rows 0xB0 to 0xD7) drawn by the font, each in a random layout.
Tally detectAcrossFaces(const OtherFace& font, int count, unsigned seed) {
    const std::string library = hz::test::readFile(otherFaceLibrary(font));
    const auto recordSize = static_cast<std::size_t>((font.size + 7) / 8 * font.size);
    const int chosen = font.size == 24 ? k24Song : k16Song;
    std::mt19937 random(seed);
    Tally tally;
    while (tally.tried < count) {
        const int row = 0xB0 + static_cast<int>(random() % 40), column = 0xA1 + static_cast<int>(random() % 94);
        const std::size_t record = static_cast<std::size_t>((row - 0xA1) * 94 + column - 0xA1);
        const auto* data = reinterpret_cast<const std::uint8_t*>(library.data()) + record * recordSize;
        const DotCell glyph = DotCell::fromRowBytes({data, recordSize}, font.size, font.size);
        const auto character = hz::cp936Character(static_cast<std::uint16_t>(row * 256 + column));
        if (glyph.inkCount() == 0 || !character)
            continue;
        const Layout layout = Layout::fromIndex(static_cast<int>(random() % Layout::kCount));
        const hz::LayoutDetection found = detected(hz::encodeCell(glyph, layout), libraryFaces(chosen, *character));
        const bool right = found.candidates.front().layout == layout;
        ++tally.tried;
        tally.right += right;
        tally.sure += found.sure();
        tally.wrongButSure += !right && found.sure();
        EXPECT_TRUE(right || !found.sure())
            << font.font << " " << std::hex << row * 256 + column << " " << hz::layoutName(layout) << "\n"
            << hz::detectionLines(found);
    }
    return tally;
}

TEST(LayoutDetect, FontsUnlikeTheLibrariesAreFoundOrLeftOpenNeverWrong) {
    const OtherFace faces[] = {
        {"truetype/wqy/wqy-microhei.ttc", 0, 16},
        {"truetype/wqy/wqy-microhei.ttc", 0, 24},
        {"truetype/arphic/uming.ttc", 1, 24},
        {"truetype/wqy/wqy-zenhei.ttc", 0, 16},
        {"truetype/arphic-gkai00mp/gkai00mp.ttf", 0, 16},
        {"truetype/arphic-gbsn00lp/gbsn00lp.ttf", 0, 16},
    };
    Tally all;
    for (std::size_t i = 0; i < std::size(faces); ++i) {
        const Tally t = detectAcrossFaces(faces[i], 60, static_cast<unsigned>(i + 1));
        all.tried += t.tried;
        all.right += t.right;
        all.sure += t.sure;
        all.wrongButSure += t.wrongButSure;
    }
    EXPECT_EQ(all.wrongButSure, 0);
    // Most answers are given, and nearly all best layouts are right even where they are not.
    EXPECT_GE(all.sure * 10, all.tried * 8);
    EXPECT_GE(all.right * 100, all.tried * 96);
    std::printf("%d glyphs: best layout right %d, sure %d, wrong but sure %d\n", all.tried, all.right, all.sure,
                all.wrongButSure);
}

TEST(LayoutDetect, RandomBytesAreNeverTakenForACharacter) {
    // Byte counts of many cells, from 4x8 to 64x64, and thin to dense random dots.
    const std::size_t counts[] = {8, 9, 10, 16, 18, 24, 32, 48, 60, 72, 128, 200, 288, 512};
    std::mt19937 random(2024);
    for (char32_t character : {U'我', U'的', U'永', U'中', U'一', U'国'}) {
        const auto faces = libraryFaces(k16Song, character);
        for (std::size_t count : counts)
            for (int density = 0; density < 3; ++density) {
                Bytes bytes(count);
                for (auto& b : bytes) {
                    b = static_cast<std::uint8_t>(random());
                    if (density == 1)
                        b &= static_cast<std::uint8_t>(random());
                    if (density == 2)
                        b |= static_cast<std::uint8_t>(random());
                }
                const hz::LayoutDetection found = detected(bytes, faces);
                EXPECT_FALSE(found.sure()) << count << " bytes, density " << density << "\n"
                                           << hz::detectionLines(found);
            }
    }
}

} // namespace
