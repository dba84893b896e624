// Running out of memory while building: a clear message, status 2, and the library file that was
// there before left as it was.

#include "bdf_font.h"
#include "mkfont_process.h"
#include "process.h"

#include <gtest/gtest.h>

namespace {

TEST(OutOfMemory, ClearMessageAndTheOldLibraryKept) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer owns operator new";
#endif
    ScratchFolder scratch;
    BdfFont font;
    for (std::uint32_t c : {0x554Au, 0x56FDu, 0x5B57u})
        font.glyphs.push_back(frameGlyph(c, 16, 16, 0, -2));
    writeWholeFile(scratch.path("font.bdf"), font.text());
    const std::string output = scratch.path("library");
    hz::test::ProcessCall call;
    call.command = {HZDOT_MKFONT_PATH, "--font", scratch.path("font.bdf"), "--size", "16", "--output", output};
    call.environment = {"LD_PRELOAD=" HZ_FAIL_NEW_PATH, "HZ_COUNT_NEW_TO=" + scratch.path("count")};
    ASSERT_EQ(hz::test::runProcess(call).status, 0);
    const long total = std::stol(readWholeFile(scratch.path("count")));
    ASSERT_GT(total, 20);

    for (long at : {total / 4, total / 2, total * 3 / 4, total}) {
        writeWholeFile(output, "an older library");
        call.environment = {"LD_PRELOAD=" HZ_FAIL_NEW_PATH, "HZ_FAIL_NEW_AT=" + std::to_string(at)};
        const hz::test::ProcessResult r = hz::test::runProcess(call);
        EXPECT_EQ(r.status, 2) << "allocation " << at << " of " << total << ": " << r.err;
        EXPECT_EQ(r.err, "hzdot-mkfont: out of memory; the library file was not written\n") << at;
        EXPECT_EQ(readWholeFile(output), "an older library") << at;
    }
}

} // namespace
