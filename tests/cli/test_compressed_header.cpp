// --compress from the command line: real fonts' glyphs, plain and compressed headers of the same
// text compiled together and compared glyph by glyph; the size said after writing; refusals.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

const std::string kSung = "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf";
const std::string kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// Decodes every key of plain.h from packed.h and compares; the core's tests vary the rest.
constexpr std::string_view kCheck = R"(#include "plain.h"
#include "packed.h"
#include <stdio.h>
#include <string.h>
int main(void)
{
    size_t i;
    uint8_t out[packed_MAX_BYTES], w, h, pw, ph;
    const uint8_t *want;
    for (i = 0; i < plain_COUNT; ++i) {
        want = plain_find(plain_keys[i], &w, &h);
        if (!packed_glyph(plain_keys[i], out, &pw, &ph) || pw != w || ph != h ||
            memcmp(out, want, packed_GLYPH_BYTES(w, h)) != 0) {
            printf("glyph %u differs\n", (unsigned)i);
            return 1;
        }
    }
    return 0;
}
)";

struct RealFontCase {
    std::string font;
    std::string size;
    std::vector<std::string> more; // layout, depth, keys
};

TEST(CompressedHeader, RealFontsDecodeToThePlainHeadersGlyphs) {
    const std::string text = "温度设置：报警上限 Temp 25°C, ok! 国际标准汉字字符集";
    const RealFontCase cases[] = {
        {kSung, "16", {"--layout", "rows-msb"}},
        {kZenHei, "12", {"--layout", "ssd1306", "--key", "gb2312"}},
        {kZenHei, "24", {"--layout", "columns-lsb-up", "--bpp", "4"}},
    };
    for (const RealFontCase& c : cases) {
        SCOPED_TRACE(c.font + " " + c.size);
        TempFolder dir;
        for (const auto& [name, compress] : {std::pair<std::string, bool>{"plain", false}, {"packed", true}}) {
            std::vector<std::string> args = {"--font", c.font,   "--size", c.size, "--format",
                                             "header", "--name", name,     "-o",   dir.file(name + ".h")};
            args.insert(args.end(), c.more.begin(), c.more.end());
            if (compress)
                args.push_back("--compress");
            args.push_back(text);
            const CliResult r = runCli(args);
            ASSERT_NE(r.status, 2) << r.err;
            EXPECT_NE(r.err.find(dir.file(name + ".h") + ": "), std::string::npos) << r.err;
        }
        writeFile(dir.file("check.c"), kCheck);
        hz::test::ProcessCall build;
        build.command = {"cc",        "-std=c99", "-O2",      "-Wall", "-Wextra",         "-Werror",
                         "-pedantic", "-I",       dir.path(), "-o",    dir.file("check"), dir.file("check.c")};
        const auto built = hz::test::runProcess(build);
        ASSERT_EQ(built.status, 0) << built.err;
        hz::test::ProcessCall run;
        run.command = {dir.file("check")};
        const auto ran = hz::test::runProcess(run);
        EXPECT_EQ(ran.status, 0) << ran.out;
    }
}

// The line after writing: the file, the glyphs and the font data's bytes with thousands marked.
TEST(CompressedHeader, SaysTheGlyphsAndBytesWritten) {
    SampleFonts s;
    const std::string file = s.fonts.file("ui.h");
    CliResult plain = runCli({"-f", s.dir(), "--format", "header", "--name", "ui", "-o", file, "样字样"});
    EXPECT_EQ(plain.status, 0);
    // Two 32-byte glyphs and two 16-bit keys.
    EXPECT_EQ(plain.err, file + ": 2 glyphs, 68 bytes\n");
    CliResult packed = runCli({"-f", s.dir(), "--format", "header", "--compress", "--name", "ui", "-o", file, "样"});
    EXPECT_EQ(packed.status, 0);
    EXPECT_EQ(packed.err.rfind(file + ": 1 glyph, ", 0), 0u) << packed.err;
    EXPECT_NE(readFile(file).find("static inline uint8_t ui_glyph(uint32_t key, uint8_t *out, uint8_t *width"),
              std::string::npos);

    // A big font's size has its thousands marked.
    TempFolder dir;
    std::string many;
    for (unsigned c = 0x4E00; c < 0x4E00 + 200; ++c) // three UTF-8 bytes each
        many += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F))};
    CliResult big = runCli({"--font", kZenHei, "--size", "16", "--format", "header", "-o", dir.file("big.h"), many});
    EXPECT_EQ(big.status, 0) << big.err;
    EXPECT_NE(big.err.find(dir.file("big.h") + ": 200 glyphs, 6,800 bytes\n"), std::string::npos) << big.err;
}

TEST(CompressedHeader, OnlyWithTheHeaderFormat) {
    SampleFonts s;
    const std::string file = s.fonts.file("out.txt");
    for (std::vector<std::string> args : {std::vector<std::string>{"--compress", "-o", file, "样"},
                                          {"--format", "bin", "--compress", "-o", file, "样"},
                                          {"--preview", "128x32", "--compress", "-o", file, "样"}}) {
        args.insert(args.begin(), {"-f", s.dir()});
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("--compress goes with --format header"), std::string::npos) << r.err;
        EXPECT_FALSE(fileExists(file));
    }
}

} // namespace
