#include "core/output/export_layout.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

Glyph glyphOf(std::vector<std::uint8_t> bytes, int position) {
    const FontLibrary& library = fontLibrary(position);
    Glyph glyph;
    glyph.GlyphBytes = library.GlyphBytes;
    glyph.CellSize = library.CellSize;
    bytes.resize(static_cast<std::size_t>(library.GlyphBytes), 0);
    glyph.GlyphData = std::move(bytes);
    return glyph;
}

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
        buildRecord(U'样', glyphOf({0x00, 0x00, 0x04, 0x40, 0x07, 0xE0, 0x08, 0x40}, 1), 1, 2, 2),
        buildRecord(U'字', glyphOf({}, 1), 1, 2, 2),
    };
    const std::string expected = joinCrLf({
        ";样[16*16]横排",
        "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h",
        kZeroAsm,
        kZeroAsm,
        kZeroAsm,
        "",
        ";字[16*16]横排",
        kZeroAsm,
        kZeroAsm,
        kZeroAsm,
        kZeroAsm,
        "",
        "",
        "{//样[16*16]横排",
        "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,",
        kZeroC + ",",
        kZeroC + ",",
        kZeroC + "};",
        "{//字[16*16]横排",
        kZeroC + ",",
        kZeroC + ",",
        kZeroC + ",",
        kZeroC + "};",
    });
    EXPECT_EQ(exportAllText(records, Arrangement::Rows), expected);

    // The current record alone: the same blocks, without the separator line and the last line break.
    const std::string current = exportCurrentText(records[0], Arrangement::Rows);
    const std::string expectedCurrent = joinCrLf({
                                            ";样[16*16]横排",
                                            "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h",
                                            kZeroAsm,
                                            kZeroAsm,
                                            kZeroAsm,
                                            "",
                                            "{//样[16*16]横排",
                                            "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,",
                                            kZeroC + ",",
                                            kZeroC + ",",
                                        }) +
                                        kZeroC + "};";
    EXPECT_EQ(current, expectedCurrent);

    const std::string allOfOne = exportAllText(std::span(records.data(), 1), Arrangement::Rows);
    EXPECT_EQ(allOfOne, joinCrLf({";样[16*16]横排", "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h", kZeroAsm,
                                  kZeroAsm, kZeroAsm, "", ""}) +
                            current.substr(current.find("{//")) + "\r\n");
}

TEST(ExportLayout, EmptyHalfTextsStillGetTheirHeaders) {
    for (int position : {3, 4, 5}) {
        const GlyphRecord record = buildRecord(U'字', glyphOf({0xFF}, position), position, 2, 2);
        const std::string head = "[24*24]上半列排";
        EXPECT_EQ(exportAllText(std::span(&record, 1), Arrangement::HalfDown),
                  ";字" + head + "\r\n\r\n\r\n{//字" + head + "\r\n};\r\n");
        EXPECT_EQ(exportCurrentText(record, Arrangement::HalfDown), ";字" + head + "\r\n\r\n{//字" + head + "\r\n};");
    }
}

TEST(ExportLayout, TraditionalRecordsHaveHalfColumnBytes) {
    // The top band of the first column holds the first row's leftmost dot: byte 1 is 0x01 / 0x80.
    const GlyphRecord record = buildRecord(U'字', glyphOf({0x80}, 2), 2, 2, 2);
    const std::string up = exportCurrentText(record, Arrangement::HalfUp);
    const std::string down = exportCurrentText(record, Arrangement::HalfDown);
    EXPECT_TRUE(up.starts_with(";字[16*16]下半列排\r\nDB   01h,  00h")) << up;
    EXPECT_TRUE(down.starts_with(";字[16*16]上半列排\r\nDB   80h,  00h")) << down;
    EXPECT_NE(up.find("{//字[16*16]下半列排\r\n0x01,0x00"), std::string::npos) << up;
}

TEST(ExportLayout, HeadersTakeTheSizeFromEachRecordAndTheChosenArrangement) {
    const std::vector<GlyphRecord> records = {
        buildRecord(U'啊', glyphOf({}, 0), 0, 2, 2),
        buildRecord(U'啊', glyphOf({}, 1), 1, 2, 2),
        buildRecord(U'啊', glyphOf({}, 4), 4, 2, 2),
    };
    const std::string text = exportAllText(records, Arrangement::ColsDown);
    for (const char* header : {";啊[12*12]上下列排\r\n", ";啊[16*16]上下列排\r\n", ";啊[24*24]上下列排\r\n",
                               "{//啊[12*12]上下列排\r\n", "{//啊[24*24]上下列排\r\n"})
        EXPECT_NE(text.find(header), std::string::npos) << header;
    EXPECT_EQ(RecordHeader(records[2], Arrangement::ColsUp, true), "{//啊[24*24]下上列排");
    // The arrangement's texts are what is written, in both syntaxes.
    EXPECT_NE(text.find(records[2].assemblyText(2)), std::string::npos);
    EXPECT_NE(text.find(records[2].cText(2) + "};"), std::string::npos);
}

} // namespace
} // namespace hz
