// Layouts, presets, raw bytes and "all" from the command line. The bytes themselves are checked in
// the core; here the options reach it and the shapes around them are right.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(Layouts, PresetNamesItsLayoutInTheHeaders) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--layout", "epaper", "--current", "字"});
    EXPECT_EQ(r.status, 0) << r.err;
    // 字 has only its last dot set: inverted, every byte is 0xFF but the last, 0xFE.
    EXPECT_TRUE(r.out.starts_with(";字[16*16]rows-msb-invert\r\nDB  0FFh, 0FFh,")) << r.out;
    EXPECT_NE(r.out.find("0xFF,0xFF,0xFE};"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("{//字[16*16]rows-msb-invert\r\n"), std::string::npos);
}

TEST(Layouts, AnArrangementChosenAsALayoutIsNamedSo) {
    SampleFonts s;
    CliResult byLayout = runCli({"-f", s.dir(), "--layout", "ROWS-MSB", "样字"});
    EXPECT_EQ(byLayout.status, 0);
    std::string renamed = expected::kExportAll;
    for (std::size_t at; (at = renamed.find("横排")) != std::string::npos;)
        renamed.replace(at, std::string("横排").size(), "rows-msb");
    EXPECT_EQ(byLayout.out, renamed);
    EXPECT_EQ(runCli({"-f", s.dir(), "--layout", "0", "样字"}).out, expected::kExportAll);
    EXPECT_EQ(runCli({"-f", s.dir(), "--layout", "横排", "样字"}).out, expected::kExportAll);
}

TEST(Layouts, RawBytesAreTheRecordsAndNothingElse) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "--format", "bin", "样字"});
    EXPECT_EQ(r.status, 0);
    std::string want(kYang.bytes.begin(), kYang.bytes.end());
    want.resize(32, '\0');
    want.append(kZi.bytes.begin(), kZi.bytes.end());
    EXPECT_EQ(r.out, want);

    const std::string file = s.fonts.file("flash.bin");
    CliResult xbm = runCli({"-f", s.dir(), "--layout", "xbm", "--format=bin", "-o", file, "字"});
    EXPECT_EQ(xbm.status, 0);
    std::string xbmWant(32, '\0');
    xbmWant[31] = '\x80'; // the last dot is the first of its byte read from the right: bit 7 in LSB-first
    EXPECT_EQ(readFile(file), xbmWant);
}

TEST(Layouts, AllWritesTheFiveArrangementsInOrder) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "-a", "all", "样字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with(expected::kExportAll));
    std::size_t at = 0;
    for (const char* name : {"横排", "下上列排", "上下列排", "下半列排", "上半列排"}) {
        const std::size_t next = r.out.find(std::string(";样[16*16]") + name + "\r\n", at);
        ASSERT_NE(next, std::string::npos) << name;
        EXPECT_NE(r.out.find(std::string("{//字[16*16]") + name + "\r\n", next), std::string::npos) << name;
        at = next;
    }
    EXPECT_EQ(runCli({"-f", s.dir(), "--layout", "全部", "样字"}).out, r.out);
}

TEST(Layouts, ListNamesEveryPresetWithItsDrivers) {
    CliResult r = runCli({"--list-layouts"});
    EXPECT_EQ(r.status, 0);
    for (const char* line : {"ssd1306\tpages-lsb\t", "ssd1306-vertical\tcolumns-lsb\tSSD1306 vertical addressing\n",
                             "xbm\trows-lsb\tXBM", "epaper\trows-msb-invert\t", "max7219\tcolumns-lsb\t"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

TEST(Layouts, BadChoicesSayWhatIsAcceptedAndWriteNothing) {
    SampleFonts s;
    for (std::vector<std::string> args : {std::vector<std::string>{"--layout", "rows-msb-up-up", "样"},
                                          {"--layout", "diagonal", "样"},
                                          {"-a", "xbm", "样"},
                                          {"--format", "hex", "样"},
                                          {"--format", "bin", "-a", "all", "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << args[3];
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
    CliResult layout = runCli({"-f", s.dir(), "--layout", "diagonal", "样"});
    EXPECT_NE(layout.err.find("ssd1306"), std::string::npos) << layout.err;
    EXPECT_NE(layout.err.find("SCAN-BIT[-up][-left][-invert]"), std::string::npos) << layout.err;
}

TEST(Layouts, HalfColumnsOfTwentyFourDotRecordsPointToPages) {
    TempFolder fonts;
    writeLibrary(fonts.file(kLibraryFiles[3]), 72, {{kZi.code, std::vector<std::uint8_t>(72, 0x01)}});
    CliResult r = runCli({"-f", fonts.path(), "-l", "3", "-a", "3", "字"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, ";字[24*24]下半列排\r\n\r\n\r\n{//字[24*24]下半列排\r\n};\r\n");
    EXPECT_NE(r.err.find("--layout pages-lsb"), std::string::npos) << r.err;
    CliResult pages = runCli({"-f", fonts.path(), "-l", "3", "--layout", "pages-lsb", "--format", "bin", "字"});
    EXPECT_EQ(pages.out.size(), 72u);
    EXPECT_EQ(pages.err, "");
}

} // namespace
