// A library file its owner made read-only is not replaced by a build.

#include "bdf_font.h"
#include "mkfont_process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(ProtectedOutput, RefusedNamingTheFile) {
    ScratchFolder scratch;
    BdfFont font;
    font.glyphs.push_back(frameGlyph(0x554A, 16, 16, 0, -2));
    writeWholeFile(scratch.path("font.bdf"), font.text());
    const std::string output = scratch.path("library");
    writeWholeFile(output, "an older library");
    ASSERT_EQ(::chmod(output.c_str(), 0444), 0);
    const MkfontResult run = runMkfont({"--font", scratch.path("font.bdf"), "--size", "16", "--output", output});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "hzdot-mkfont: " + output + ": the file is write-protected\n");
    EXPECT_EQ(readWholeFile(output), "an older library");
}

} // namespace
