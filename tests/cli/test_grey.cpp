// Grey levels from the command line: --bpp and a layout's depth reach the font and the layout, the
// depth is named in the record headers, and what has no grey form is refused. The packing itself is
// checked in the core, the anti-aliasing in the font source's tests.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

struct BadDepth {
    const char* name;
    std::vector<std::string> args;
    std::string said; // the message names both sides of a disagreement, or what is refused
};

void PrintTo(const BadDepth& c, std::ostream* os) {
    *os << c.name;
}

class GreyRefusal : public ::testing::TestWithParam<BadDepth> {};

TEST_P(GreyRefusal, ExitsTwoNamingWhyAndWritesNothing) {
    SampleFonts s;
    writeFile(s.fonts.file("wo.c"), "0x00, 0x01");
    const std::string out = s.fonts.file("out.txt");
    std::vector<std::string> args = {"-f", s.dir(), "-o", out};
    for (const std::string& arg : GetParam().args)
        args.push_back(arg == "$paste" ? s.fonts.file("wo.c") : arg);
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(GetParam().said), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, GreyRefusal, ::testing::Values(
    BadDepth{"Three", {"--bpp", "3", "样"}, "--bpp: '3' is not a depth; give 1, 2, 4 or 8 bits a dot"},
    BadDepth{"Sixteen", {"--bpp=16", "样"}, "--bpp: '16' is not a depth"},
    BadDepth{"Word", {"--bpp", "four", "样"}, "--bpp: 'four' is not a depth"},
    BadDepth{"Empty", {"--bpp=", "样"}, "--bpp: '' is not a depth"},
    BadDepth{"NameAndBppDisagree", {"--layout", "rows-msb-4bpp", "--bpp", "2", "样"},
             "--layout rows-msb-4bpp has 4 bits a dot but --bpp 2 asks for 2 bits a dot"},
    BadDepth{"BppBeforeTheName", {"--bpp", "8", "--layout", "COLUMNS-LSB-2BPP", "样"},
             "--layout COLUMNS-LSB-2BPP has 2 bits a dot but --bpp 8 asks for 8 bits a dot"},
    BadDepth{"OneBitNamed", {"--layout", "rows-msb-1bpp", "--bpp", "4", "样"},
             "--layout rows-msb-1bpp has 1 bit a dot but --bpp 4"},
    BadDepth{"OneBitPreset", {"--layout", "lvgl-1bit", "--bpp", "4", "样"}, "--layout lvgl-1bit has 1 bit a dot"},
    BadDepth{"PagesAtFour", {"--layout", "pages-lsb", "--bpp", "4", "样"}, "pages is a one-bit layout"},
    BadDepth{"PagesNamedGrey", {"--layout", "pages-msb-up-2bpp", "样"}, "pages is a one-bit layout"},
    BadDepth{"PagePreset", {"--layout", "ssd1306", "--bpp", "2", "样"}, "pages-lsb is a pages layout"},
    BadDepth{"PageArrangement", {"-a", "3", "--bpp", "4", "样"}, "下半列排 (pages-lsb) is a pages layout"},
    BadDepth{"PageArrangementByName", {"--bpp", "8", "-a", "上半列排", "样"}, "pages is a one-bit layout"},
    BadDepth{"AllFive", {"-a", "all", "--bpp", "4", "样"}, "choose one layout"},
    BadDepth{"Threshold", {"--font", kZenHei, "--size", "16", "--threshold", "99", "--bpp", "4", "样"},
             "--threshold cuts a glyph to one bit a dot; it goes with --bpp 1 only"},
    BadDepth{"Detect", {"--detect", "$paste", "--bpp", "2", "我"}, "--detect reads one-bit glyph bytes"},
    BadDepth{"LibraryFileIsOneBit", {"--library", "$paste", "--record-layout", "rows-msb-4bpp", "样"},
             "library files have one bit a dot"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The six libraries have no grey: at 4 bits a dot every dot is 0 or 15.
TEST(Grey, LibraryGlyphsGiveTheExtremeLevelsNamedByTheirLayout) {
    SampleFonts s;
    CliResult text = runCli({"-f", s.dir(), "--bpp", "4", "样"});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(text.out.starts_with(";样[16*16]rows-msb-4bpp\r\n")) << text.out;
    EXPECT_NE(text.out.find("{//样[16*16]rows-msb-4bpp\r\n"), std::string::npos);

    CliResult bytes = runCli({"-f", s.dir(), "--bpp", "4", "--format", "bin", "样"});
    ASSERT_EQ(bytes.out.size(), 16u * 8u);
    int full = 0;
    for (const char byte : bytes.out) {
        for (const int nibble : {(byte >> 4) & 0xF, byte & 0xF}) {
            EXPECT_TRUE(nibble == 0 || nibble == 0xF) << nibble;
            full += nibble == 0xF;
        }
    }
    EXPECT_EQ(full, 10); // the dots of 样: rows 00 00, 04 40, 07 E0, 08 40
}

// An arrangement chosen by its number becomes its layout at the depth, named so.
TEST(Grey, ArrangementsBecomeTheirGreyLayouts) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "-a", "2", "--bpp", "2", "--current", "字"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(";字[16*16]columns-msb-2bpp\r\n")) << r.out;
    CliResult preset = runCli({"-f", s.dir(), "--layout", "xbm", "--bpp", "8", "--format", "bin", "字"});
    EXPECT_EQ(preset.status, 0) << preset.err;
    EXPECT_EQ(preset.out.size(), 256u);
    EXPECT_EQ(preset.out.back(), '\xFF'); // 字's last dot, fully set
}

// --bpp 1 and a name saying 1bpp change nothing.
TEST(Grey, OneBitIsTheDefaultOutput) {
    SampleFonts s;
    EXPECT_EQ(runCli({"-f", s.dir(), "--bpp", "1", "样字"}).out, expected::kExportAll);
    EXPECT_EQ(runCli({"-f", s.dir(), "--layout", "rows-msb-1bpp", "--bpp", "1", "--format", "bin", "样"}).out,
              runCli({"-f", s.dir(), "--format", "bin", "样"}).out);
}

class GreyFont : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kZenHei.c_str(), R_OK) != 0)
            GTEST_SKIP() << kZenHei << " is not installed (fonts-wqy-zenhei)";
    }
};

