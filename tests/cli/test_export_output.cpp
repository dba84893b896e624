// The tables hzdot-cli writes: export layouts, arrangements, libraries, encodings.
#include "cli_process.h"
#include "gbk.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportOutput, ExportAllGoesToStandardOutputAsUtf8) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "样字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expected::kExportAll);
    EXPECT_EQ(r.err, "");
}

TEST(ExportOutput, FileAndGbkStandardOutputAreCodePage936) {
    SampleFonts s;
    const std::string file = s.fonts.file("export.txt");
    CliResult toFile = runCli({"-f", s.dir(), "-o", file, "样字"});
    EXPECT_EQ(toFile.status, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(file), toGbk(expected::kExportAll));

    // --encoding only concerns standard output; the file is code page 936 either way.
    CliResult gbk = runCli({"-f", s.dir(), "--encoding", "gbk", "样字"});
    EXPECT_EQ(gbk.status, 0);
    EXPECT_EQ(gbk.out, readFile(file));
    CliResult fileWithUtf8 = runCli({"-f", s.dir(), "--encoding=utf-8", "-o", file, "样字"});
    EXPECT_EQ(fileWithUtf8.status, 0);
    EXPECT_EQ(readFile(file), toGbk(expected::kExportAll));
}

TEST(ExportOutput, CurrentIsTheLastRecordWithoutFinalLineBreak) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--current", "样字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expected::kCurrentZi);

    const std::string file = s.fonts.file("current.txt");
    EXPECT_EQ(runCli({"-f", s.dir(), "--current", "-o", file, "样字"}).status, 0);
    EXPECT_EQ(readFile(file), toGbk(expected::kCurrentZi));
}

// 字's only dot is row 16, column 16: the last byte of every arrangement.
struct ArrangementCase {
    const char* number;
    const char* name;
    const char* lastAsmField;
    const char* lastCField;
};

class ExportArrangement : public ::testing::TestWithParam<ArrangementCase> {};

TEST_P(ExportArrangement, ChosenByNumberOrNameWithItsHeader) {
    const ArrangementCase& c = GetParam();
    SampleFonts s;
    const std::string want = std::string(";字[16*16]") + c.name + "\r\n" + expected::kBlankDb + expected::kBlankDb +
                             expected::kBlankDb + "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h," + c.lastAsmField +
                             "\r\n\r\n{//字[16*16]" + c.name + "\r\n" + expected::kBlankC + ",\r\n" +
                             expected::kBlankC + ",\r\n" + expected::kBlankC + ",\r\n" +
                             "0x00,0x00,0x00,0x00,0x00,0x00,0x00," + c.lastCField + "};";
    CliResult byNumber = runCli({"-f", s.dir(), "--current", "-a", c.number, "字"});
    EXPECT_EQ(byNumber.status, 0);
    EXPECT_EQ(byNumber.out, want);
    CliResult byName = runCli({"-f", s.dir(), "--current", std::string("--arrangement=") + c.name, "字"});
    EXPECT_EQ(byName.status, 0);
    EXPECT_EQ(byName.out, want);
}

INSTANTIATE_TEST_SUITE_P(AllFive, ExportArrangement,
                         ::testing::Values(ArrangementCase{"0", "横排", "  01h", "0x01"},
                                           ArrangementCase{"1", "下上列排", "  80h", "0x80"},
                                           ArrangementCase{"2", "上下列排", "  01h", "0x01"},
                                           ArrangementCase{"3", "下半列排", "  80h", "0x80"},
                                           ArrangementCase{"4", "上半列排", "  01h", "0x01"}));

TEST(ExportOutput, TwentyFourDotLibraryHasOnlyHeadersForHalfColumns) {
    TempFolder fonts;
    writeLibrary(fonts.file(kLibraryFiles[3]), 72, {{0xD7D6, std::vector<std::uint8_t>(72, 0xFF)}});
    CliResult r = runCli({"-f", fonts.path(), "-l", "3", "-a", "3", "字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ";字[24*24]下半列排\r\n\r\n\r\n{//字[24*24]下半列排\r\n};\r\n");

    // The rows arrangement of the same record: nine lines of eight full bytes.
    CliResult rows = runCli({"-f", fonts.path(), "--library", "24*24宋体", "--current", "字"});
    EXPECT_EQ(rows.status, 0);
    std::string fullDb = "DB  0FFh, 0FFh, 0FFh, 0FFh, 0FFh, 0FFh, 0FFh, 0FFh\r\n";
    std::string asmText;
    for (int i = 0; i < 9; ++i)
        asmText += fullDb;
    EXPECT_EQ(rows.out.substr(0, rows.out.find("\r\n\r\n") + 4), ";字[24*24]横排\r\n" + asmText + "\r\n");
}

TEST(ExportOutput, TwelveDotLibraryIsPlacedByTheSpacing) {
    // Row 1, column 1 of a 12x12 glyph; with the default spacing 2, 2 it lands on row 3, column 3.
    TempFolder fonts;
    writeLibrary(fonts.file(kLibraryFiles[0]), 24, {{0xD7D6, {0x80}}});
    CliResult r = runCli({"-f", fonts.path(), "-l", "0", "--current", "字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("\r\n\r\n") + 4),
              ";字[12*12]横排\r\nDB   00h,  00h,  00h,  00h,  20h,  00h,  00h,  00h\r\n" + expected::kBlankDb +
                  expected::kBlankDb + expected::kBlankDb + "\r\n");
}

} // namespace
