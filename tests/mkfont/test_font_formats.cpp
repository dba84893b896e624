// Whole character sets as u8g2 and BDF fonts: every glyph of the font, read back by the readers in
// tests/support, is the record the library built from the same font holds, and the fonts' own
// refusals come before anything is written.

#include "bdf_font.h"
#include "bdf_read.h"
#include "library_view.h"
#include "process.h"
#include "temp_folder.h"
#include "u8g2_decode.h"

#include "core/text/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hz::test;

namespace {

const std::string kZenhei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// The glyph in its cell: `advance` x `size`, on the baseline `baseline` rows down.
std::string cellPicture(int advance, int size, int baseline, int x, int y, const std::vector<std::string>& box) {
    std::vector<std::string> rows(static_cast<std::size_t>(size), std::string(static_cast<std::size_t>(advance), '.'));
    const int top = baseline - (y + static_cast<int>(box.size()));
    for (std::size_t r = 0; r < box.size(); ++r)
        for (std::size_t c = 0; c < box[r].size(); ++c)
            if (box[r][c] == '#')
                rows.at(static_cast<std::size_t>(top) + r).at(static_cast<std::size_t>(x) + c) = '#';
    std::string text;
    for (const auto& row : rows)
        text += row + "\n";
    return text;
}

struct SetFonts {
    TempFolder scratch;
    std::string library, u8g2, bdf;
    SetFonts() {
        library = scratch.file("hz16.bin");
        u8g2 = scratch.file("hz16.c");
        bdf = scratch.file("hz16.bdf");
        for (const auto& [format, out] : {std::pair<std::string, std::string>{"hzk", library}, {"u8g2", u8g2}, {"bdf", bdf}}) {
            const ProcessResult run = runMkfont({"--font", kZenhei, "--size", "16", "--format", format, "--output", out});
            EXPECT_EQ(run.status, 0) << run.err;
            report += run.out;
        }
    }
    std::string report;
};

TEST(SetFonts, EveryGlyphIsTheLibrarysRecord) {
    SetFonts s;
    const LibraryView library(s.library, 16);
    EXPECT_NE(s.report.find("a u8g2 font of "), std::string::npos) << s.report;
    EXPECT_NE(s.report.find("array hz16_16"), std::string::npos) << s.report;

    const std::vector<std::uint8_t> font = bytesOfCArray(readFile(s.u8g2));
    const U8g2Decoded u8g2 = decodeU8g2(font);
    ASSERT_EQ(u8g2.error, "");
    const BdfRead bdf = readBdf(readFile(s.bdf));
    ASSERT_EQ(bdf.error, "");
    // Nearly all of GB2312's 7445 characters; both fonts hold the same ones.
    EXPECT_GT(u8g2.glyphs.size(), 7000U);
    EXPECT_EQ(bdf.glyphs.size(), u8g2.glyphs.size());
    const int baseline = 16 + u8g2.header.boxY;
    EXPECT_EQ(bdf.properties.at("FONT_ASCENT"), std::to_string(baseline));
    int compared = 0;
    for (const auto& [ch, glyph] : u8g2.glyphs) {
        const auto code = hz::cp936Code(ch);
        ASSERT_TRUE(code.has_value());
        const std::string record = library.picture(*code);
        EXPECT_EQ(cellPicture(glyph.advance, 16, baseline, glyph.x, glyph.y, glyph.rows), record)
            << "u8g2 U+" << std::hex << static_cast<unsigned>(ch);
        const BdfReadGlyph& b = bdf.glyphs.at(ch);
        EXPECT_EQ(cellPicture(b.dwidth, 16, baseline, b.x, b.y, b.rows), record)
            << "bdf U+" << std::hex << static_cast<unsigned>(ch);
        if (++compared % 500 == 0) {
            EXPECT_TRUE(lookUpU8g2(font, ch).has_value());
        }
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST(SetFonts, AGlyphTooLargeForU8g2RefusesTheFont) {
    TempFolder scratch;
    // A 64-pixel strike whose 一 is noise: a run pair every two dots or so.
    BdfFont strike;
    strike.pixelSize = 64;
    strike.ascent = 56;
    strike.descent = 8;
    BdfGlyph checker{0x4E00, 0, -8, {}};
    unsigned seed = 12345;
    for (int y = 0; y < 64; ++y) {
        std::string row;
        for (int x = 0; x < 64; ++x) {
            seed = seed * 1103515245U + 12345U;
            row += (seed >> 16) & 1 ? '#' : '.';
        }
        checker.rows.push_back(row);
    }
    strike.glyphs = {checker, frameGlyph(0x4E01, 40, 40, 12, 0)};
    writeFile(scratch.file("checker.bdf"), strike.text());
    const std::string out = scratch.file("font.c");
    const ProcessResult run =
        runMkfont({"--font", scratch.file("checker.bdf"), "--size", "64", "--format", "u8g2", "--output", out});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("255"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("D2BB"), std::string::npos) << run.err; // 一's code
    EXPECT_FALSE(fileExists(out));
    // The same glyph in BDF has no such limit.
    EXPECT_EQ(runMkfont({"--font", scratch.file("checker.bdf"), "--size", "64", "--format", "bdf", "--output",
                         scratch.file("font.bdf")})
                  .status,
              0);
}

TEST(SetFonts, BadRequestsAreRefused) {
    TempFolder scratch;
    const std::string out = scratch.file("font.c");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--format", "u8g2", "--bpp", "4"}, "one bit a dot"},
        {{"--format", "bdf", "--layout", "ssd1306"}, "its own bit order"},
        {{"--format", "lvgl9"}, "give hzk, lvgl, lvgl-bin, u8g2 or bdf"},
    };
    for (auto [args, says] : cases) {
        args.insert(args.begin(), {"--font", kZenhei, "--size", "16", "--output", out});
        const ProcessResult run = runMkfont(args);
        EXPECT_EQ(run.status, 2) << says;
        EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
        EXPECT_FALSE(fileExists(out));
    }
}

} // namespace
