// Sizes beyond the six libraries', other character sets and layouts: every record at the offset the
// tool states, holding what a live lookup of the same font draws.

#include "bdf_font.h"
#include "process.h"
#include "temp_folder.h"

#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
#include "core/text/codepage.h"
#include "fontsource/font_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

using hz::fontsource::FontSource;

const std::string kMicrohei = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const std::string kSong = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";
const std::string kGuobiao16 = "/usr/share/fonts/X11/misc/guob16.pcf.gz";

std::vector<std::uint8_t> recordAt(const std::string& bytes, std::size_t offset, std::size_t size) {
    EXPECT_LE(offset + size, bytes.size());
    if (offset + size > bytes.size())
        return {};
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + size)};
}

std::size_t gb2312Offset(std::uint16_t code, std::size_t recordSize) {
    return static_cast<std::size_t>(((code >> 8) - 0xA1) * 94 + ((code & 0xFF) - 0xA1)) * recordSize;
}

std::size_t gbkOffset(std::uint16_t code, std::size_t recordSize) {
    const int lead = code >> 8;
    const int trail = code & 0xFF;
    return static_cast<std::size_t>((lead - 0x81) * 190 + (trail - 0x40 - (trail > 0x7F))) * recordSize;
}

bool assigned(std::uint16_t code) {
    const auto c = hz::cp936Character(code);
    return c && !(*c >= 0xE000 && *c <= 0xF8FF);
}

std::unique_ptr<FontSource> openLive(const std::string& font, int size) {
    auto source = FontSource::open({font, 0, size, {}});
    if (!source) {
        ADD_FAILURE() << source.problem().value;
        return nullptr;
    }
    return std::move(*source);
}

// The live glyph as the layout encodes it; a blank cell of the width when the font lacks it.
std::vector<std::uint8_t> liveRecord(FontSource& source, char32_t character, const hz::Layout& layout, int width) {
    hz::DotCell cell(width, source.height());
    source.glyph(character, cell);
    return hz::encodeCell(cell, layout);
}

TEST(CellSizes, AnySizeFromEightToSixtyFourInTheLibrariesOrder) {
    TempFolder scratch;
    for (int size : {8, 20, 64}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string output = scratch.file("library" + std::to_string(size));
        const ProcessResult run = runMkfont({"--font", kMicrohei, "--size", std::to_string(size), "--output", output});
        ASSERT_EQ(run.status, 0) << run.err;
        const std::size_t recordSize = static_cast<std::size_t>((size + 7) / 8 * size);
        const std::string bytes = readFile(output);
        ASSERT_EQ(bytes.size(), 8178 * recordSize);
        EXPECT_NE(run.out.find("record size: " + std::to_string(recordSize) + " bytes, rows-msb"), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("((HH - 0xA1) * 94 + (LL - 0xA1)) * " + std::to_string(recordSize)), std::string::npos)
            << run.out;

        const auto source = openLive(kMicrohei, size);
        ASSERT_TRUE(source);
        for (const char32_t c : {U'国', U'齄', U'！', U'ā'}) {
            const std::uint16_t code = *hz::cp936Code(c);
            EXPECT_EQ(recordAt(bytes, gb2312Offset(code, recordSize), recordSize),
                      liveRecord(*source, c, hz::Layout{}, size))
                << std::hex << code;
        }
    }
}

TEST(Layouts, EachRecordIsTheSameGlyphInTheChosenLayout) {
    TempFolder scratch;
    for (int size : {12, 20}) {
        const std::string rowsFile = scratch.file("rows");
        ASSERT_EQ(runMkfont({"--font", kSong, "--size", std::to_string(size), "--output", rowsFile}).status, 0);
        const std::string rows = readFile(rowsFile);
        const std::size_t rowsSize = static_cast<std::size_t>((size + 7) / 8 * size);

        for (const char* choice : {"pages-lsb", "columns-msb-up-invert", "2", "下半列排"}) {
            SCOPED_TRACE(std::string(choice) + " at " + std::to_string(size));
            const std::string file = scratch.file("laid-out");
            const ProcessResult run =
                runMkfont({"--font", kSong, "--size", std::to_string(size), "--layout", choice, "--output", file});
            ASSERT_EQ(run.status, 0) << run.err;
            const hz::Layout layout = hz::parseLayoutChoice(choice)->layout;
            const std::size_t recordSize = hz::encodedSize(layout, size, size);
            const std::string bytes = readFile(file);
            ASSERT_EQ(bytes.size(), 8178 * recordSize);
            EXPECT_NE(run.out.find("record size: " + std::to_string(recordSize) + " bytes, " + hz::layoutName(layout)),
                      std::string::npos)
                << run.out;

            int differing = 0;
            for (int hi = 0xA1; hi <= 0xF7; ++hi) {
                for (int lo = 0xA1; lo <= 0xFE; ++lo) {
                    const auto code = static_cast<std::uint16_t>(hi << 8 | lo);
                    const hz::DotCell laidOut =
                        hz::decodeCell(recordAt(bytes, gb2312Offset(code, recordSize), recordSize), layout, size, size);
                    const hz::DotCell plain = hz::decodeCell(recordAt(rows, gb2312Offset(code, rowsSize), rowsSize),
                                                             hz::Layout{}, size, size);
                    differing += laidOut != plain;
                }
            }
            EXPECT_EQ(differing, 0);
        }
    }
}

