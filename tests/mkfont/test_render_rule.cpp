// --render: every rule writes records of the same codes and size, dropout control's holding every
// dot of the classic ones; the report names the rule, and for default the rule it stood for. The
// dots themselves are checked against live glyphs in the font source's tests.

#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hz::test;

namespace {

const std::string kZenhei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

struct Built {
    std::string bytes;
    std::string report;
};

Built build(const TempFolder& scratch, const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--font", kZenhei, "--size", "12", "--output", scratch.file("lib")};
    args.insert(args.end(), extra.begin(), extra.end());
    const ProcessResult run = runMkfont(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return {readFile(scratch.file("lib")), run.out};
}

TEST(RenderRule, DropoutAddsDotsToTheClassicRecordsOnly) {
    TempFolder scratch;
    const Built classic = build(scratch, {"--render", "classic"});
    const Built kept = build(scratch, {"--render", "dropout"});
    ASSERT_EQ(classic.bytes.size(), 8178u * 24u);
    ASSERT_EQ(kept.bytes.size(), classic.bytes.size());
    std::size_t gained = 0, lost = 0;
    for (std::size_t i = 0; i < classic.bytes.size(); ++i) {
        const auto before = static_cast<unsigned char>(classic.bytes[i]);
        const auto after = static_cast<unsigned char>(kept.bytes[i]);
        gained += (after & ~before) != 0;
        lost += (before & ~after) != 0;
    }
    EXPECT_EQ(lost, 0u);
    EXPECT_GT(gained, 1000u) << "Zen Hei at 12 dots drops many hairline strokes";
    EXPECT_NE(kept.report.find("outlines rendered monochrome, thin strokes kept, at "), std::string::npos)
        << kept.report;
    EXPECT_NE(classic.report.find("outlines rendered monochrome at "), std::string::npos) << classic.report;
}

// Default is one of the other rules, record for record, and the report says which; Zen Hei's
// strokes are thick enough at 12 dots for the grey cut.
TEST(RenderRule, DefaultWritesTheRuleItNames) {
    TempFolder scratch;
    const Built byDefault = build(scratch, {});
    const Built named = build(scratch, {"--render", "default"});
    const Built grey = build(scratch, {"--render", "grey"});
    const Built autohinted = build(scratch, {"--render", "autohint"});
    ASSERT_EQ(byDefault.bytes.size(), 8178u * 24u);
    EXPECT_EQ(named.bytes, byDefault.bytes);
    EXPECT_EQ(grey.bytes, byDefault.bytes);
    ASSERT_EQ(autohinted.bytes.size(), byDefault.bytes.size());
    EXPECT_NE(autohinted.bytes, byDefault.bytes);
    for (const Built* built : {&byDefault, &grey})
        EXPECT_NE(built->report.find("outlines rendered in grey, hinted lightly and cut at a third of coverage, at "),
                  std::string::npos)
            << built->report;
    EXPECT_NE(autohinted.report.find("outlines rendered monochrome by the autohinter, at "), std::string::npos)
        << autohinted.report;
}

} // namespace
