// A library file its owner made read-only is not replaced by a build.

#include "bdf_font.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace hz::test;

namespace {

TEST(ProtectedOutput, RefusedNamingTheFile) {
    TempFolder scratch;
    BdfFont font;
    font.glyphs.push_back(frameGlyph(0x554A, 16, 16, 0, -2));
    writeFile(scratch.file("font.bdf"), font.text());
    const std::string output = scratch.file("library");
    writeFile(output, "an older library");
    ASSERT_EQ(::chmod(output.c_str(), 0444), 0);
    const ProcessResult run = runMkfont({"--font", scratch.file("font.bdf"), "--size", "16", "--output", output});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "hzdot-mkfont: " + output + ": the file is write-protected\n");
    EXPECT_EQ(readFile(output), "an older library");
}

} // namespace
