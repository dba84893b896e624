// Libraries with grey levels: records of rows x ceil(width x bpp / 8) bytes, the size and offset the
// tool prints, and records holding what a live lookup at the same depth draws. (Every GB2312 record
// is compared with live lookups in the font source's tests.)

#include "process.h"
#include "temp_folder.h"

#include "core/layout/layout.h"
#include "fontsource/font_source.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

using hz::fontsource::AmbiguousWidth;
using hz::fontsource::FontSource;
using hz::fontsource::FontSpec;
using hz::fontsource::GlyphWidths;

const std::string kMicrohei = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

struct GreyBuild {
    const char* name;
    std::vector<std::string> options;
    std::size_t records;
    std::size_t recordSize;
    std::string sizeLine; // the report's record size line
};

void PrintTo(const GreyBuild& c, std::ostream* os) {
    *os << c.name;
}

class GreyLibrary : public ::testing::TestWithParam<GreyBuild> {};

TEST_P(GreyLibrary, RecordSizeCountsTheBitsOfEachDot) {
    const GreyBuild& c = GetParam();
    TempFolder scratch;
    std::vector<std::string> args{"--font", kMicrohei, "--output", scratch.file("library")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProcessResult run = runMkfont(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(scratch.file("library")).size(), c.records * c.recordSize);
    EXPECT_NE(run.out.find(c.sizeLine), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("* " + std::to_string(c.recordSize) + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("anti-aliased into"), std::string::npos) << run.out;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Depths, GreyLibrary, ::testing::Values(
    GreyBuild{"Rows4", {"--size", "16", "--bpp", "4"}, 8178, 128,
              "record size: 128 bytes, rows-msb-4bpp (16 rows of ceil(16 x 4 / 8) = 8 bytes); record k at k * 128\n"},
    // 12 dots at 2 bits: 24 bits, three bytes a row, no padding.
    GreyBuild{"Rows2Of12", {"--size", "12", "--layout", "rows-lsb-2bpp"}, 8178, 36,
              "record size: 36 bytes, rows-lsb-2bpp (12 rows of ceil(12 x 2 / 8) = 3 bytes)"},
    // 20 dots at 4 bits: ten bytes a column.
    GreyBuild{"Columns4Of20", {"--size", "20", "--layout", "2", "--bpp", "4"}, 8178, 200,
              "record size: 200 bytes, columns-msb-4bpp (20 columns of ceil(20 x 4 / 8) = 10 bytes)"},
    // Half-width cells of 9 dots at 8 bits: nine bytes a row.
    GreyBuild{"AsciiHalf8", {"--size", "17", "--charset", "ascii", "--bpp", "8"}, 95, 153,
              "record size: 153 bytes, rows-msb-8bpp (17 rows of ceil(9 x 8 / 8) = 9 bytes)"},
    GreyBuild{"ProportionalGbk2", {"--size", "16", "--charset", "gbk", "--width", "proportional", "--bpp", "2"},
              126 * 190, 64, "record size: 64 bytes, rows-msb-2bpp (16 rows of ceil(16 x 2 / 8) = 4 bytes)"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Half-width and proportional records are drawn at the depth too, each glyph at the left of its
// record as at one bit.
TEST(GreyLibrary, HalfWidthAndProportionalRecordsHoldTheLiveGreyGlyph) {
    for (const GlyphWidths widths : {GlyphWidths::Fixed, GlyphWidths::Proportional}) {
        const bool own = widths == GlyphWidths::Proportional;
        SCOPED_TRACE(own ? "proportional" : "fixed");
        TempFolder scratch;
        const std::vector<std::string> args{"--font",    kMicrohei,
                                            "--size",    "16",
                                            "--charset", "ascii",
                                            "--bpp",     "4",
                                            "--width",   own ? "proportional" : "fixed",
                                            "--output",  scratch.file("ascii")};
        const ProcessResult run = runMkfont(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string bytes = readFile(scratch.file("ascii"));
        const hz::Layout layout = *hz::parseLayout("rows-msb-4bpp");
        const int recordWidth = own ? 16 : 8;
        const std::size_t recordSize = hz::encodedSize(layout, recordWidth, 16);
        ASSERT_EQ(bytes.size(), 95 * recordSize);

        auto source = FontSource::open({kMicrohei, 0, 16, {}, widths, AmbiguousWidth::Full, 4});
        ASSERT_TRUE(source);
        for (const char ch : std::string("AWg%@i")) {
            hz::DotCell live;
            ASSERT_EQ((*source)->glyph(static_cast<char32_t>(ch), live), hz::LookupStatus::Found);
            hz::DotCell record = hz::DotCell(recordWidth, 16, live.widthClass()).withDepth(4);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < live.width(); ++x)
                    record.setLevel(x, y, live.level(x, y));
            const std::size_t at = static_cast<std::size_t>(ch - 0x20) * recordSize;
            const std::string stored = bytes.substr(at, recordSize);
            EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), hz::encodeCell(record, layout)) << ch;
        }
    }
}

} // namespace
