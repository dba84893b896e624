#include "core/output/export_layout.h"

#include "library_record.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

const std::string kZeroAsm = "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  00h";
const std::string kZeroC = "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00";

TEST(ExportLayout, ExportAllOfTwoRecords) {
    const std::vector<GlyphRecord> records = {
        test::libraryRecord(U'样', {0x00, 0x00, 0x04, 0x40, 0x07, 0xE0, 0x08, 0x40}, 1),
        test::libraryRecord(U'字', {}, 1),
    };
    // An assembly block ends with an empty line, a C block with "};".
    const std::string yangAsm = joinCrLf(
        {";样[16*16]横排", "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h", kZeroAsm, kZeroAsm, kZeroAsm, ""});
    const std::string ziAsm = joinCrLf({";字[16*16]横排", kZeroAsm, kZeroAsm, kZeroAsm, kZeroAsm, ""});
    const std::string yangC =
        joinCrLf({"{//样[16*16]横排", "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,", kZeroC + ",", kZeroC + ","}) +
        kZeroC + "};";
    const std::string ziC = joinCrLf({"{//字[16*16]横排", kZeroC + ",", kZeroC + ",", kZeroC + ","}) + kZeroC + "};";

    // All: the assembly blocks, an empty line, then the C blocks, a line each.
    EXPECT_EQ(exportAllText(records, Arrangement::Rows), yangAsm + ziAsm + "\r\n" + yangC + "\r\n" + ziC + "\r\n");
    EXPECT_EQ(exportAllText(std::span(records.data(), 1), Arrangement::Rows), yangAsm + "\r\n" + yangC + "\r\n");
    // The current record alone: its blocks, without the separator line and the last line break.
    EXPECT_EQ(exportCurrentText(records[0], Arrangement::Rows), yangAsm + yangC);
}

// A grey layout is named with its depth in both headers, and its bytes are the record's levels.
TEST(ExportLayout, GreyRecordsNameTheirDepth) {
    GlyphRecord record = test::libraryRecord(U'样', {0xC0}, 1); // the first two dots set
    const Layout grey = *parseLayout("rows-msb-2bpp");
    const std::string text = exportCurrentText(record, LayoutChoice::of(grey));
    // 16 dots at 2 bits: four bytes a row; the first row 11 11 00 00 ... = F0 00 00 00.
    EXPECT_TRUE(text.starts_with(";样[16*16]rows-msb-2bpp\r\nDB  0F0h,  00h,  00h,  00h,")) << text;
    EXPECT_NE(text.find("{//样[16*16]rows-msb-2bpp\r\n0xF0,0x00,0x00,0x00,"), std::string::npos) << text;
}

TEST(ExportLayout, EmptyHalfTextsStillGetTheirHeaders) {
    for (int position : {3, 4, 5}) {
        const GlyphRecord record = test::libraryRecord(U'字', {0xFF}, position);
        const std::string head = "[24*24]上半列排";
        EXPECT_EQ(exportAllText(std::span(&record, 1), Arrangement::HalfDown),
                  ";字" + head + "\r\n\r\n\r\n{//字" + head + "\r\n};\r\n");
        EXPECT_EQ(exportCurrentText(record, Arrangement::HalfDown), ";字" + head + "\r\n\r\n{//字" + head + "\r\n};");
    }
}

TEST(ExportLayout, TraditionalRecordsHaveHalfColumnBytes) {
    // The top band of the first column holds the first row's leftmost dot: byte 1 is 0x01 / 0x80.
    const GlyphRecord record = test::libraryRecord(U'字', {0x80}, 2);
    const std::string up = exportCurrentText(record, Arrangement::HalfUp);
    const std::string down = exportCurrentText(record, Arrangement::HalfDown);
    EXPECT_TRUE(up.starts_with(";字[16*16]下半列排\r\nDB   01h,  00h")) << up;
    EXPECT_TRUE(down.starts_with(";字[16*16]上半列排\r\nDB   80h,  00h")) << down;
    EXPECT_NE(up.find("{//字[16*16]下半列排\r\n0x01,0x00"), std::string::npos) << up;
}

TEST(ExportLayout, HeadersTakeTheSizeFromEachRecordAndTheChosenArrangement) {
    const std::vector<GlyphRecord> records = {
        test::libraryRecord(U'啊', {}, 0),
        test::libraryRecord(U'啊', {}, 1),
        test::libraryRecord(U'啊', {}, 4),
    };
    const std::string text = exportAllText(records, Arrangement::ColsDown);
    for (const char* header : {";啊[12*12]上下列排\r\n", ";啊[16*16]上下列排\r\n", ";啊[24*24]上下列排\r\n",
                               "{//啊[12*12]上下列排\r\n", "{//啊[24*24]上下列排\r\n"})
        EXPECT_NE(text.find(header), std::string::npos) << header;
    EXPECT_NE(exportCurrentText(records[2], Arrangement::ColsUp).find("\r\n{//啊[24*24]下上列排\r\n"),
              std::string::npos);
    // The arrangement's texts are what is written, in both syntaxes.
    EXPECT_NE(text.find(records[2].assemblyText(2)), std::string::npos);
    EXPECT_NE(text.find(records[2].cText(2) + "};"), std::string::npos);
}

} // namespace
} // namespace hz

namespace hz {
namespace {

// Records of random dots, in every one-bit layout (the column arrangements take a shorter way to
// their bytes), give the bytes the general encoder makes of their cells; so do cells that way does
// not take: sides not a multiple of 8, grey dots.
TEST(ExportLayout, BytesOfEveryLayoutAreTheEncodersBytes) {
    struct Size {
        int width, height, depth;
    };
    unsigned seed = 7;
    const auto next = [&] { return seed = seed * 1103515245u + 12345u; };
    for (const Size size : {Size{8, 8, 1}, Size{16, 16, 1}, Size{24, 24, 1}, Size{8, 16, 1}, Size{64, 64, 1},
                            Size{40, 24, 1}, Size{12, 12, 1}, Size{10, 20, 1}, Size{16, 16, 4}}) {
        DotCell cell(size.width, size.height);
        cell = cell.withDepth(size.depth);
        const int most = (1 << size.depth) - 1;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                cell.setLevel(x, y, static_cast<int>(next() >> 16) % (most + 1));
        GlyphRecord record;
        record.character = "样";
        record.sizeText = cellSizeText(size.width, size.height);
        record.width = static_cast<std::uint8_t>(size.width);
        record.height = static_cast<std::uint8_t>(size.height);
        record.depth = static_cast<std::uint8_t>(size.depth);
        record.dots = cell.withDepth(1).rowBytes();
        if (size.depth > 1)
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    record.levels.push_back(static_cast<std::uint8_t>(cell.level(x, y)));
        for (int index = 0; index < Layout::kCount; ++index) {
            Layout layout = Layout::fromIndex(index);
            layout.bpp = size.depth;
            if (!hasGreyForm(layout))
                continue;
            const ExportForm form{LayoutChoice::of(layout), layoutName(layout)};
            EXPECT_EQ(exportBytes(record, form), encodeCell(record.cell(), layout))
                << size.width << "x" << size.height << " " << layoutName(layout);
        }
        for (int a = 0; a < kArrangementCount; ++a) {
            const auto arrangement = static_cast<Arrangement>(a);
            if (size.depth == 1) {
                EXPECT_EQ(exportBytes(record, {LayoutChoice::of(arrangement), "x"}),
                          encodeCell(record.cell(), arrangementLayout(arrangement)))
                    << size.width << "x" << size.height << " arrangement " << a;
            }
        }
    }
}

} // namespace
} // namespace hz