TEST(GbkCharset, EveryCodeInLeadTrailOrderAsALiveLookupDrawsIt) {
    TempFolder scratch;
    const std::string file = scratch.file("gbk");
    const ProcessResult run = runMkfont({"--font", kMicrohei, "--size", "16", "--charset", "gbk", "--output", file});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = readFile(file);
    ASSERT_EQ(bytes.size(), 23940u * 32);
    EXPECT_NE(run.out.find("((LEAD - 0x81) * 190 + (TRAIL - 0x40 - (TRAIL > 0x7F))) * 32"), std::string::npos)
        << run.out;

    const auto source = openLive(kMicrohei, 16);
    ASSERT_TRUE(source);
    const std::vector<std::uint8_t> blank(32, 0);
    int assignedCodes = 0, inked = 0, differing = 0, unassignedInked = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
            const std::vector<std::uint8_t> record = recordAt(bytes, gbkOffset(code, 32), 32);
            if (!assigned(code)) {
                unassignedInked += record != blank;
                continue;
            }
            ++assignedCodes;
            inked += record != blank;
            differing += record != liveRecord(*source, *hz::cp936Character(code), hz::Layout{}, 16);
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(unassignedInked, 0);
    EXPECT_GT(assignedCodes, 21000); // code page 936's two-byte characters, less its user-defined areas
    EXPECT_GT(inked, 21000);
    EXPECT_NE(recordAt(bytes, gbkOffset(0x8140, 32), 32), blank) << "丂, the first GBK code";
    EXPECT_NE(recordAt(bytes, gbkOffset(0x8180, 32), 32), blank) << "the first code after trail 7F";
}

TEST(AsciiCharset, NinetyFivePrintableCharactersInHalfWidthCells) {
    TempFolder scratch;
    for (const auto& [size, layoutName] :
         {std::pair{16, "rows-msb"}, std::pair{20, "rows-msb"}, std::pair{20, "columns-lsb"}}) {
        SCOPED_TRACE(std::to_string(size) + " " + layoutName);
        const std::string file = scratch.file("ascii");
        const ProcessResult run = runMkfont({"--font", kMicrohei, "--size", std::to_string(size), "--charset", "ascii",
                                             "--layout", layoutName, "--output", file});
        ASSERT_EQ(run.status, 0) << run.err;
        const int width = (size + 1) / 2;
        const hz::Layout layout = *hz::parseLayout(layoutName);
        const std::size_t recordSize = hz::encodedSize(layout, width, size);
        if (layout == hz::Layout{}) {
            EXPECT_EQ(recordSize, static_cast<std::size_t>((width + 7) / 8 * size));
        }
        const std::string bytes = readFile(file);
        ASSERT_EQ(bytes.size(), 95 * recordSize);
        EXPECT_NE(run.out.find("95 records of " + std::to_string(recordSize) + " bytes, " + std::to_string(width) +
                               "x" + std::to_string(size) + " dots (half width)"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("(C - 0x20) * " + std::to_string(recordSize)), std::string::npos) << run.out;

        const auto source = openLive(kMicrohei, size);
        ASSERT_TRUE(source);
        for (char32_t c = 0x20; c <= 0x7E; ++c) {
            EXPECT_EQ(recordAt(bytes, (c - 0x20) * recordSize, recordSize), liveRecord(*source, c, layout, width))
                << static_cast<char>(c);
        }
        EXPECT_EQ(hz::decodeCell(recordAt(bytes, 0, recordSize), layout, width, size).inkCount(), 0) << "space";
    }
}

TEST(AsciiCharset, AFontWithoutLettersGivesBlankRecordsAndSaysSo) {
    TempFolder scratch;
    const ProcessResult run =
        runMkfont({"--font", kGuobiao16, "--size", "16", "--charset", "ascii", "--output", scratch.file("ascii")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(scratch.file("ascii")), std::string(95 * 16, '\0'));
    EXPECT_NE(run.out.find("no glyph for 95 of 95 characters"), std::string::npos) << run.out;
}

TEST(AsciiCharset, ALatinFontWithoutHanziIsEnough) {
    TempFolder scratch;
    writeFile(scratch.file("latin.bdf"), latinFont().text());
    const ProcessResult run = runMkfont(
        {"--font", scratch.file("latin.bdf"), "--size", "16", "--charset", "ascii", "--output", scratch.file("ascii")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = readFile(scratch.file("ascii"));
    ASSERT_EQ(bytes.size(), 95u * 16);
    // 'A' is record 0x21: a frame on rows 4..13 of its 8x16 cell, columns 1..6.
    const hz::DotCell cell =
        hz::decodeCell(recordAt(bytes, ('A' - 0x20) * 16, 16), hz::Layout{}, 8, 16, hz::WidthClass::Half);
    EXPECT_EQ(cell.row(4), 0x7Eull << 56);
    EXPECT_EQ(cell.row(13), 0x7Eull << 56);
    EXPECT_EQ(cell.inkCount(), 28);
    EXPECT_NE(run.out.find("from the font's ascender and descender (it has no hanzi)"), std::string::npos) << run.out;
}

TEST(Help, NamesTheNewOptions) {
    const ProcessResult run = runMkfont({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* part : {"--size N", "8 to 64", "--charset SET", "gbk", "ascii", "--layout L", "rows-msb"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
}

} // namespace
