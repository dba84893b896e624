#include "core/glyph/glyph_record.h"
#include "core/glyph/text_walk.h"
#include "core/library/library_source.h"
#include "core/text/byte_text.h"

#include "library_files.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

using test::TempFolder;

int countLines(const std::string& text) {
    int lines = 0;
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
        ++lines;
    return lines;
}

// The bytes of an assembly text, read back field by field.
std::vector<std::uint8_t> bytesOfAssembly(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t at = 0; (at = text.find('h', at)) != std::string::npos; ++at)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(at - 2, 2), nullptr, 16)));
    return bytes;
}

// What a walk over a text handed on, in order.
struct Walked {
    std::vector<std::size_t> foundAt;
    std::vector<GlyphRecord> records;
    std::vector<RefusedCharacter> refused;
    std::vector<std::size_t> order; // every position handed on, found or refused
};

Walked walk(std::u32string_view text, const std::string& dir, int position, int spaceX, int spaceY) {
    LibrarySource source(dir, position, spaceX, spaceY);
    Walked walked;
    walkText(
        text, source,
        [&](std::size_t at, const GlyphRecord& record) {
            walked.foundAt.push_back(at);
            walked.records.push_back(record);
            walked.order.push_back(at);
        },
        [&](const RefusedCharacter& refused) {
            walked.refused.push_back(refused);
            walked.order.push_back(refused.position);
        });
    return walked;
}

struct LibraryCase {
    int position;
    std::string sizeText;
    std::string tag;
    int lines;
    bool halves;
};

TEST(GlyphRecord, RecordsOfEveryLibrary) {
    TempFolder dir;
    const std::vector<LibraryCase> cases = {
        {0, "12*12", "123216", 4, true},  {1, "16*16", "163216", 4, true},  {2, "16*16", "163216", 4, true},
        {3, "24*24", "247224", 9, false}, {4, "24*24", "247224", 9, false}, {5, "24*24", "247224", 9, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag + " at " + std::to_string(c.position));
        const FontLibrary& library = fontLibrary(c.position);
        test::writePatternLibrary(dir.path(), library, 1411);
        const Walked result = walk(U"啊", dir.path(), c.position, 0, 0);
        ASSERT_EQ(result.records.size(), 1u);
        EXPECT_TRUE(result.refused.empty());
        const GlyphRecord& record = result.records[0];

        EXPECT_EQ(record.character, "啊");
        EXPECT_EQ(record.sizeText, c.sizeText);
        EXPECT_EQ(record.tag(), c.tag);
        EXPECT_EQ(record.sizeNumber(), c.sizeText.substr(0, 2));
        EXPECT_EQ(record.glyphBytes(), library.GlyphBytes);
        EXPECT_EQ(record.cellSize(), library.CellSize);

        for (int a = 0; a < kArrangementCount; ++a) {
            const std::string& assembly = record.assemblyText(static_cast<std::size_t>(a));
            const std::string& c_ = record.cText(static_cast<std::size_t>(a));
            if (a >= 3 && !c.halves) {
                EXPECT_EQ(assembly, "");
                EXPECT_EQ(c_, "");
                continue;
            }
            EXPECT_TRUE(assembly.starts_with("DB ")) << a;
            EXPECT_TRUE(assembly.ends_with("\r\n")) << a;
            EXPECT_EQ(countLines(assembly), c.lines) << a;
            EXPECT_EQ(countLines(c_), c.lines - 1) << a;
            EXPECT_FALSE(c_.ends_with(",")) << a;
            EXPECT_EQ(bytesOfAssembly(assembly).size(), static_cast<std::size_t>(library.GlyphBytes));
        }
        // With no spacing, the row-wise text is the file's record (a 12x12 record then blank rows).
        auto expected = test::patternRecord(1410, library.recordSize);
        expected.resize(static_cast<std::size_t>(library.GlyphBytes), 0);
        EXPECT_EQ(bytesOfAssembly(record.assemblyText(0)), expected);
    }
}

TEST(GlyphRecord, TwelveByTwelveUsesTheSpacing) {
    TempFolder dir;
    const FontLibrary& library = fontLibrary(0);
    // Record 0 (the ideographic space here) has every dot of its 12x12 glyph set.
    std::vector<std::uint8_t> bytes;
    for (int r = 0; r < 12; ++r)
        bytes.insert(bytes.end(), {0xFF, 0xF0});
    test::writeFile(libraryPath(dir.path(), library), bytes);

    for (int space : {0, 2, 4}) {
        const Walked result = walk(U"\u3000", dir.path(), 0, space, space);
        ASSERT_EQ(result.records.size(), 1u);
        const auto rows = bytesOfAssembly(result.records[0].assemblyText(0));
        ASSERT_EQ(rows.size(), 32u);
        for (int r = 0; r < 16; ++r) {
            const bool inGlyph = r >= space && r < space + 12;
            const unsigned row = static_cast<unsigned>(rows[static_cast<std::size_t>(2 * r)] << 8 |
                                                       rows[static_cast<std::size_t>(2 * r + 1)]);
            EXPECT_EQ(row, inGlyph ? 0xFFF0u >> space : 0u) << "space " << space << " row " << r + 1;
        }
    }
}

