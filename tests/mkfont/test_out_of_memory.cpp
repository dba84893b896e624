// Running out of memory while building: a clear message, status 2, and the library file that was
// there before left as it was.

#include "bdf_font.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

using namespace hz::test;

namespace {

TEST(OutOfMemory, ClearMessageAndTheOldLibraryKept) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer owns operator new";
#endif
    TempFolder scratch;
    BdfFont font;
    for (std::uint32_t c : {0x554Au, 0x56FDu, 0x5B57u})
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    writeFile(scratch.file("font.bdf"), font.text());
    const std::string output = scratch.file("library");
    hz::test::ProcessCall call;
    call.command = {HZDOT_MKFONT_PATH, "--font", scratch.file("font.bdf"), "--size", "16", "--output", output};
    const long total = hz::test::countAllocations(call);
    ASSERT_GT(total, 20);

    for (long at : {total / 4, total / 2, total * 3 / 4, total}) {
        writeFile(output, "an older library");
        call.failAllocationAt = at;
        const hz::test::ProcessResult r = hz::test::runProcess(call);
        EXPECT_EQ(r.status, 2) << "allocation " << at << " of " << total << ": " << r.err;
        EXPECT_EQ(r.err, "hzdot-mkfont: out of memory; the library file was not written\n") << at;
        EXPECT_EQ(readFile(output), "an older library") << at;
    }
}

} // namespace
