// The six libraries the build made in the program's folder.

#include "layout_checks.h"
#include "library_view.h"
#include "process.h"
#include "temp_folder.h"

#include "core/library/font_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace hz::test;

namespace {

int cellDots(const hz::FontLibrary& library) {
    return library.recordSize == 24 ? 12 : library.CellSize;
}

LibraryView builtLibrary(const hz::FontLibrary& library) {
    return LibraryView(std::string(HZDOT_BIN_DIR) + "/" + std::string(library.fileName), cellDots(library));
}

class BuiltLibrary : public ::testing::TestWithParam<int> {
protected:
    const hz::FontLibrary& library() const { return hz::fontLibrary(GetParam()); }
};

TEST_P(BuiltLibrary, FollowsTheLayoutWithInkForEveryHanzi) {
    expectLibraryLayout(builtLibrary(library()));
}

TEST_P(BuiltLibrary, KeepsFullCellCharactersWhole) {
    const LibraryView view = builtLibrary(library());
    for (const char* character : {"国", "图", "圈"})
        expectFrameIntact(view, gb(character));
    // Wide and tall characters reach towards the cell's edges.
    for (const char* character : {"国", "图", "圈", "鼹"}) {
        const auto box = view.inkBox(gb(character));
        ASSERT_TRUE(box);
        EXPECT_GE(box->width(), view.size() * 2 / 3) << character << "\n" << view.picture(gb(character));
        EXPECT_GE(box->height(), view.size() * 3 / 4) << character << "\n" << view.picture(gb(character));
    }
}

TEST_P(BuiltLibrary, CentresTheHanziAndPutsYiOnTheMiddleRows) {
    const LibraryView view = builtLibrary(library());
    const CentreOffset offset = meanInkCentreOffset(view);
    EXPECT_LE(std::abs(offset.x), 1.0);
    EXPECT_LE(std::abs(offset.y), 1.0);

    const auto yi = view.inkBox(gb("一"));
    ASSERT_TRUE(yi);
    EXPECT_LE(std::abs((yi->top + yi->bottom) / 2.0 - (view.size() - 1) / 2.0), 1.0) << view.picture(gb("一"));
}

INSTANTIATE_TEST_SUITE_P(SixLibraries, BuiltLibrary, ::testing::Range(0, hz::kLibraryCount),
                         [](const auto& info) { return "position" + std::to_string(info.param); });

// The traditional library against the same font drawn without the mapping.
class TraditionalLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new TempFolder;
        const ProcessResult result = runMkfont({"--font", "/usr/share/fonts/truetype/arphic/uming.ttc", "--face", "2",
                                               "--size", "16", "--output", scratch_->file("plain16")});
        ASSERT_EQ(result.status, 0) << result.err;
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }

    static TempFolder* scratch_;
    const LibraryView traditional = builtLibrary(hz::fontLibrary(2));
    const LibraryView plain = LibraryView(scratch_->file("plain16"), 16);
};
TempFolder* TraditionalLibrary::scratch_ = nullptr;

TEST_F(TraditionalLibrary, DrawsTheTraditionalFormOfOverTwoThousandHanzi) {
    int differing = 0;
    for (std::uint16_t code : gb2312Hanzi())
        differing += traditional.record(code) != plain.record(code);
    EXPECT_GE(differing, 2000);

    const LibraryView song = builtLibrary(hz::fontLibrary(1));
    int differingFromSong = 0;
    for (std::uint16_t code : gb2312Hanzi())
        differingFromSong += traditional.record(code) != song.record(code);
    EXPECT_GE(differingFromSong, 2000);
}

TEST_F(TraditionalLibrary, PutsTheTraditionalGlyphAtTheSimplifiedCode) {
    // GB2312 holds a few traditional forms itself, so the plain library shows what must appear.
    const std::pair<const char*, const char*> pairs[] = {{"于", "於"}, {"后", "後"}, {"征", "徵"}, {"伙", "夥"}};
    for (const auto& [simplified, traditionalForm] : pairs) {
        EXPECT_EQ(traditional.record(gb(simplified)), plain.record(gb(traditionalForm)))
            << simplified << "\n"
            << traditional.picture(gb(simplified));
    }
    for (const char* same : {"一", "永", "的"})
        EXPECT_EQ(traditional.record(gb(same)), plain.record(gb(same))) << same;
    for (const char* changed : {"门", "马", "国"})
        EXPECT_NE(traditional.record(gb(changed)), plain.record(gb(changed))) << changed;
}

} // namespace
