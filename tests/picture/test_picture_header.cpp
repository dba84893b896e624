#include "core/output/picture_header.h"
#include "core/picture/picture_layout.h"

#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

PictureRecord stripes(const char* name, int w, int h, int depth) {
    PictureRecord record{name, DotPicture(w, h, depth)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            record.dots.setLevel(x, y, (x * 7 + y * 3) % (record.dots.maxLevel() + 1));
    return record;
}

// A program that checks every picture's size and bytes through the header's table, in C or C++.
std::string checkingProgram(const std::vector<PictureRecord>& pictures, const Layout& layout) {
    std::string src = "#include <stdio.h>\n#include \"ui.h\"\nint main(void) {\n    int failures = 0;\n";
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto bytes = encodePicture(pictures[i].dots, layout);
        const std::string at = "ui_picture_at(" + std::to_string(i) + ")";
        src += "    {\n        static const unsigned char want[] = {";
        for (const std::uint8_t b : bytes)
            src += std::to_string(b) + ",";
        src += "};\n        unsigned k;\n";
        src += "        if (" + at + "->width != " + std::to_string(pictures[i].dots.width()) + " || " + at +
               "->height != " + std::to_string(pictures[i].dots.height()) + ") ++failures;\n";
        src += "        if (ui_" + pictures[i].name + "_BYTES != sizeof want) ++failures;\n";
        src += "        for (k = 0; k < sizeof want; ++k) if (" + at + "->bytes[k] != want[k]) ++failures;\n    }\n";
    }
    src += "    if (ui_picture_at(" + std::to_string(pictures.size()) + ") != NULL) ++failures;\n";
    src += "    if (failures) printf(\"%d wrong\\n\", failures);\n    return failures != 0;\n}\n";
    return src;
}

struct HeaderCase {
    const char* layout;
    bool cxx;
};

class PictureHeaderCompiles : public ::testing::TestWithParam<HeaderCase> {};

// Built with every warning an error, with a second file that includes the header and uses nothing.
TEST_P(PictureHeaderCompiles, AndHoldsEachPicturesBytes) {
    const Layout layout = *parseLayout(GetParam().layout);
    const std::vector<PictureRecord> pictures = {stripes("logo", 70, 9, layout.bpp),
                                                 stripes("wifi", 5, 13, layout.bpp)};
    test::TempFolder dir;
    test::writeFile(dir.file("ui.h"), makePictureHeader({pictures, layout, "ui"}));
    test::writeFile(dir.file("program.c"), checkingProgram(pictures, layout));
    test::writeFile(dir.file("other.c"), "#include \"ui.h\"\nint other(void);\nint other(void) { return 0; }\n");
    test::ProcessCall build;
    build.command = GetParam().cxx ? std::vector<std::string>{"c++", "-x", "c++", "-std=c++17"}
                                   : std::vector<std::string>{"cc", "-std=c99"};
    build.command.insert(build.command.end(), {"-O2", "-Wall", "-Wextra", "-Werror", "-pedantic", "-o",
                                               dir.file("check"), dir.file("program.c"), dir.file("other.c")});
    const auto built = test::runProcess(build);
    ASSERT_EQ(built.status, 0) << built.out << built.err;
    test::ProcessCall run;
    run.command = {dir.file("check")};
    const auto ran = test::runProcess(run);
    EXPECT_EQ(ran.status, 0) << ran.out << ran.err;
}

INSTANTIATE_TEST_SUITE_P(Layouts, PictureHeaderCompiles,
                         ::testing::Values(HeaderCase{"pages-lsb", false}, HeaderCase{"rows-msb-4bpp", false},
                                           HeaderCase{"columns-lsb-up", true}),
                         [](const auto& info) {
                             std::string name = std::string(info.param.layout) + (info.param.cxx ? "_cxx" : "_c");
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(PictureHeader, NamesEachPictureAndTheDepth) {
    const Layout layout = *parseLayout("rows-msb-2bpp");
    const std::vector<PictureRecord> pictures = {stripes("logo", 64, 32, 2)};
    const std::string text = makePictureHeader({pictures, layout, "ui"});
    for (const char* line : {"#define ui_logo_WIDTH 64\n", "#define ui_logo_HEIGHT 32\n", "#define ui_logo_BYTES 512\n",
                             "#define ui_BPP 2\n", "#define ui_PICTURE_COUNT 1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(PictureHeader, NamesTwoDeclarationsWouldShare) {
    const DotPicture dot(1, 1);
    EXPECT_EQ(pictureHeaderClash(std::vector<PictureRecord>{{"a", dot}, {"a_WIDTH", dot}}), "a_WIDTH");
    EXPECT_EQ(pictureHeaderClash(std::vector<PictureRecord>{{"pictures", dot}}), "pictures");
    EXPECT_EQ(pictureHeaderClash(std::vector<PictureRecord>{{"a", dot}, {"b", dot}}), std::nullopt);
    EXPECT_THROW(makePictureHeader({std::vector<PictureRecord>{{"picture_at", dot}}, Layout{}, "ui"}),
                 std::invalid_argument);
    EXPECT_THROW(makePictureHeader({std::vector<PictureRecord>{{"a", dot}}, Layout{}, "int"}), std::invalid_argument);
}

} // namespace
} // namespace hz