// A record keeps a grey cell's levels, and a record filled again (as a walk reuses one) with a
// one-bit cell keeps none of them.
TEST(GlyphRecord, GreyCellsKeepTheirLevelsAndAReusedRecordForgetsThem) {
    LibrarySource source("/nonexistent", 1, 2, 2);
    DotCell grey = DotCell(10, 16, WidthClass::Half).withDepth(4);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 10; ++x)
            grey.setLevel(x, y, (x * 3 + y * 5) % 16);
    GlyphRecord record;
    fillRecord(record, U'A', grey, source);
    EXPECT_EQ(record.cell(), grey);
    EXPECT_EQ(record.sizeText, "10*16");
    const Layout greyRows = *parseLayout("rows-msb-4bpp");
    EXPECT_EQ(record.bytes(greyRows), encodeCell(grey, greyRows));
    // The one-bit bytes are the half-level shape, as for any reader of set and clear dots.
    EXPECT_EQ(record.bytes(Arrangement::Rows), grey.withDepth(1).rowBytes());

    DotCell oneBit(16, 16);
    oneBit.setDot(3, 4);
    fillRecord(record, U'温', oneBit, source);
    EXPECT_EQ(record.cell(), oneBit);
    EXPECT_EQ(record.cell().depth(), 1);
}

TEST(TextWalk, HandsOnEachCharacterInOrderWithItsPosition) {
    TempFolder dir;
    test::writePatternLibrary(dir.path(), fontLibrary(1), 1411);
    // Records end at 啊 (0xB0A1): 样 lies beyond the end of this short file.
    const Walked result = walk(U"A啊😀，样啊", dir.path(), 1, 2, 2);
    EXPECT_EQ(result.order, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(result.foundAt, (std::vector<std::size_t>{1, 3, 5}));
    ASSERT_EQ(result.records.size(), 3u);
    EXPECT_EQ(result.records[0].character, "啊");
    EXPECT_EQ(result.records[1].character, "，");
    EXPECT_EQ(result.records[2].character, "啊"); // the same character again is handed on again
    EXPECT_EQ(result.records[2].dots, result.records[0].dots);
    EXPECT_NE(result.records[1].dots, result.records[0].dots); // the reused record holds each glyph's own dots
    ASSERT_EQ(result.refused.size(), 3u);
    EXPECT_EQ(result.refused[0].position, 0u);
    EXPECT_EQ(result.refused[0].character, U'A');
    EXPECT_EQ(result.refused[0].status, LookupStatus::NotChinese);
    EXPECT_EQ(result.refused[1].position, 2u); // the emoji is one character, refused once
    EXPECT_EQ(result.refused[1].character, U'😀');
    EXPECT_EQ(result.refused[1].status, LookupStatus::NotChinese);
    EXPECT_EQ(result.refused[2].position, 4u);
    EXPECT_EQ(result.refused[2].status, LookupStatus::RecordOutsideFile);

    const Walked missing = walk(U"样字", dir.path(), 3, 2, 2);
    EXPECT_TRUE(missing.records.empty());
    ASSERT_EQ(missing.refused.size(), 2u);
    EXPECT_EQ(missing.refused[1].status, LookupStatus::LibraryMissing);

    EXPECT_TRUE(walk(U"", dir.path(), 1, 2, 2).order.empty());
}

TEST(TextWalk, RefusedLookupLeavesTheCell) {
    TempFolder dir;
    test::writePatternLibrary(dir.path(), fontLibrary(1), 1411);
    LibrarySource source(dir.path(), 1, 2, 2);
    DotCell cell;
    ASSERT_EQ(source.glyph(U'啊', cell), LookupStatus::Found);
    const DotCell before = cell;
    EXPECT_EQ(source.glyph(U'x', cell), LookupStatus::NotChinese);
    EXPECT_EQ(source.glyph(U'样', cell), LookupStatus::RecordOutsideFile);
    EXPECT_EQ(cell.rowBytes(), before.rowBytes());
}

TEST(GlyphRecord, KeepsAGreyGlyphsLevelsAndForgetsThemForTheNextOneBitGlyph) {
    TempFolder dir;
    LibrarySource source(dir.path(), 1, 2, 2);
    DotCell grey = DotCell(12, 10).withDepth(4);
    grey.setLevel(0, 0, 15);
    grey.setLevel(11, 0, 7); // below half: not among the record's dots
    grey.setLevel(5, 9, 8);
    GlyphRecord record;
    fillRecord(record, U'温', grey, source);
    EXPECT_EQ(record.depth, 4);
    EXPECT_EQ(record.cell(), grey);
    EXPECT_EQ(record.dots, grey.withDepth(1).rowBytes());
    // The texts are the depth's bytes.
    EXPECT_EQ(record.bytes(*parseLayout("rows-msb-4bpp")), encodeCell(grey, *parseLayout("rows-msb-4bpp")));

    DotCell plain(12, 10);
    plain.setDot(3, 3);
    fillRecord(record, U'度', plain, source);
    EXPECT_EQ(record.depth, 1);
    EXPECT_TRUE(record.levels.empty());
    EXPECT_EQ(record.cell(), plain);
}

} // namespace
} // namespace hz
