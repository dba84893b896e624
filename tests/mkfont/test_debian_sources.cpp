// Small libraries from the kinds of font Debian installs: a PCF strike, a compressed GB-coded
// PCF strike, TrueType outlines and the traditional mapping.

#include "layout_checks.h"
#include "library_view.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

using namespace hz::test;

namespace {

struct SourceCase {
    const char* name;
    const char* font;
    const char* face;
    int size;
    bool traditional;
    const char* describes; // a phrase the report must contain
};

void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.name;
}

class DebianSource : public ::testing::TestWithParam<SourceCase> {};

TEST_P(DebianSource, WritesACompleteCentredLibrary) {
    const SourceCase& c = GetParam();
    TempFolder scratch;
    std::vector<std::string> args{
        "--font", c.font, "--face", c.face, "--size", std::to_string(c.size), "--output", scratch.file("library")};
    if (c.traditional)
        args.push_back("--traditional");
    const ProcessResult run = runMkfont(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(c.describes), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("no glyph for "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" cropped\n"), std::string::npos) << run.out;

    const LibraryView library(scratch.file("library"), c.size);
    expectLibraryLayout(library);
    // The first record is the ideographic space; the first hanzi's record starts at 1410 records.
    EXPECT_EQ(library.inkCount(0xA1A1), 0);
    EXPECT_EQ(library.record(0xB0A1).data() - library.bytes().data(), 1410 * library.recordSize());
    EXPECT_GT(library.inkCount(0xB0A1), 0);
    expectFrameIntact(library, gb("国"));
    const CentreOffset offset = meanInkCentreOffset(library);
    EXPECT_LE(std::abs(offset.x), 1.0);
    EXPECT_LE(std::abs(offset.y), 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, DebianSource,
    ::testing::Values(SourceCase{"PcfStrike16", "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf", "0", 16, false,
                                 "its 16-pixel strike, Unicode character map"},
                      SourceCase{"CompressedGbPcf", "/usr/share/fonts/X11/misc/guob16.pcf.gz", "0", 16, false,
                                 "GB2312 (7-bit codes) character map"},
                      SourceCase{"TrueTypeOutline16", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", "0", 16, false,
                                 "outlines rendered in grey, hinted lightly and cut at a third of coverage, at 15"},
                      SourceCase{"TrueTypeOutline12", "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf", "0", 12,
                                 false, "outlines rendered monochrome by the autohinter, at "},
                      SourceCase{"Traditional24", "/usr/share/fonts/truetype/arphic/uming.ttc", "2", 24, true,
                                 "characters have a traditional form"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DebianSource, GreyRenderingWithAThresholdKeepsMoreInkAsTheThresholdFalls) {
    TempFolder scratch;
    auto inkOf = [&](const char* threshold) {
        const std::string out = scratch.file(std::string("t") + threshold);
        const ProcessResult run = runMkfont({"--font", "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf",
                                            "--size", "24", "--threshold", threshold, "--output", out});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("rendered in grey"), std::string::npos) << run.out;
        return LibraryView(out, 24).inkCount(gb("永"));
    };
    const int darkest = inkOf("0"); // the lowest threshold: any ink at all
    const int dark = inkOf("40");
    const int light = inkOf("200");
    EXPECT_GT(light, 0);
    EXPECT_GT(dark, light);
    EXPECT_GE(darkest, dark);
}

} // namespace