// The depth reaches the font from --bpp or from the layout's name alike, and the font's levels are
// more than the two extremes.
TEST_F(GreyFont, BppAndTheLayoutsDepthDrawTheSameGreys) {
    const std::vector<std::string> font = {"--font", kZenHei, "--size", "16", "--format", "bin"};
    auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> args = font;
        args.insert(args.end(), more.begin(), more.end());
        args.push_back("温A");
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    const std::string byBpp = run({"--bpp", "4"});
    EXPECT_EQ(byBpp.size(), 16u * 8u + 16u * 4u); // 温 16x16 and A 8x16, two dots a byte
    EXPECT_EQ(run({"--layout", "rows-msb-4bpp"}), byBpp);
    EXPECT_EQ(run({"--layout", "st7920", "--bpp", "4"}), byBpp);
    int between = 0;
    for (const char byte : byBpp)
        for (const int nibble : {(byte >> 4) & 0xF, byte & 0xF})
            between += nibble != 0 && nibble != 0xF;
    EXPECT_GT(between, 10);
}

// The header names its depth and says how many bytes a glyph takes; a one-bit header has neither.
TEST_F(GreyFont, HeaderNamesTheDepth) {
    TempFolder folder;
    const std::string file = folder.file("grey.h");
    CliResult r = runCli(
        {"--font", kZenHei, "--size", "16", "--bpp", "4", "--format", "header", "--name", "ui", "-o", file, "温A"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string header = readFile(file);
    EXPECT_NE(header.find("#define ui_BPP 4\n"), std::string::npos) << header;
    EXPECT_NE(header.find("#define ui_GLYPH_BYTES(w, h) ((h) * (((w) * ui_BPP + 7) / 8))\n"), std::string::npos);
    EXPECT_NE(header.find(" * Layout:     rows-msb-4bpp\n"), std::string::npos);
    EXPECT_NE(header.find("static const uint8_t ui_STORAGE ui_bytes[192] = {"), std::string::npos);
    EXPECT_NE(header.find("4 bits a dot"), std::string::npos);

    CliResult oneBit =
        runCli({"--font", kZenHei, "--size", "16", "--format", "header", "--name", "ui", "-o", file, "温A"});
    EXPECT_EQ(oneBit.status, 0) << oneBit.err;
    EXPECT_EQ(readFile(file).find("_BPP"), std::string::npos);
}

} // namespace
