// C headers and panel pictures from the command line: the options reach the core, refusals are
// named, and nothing is written on a bad request. The header's compilation and the picture's dots
// are tested in the core.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

TEST(Header, EachCharacterOnceAndTheRefusedNamed) {
    SampleFonts s;
    const std::string file = s.fonts.file("font.h");
    CliResult r = runCli({"-f", s.dir(), "--layout", "ssd1306", "--format", "header", "-o", file, "样a字样"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'a' (U+0061)"), std::string::npos) << r.err;
    const std::string text = readFile(file);
    EXPECT_NE(text.find("#define hzk16_16_COUNT 2\n"), std::string::npos) << text;
    EXPECT_NE(text.find("pages-lsb"), std::string::npos);
    EXPECT_NE(text.find("static inline const uint8_t *hzk16_16_find(uint32_t key"), std::string::npos);
    // Unicode keys by default, two-byte codes on request.
    EXPECT_NE(text.find("0x6837"), std::string::npos) << "样's code point";
    const std::string gb = s.fonts.file("gb.h");
    EXPECT_EQ(runCli({"-f", s.dir(), "--format", "header", "--key", "gb2312", "--name", "menu_font", "-o", gb, "样"})
                  .status,
              0);
    const std::string gbText = readFile(gb);
    EXPECT_NE(gbText.find("0xD1F9"), std::string::npos) << gbText;
    EXPECT_NE(gbText.find("menu_font_find("), std::string::npos);
}

TEST(Header, BadRequestsWriteNothing) {
    SampleFonts s;
    const std::string file = s.fonts.file("font.h");
    for (std::vector<std::string> args : {std::vector<std::string>{"--format", "header", "--name", "int", "-o", file, "样"},
                                          {"--format", "header", "--name", "my-font", "-o", file, "样"},
                                          {"--format", "header", "--key", "big5", "-o", file, "样"},
                                          {"--format", "header", "-a", "all", "-o", file, "样"},
                                          {"--format", "header", "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2) << args[4];
        EXPECT_FALSE(fileExists(file)) << args[4];
    }
    CliResult none = runCli({"-f", s.dir(), "--format", "header", "-o", file, "abc"});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(fileExists(file));
}

TEST(Preview, WritesAPictureOfThePanel) {
    SampleFonts s;
    const std::string file = s.fonts.file("panel.png");
    CliResult r = runCli({"-f", s.dir(), "--preview", "128x32", "-o", file, "样字"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string png = readFile(file);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height in the header chunk: the panel at the default zoom of 4.
    auto word = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(word(16), 128u * 4);
    EXPECT_EQ(word(20), 32u * 4);

    for (std::vector<std::string> args : {std::vector<std::string>{"--preview", "128", "-o", file, "样"},
                                          {"--preview", "0x64", "-o", file, "样"},
                                          {"--preview", "128x64", "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        EXPECT_EQ(runCli(args).status, 2) << args[3];
    }
}

} // namespace
