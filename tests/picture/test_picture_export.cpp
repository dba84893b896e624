#include "core/picture/picture_export.h"
#include "core/picture/picture_layout.h"
#include "core/picture/picture_view.h"
#include "core/text/byte_text.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

struct NameCase {
    const char* path;
    const char* name;
};

class PictureNameRows : public ::testing::TestWithParam<NameCase> {};

TEST_P(PictureNameRows, MakesACIdentifierOfTheStem) {
    EXPECT_EQ(pictureName(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Paths, PictureNameRows,
                         ::testing::Values(NameCase{"logo.png", "logo"},
                                           NameCase{"img/battery-full.png", "battery_full"},
                                           NameCase{"3g.bmp", "pic_3g"}, NameCase{"a.b.svg", "a_b"},
                                           NameCase{"/x/.hidden", "hidden"}, NameCase{"dir/", "picture"},
                                           NameCase{"图标.gif", "u56FEu6807"}, NameCase{"wifi 2.jpg", "wifi_2"},
                                           NameCase{"bad\xff.png", "bad"}, NameCase{"__a--b__.png", "a_b"},
                                           NameCase{"--.png", "picture"}, NameCase{"Icon_1", "Icon_1"}));

PictureRecord checkerRecord(const char* name, int w, int h) {
    PictureRecord record{name, DotPicture(w, h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            record.dots.setLevel(x, y, (x + y) % 2);
    return record;
}

TEST(PictureExport, WritesTheGlyphExportShapesWithTheNameAndSize) {
    const std::vector<PictureRecord> pictures = {checkerRecord("logo", 70, 9), checkerRecord("dot", 1, 1)};
    const Layout pages = *parseLayout("pages-lsb");
    const auto logo = encodePicture(pictures[0].dots, pages);
    const auto dot = encodePicture(pictures[1].dots, pages);
    const std::string want = ";logo[70*9]pages-lsb\r\n" + assemblyText(logo) + "\r\n" + ";dot[1*1]pages-lsb\r\n" +
                             assemblyText(dot) + "\r\n" + "\r\n" + "{//logo[70*9]pages-lsb\r\n" + cText(logo) +
                             "};\r\n" + "{//dot[1*1]pages-lsb\r\n" + cText(dot) + "};\r\n";
    EXPECT_EQ(pictureExportText(pictures, LayoutChoice::of(pages)), want);
}

TEST(PictureExport, AnArrangementIsNamedInChineseAndTakesThePicturesDepth) {
    PictureRecord grey{"g", DotPicture(3, 2, 4)};
    grey.dots.setLevel(0, 0, 15);
    const std::string text = pictureExportText(std::span(&grey, 1), LayoutChoice::of(Arrangement::ColsDown));
    EXPECT_EQ(text.substr(0, text.find("\r\n")), ";g[3*2]上下列排");
    Layout columns = *parseLayout("columns-msb-4bpp");
    EXPECT_EQ(pictureBytes(grey.dots, exportForms(LayoutChoice::of(Arrangement::ColsDown))[0]),
              encodePicture(grey.dots, columns));
}

TEST(PictureExport, AllWritesTheFiveArrangementsAndBinaryHoldsOnlyBytes) {
    const std::vector<PictureRecord> pictures = {checkerRecord("a", 9, 3)};
    std::size_t headers = 0;
    const std::string text = pictureExportText(pictures, LayoutChoice::all());
    for (std::size_t at = 0; (at = text.find("{//a[9*3]", at)) != std::string::npos; ++at)
        ++headers;
    EXPECT_EQ(headers, 5U);
    std::vector<std::uint8_t> want;
    for (const auto& form : exportForms(LayoutChoice::all())) {
        const auto bytes = pictureBytes(pictures[0].dots, form);
        want.insert(want.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(pictureBinary(pictures, LayoutChoice::all()), want);
}

// A picture that fits a cell is drawn as the glyph of the same dots; a larger one line for line.
TEST(PictureView, DrawsAsAGlyphsEnlargedMatrix) {
    const PictureRecord small = checkerRecord("s", 9, 5);
    const Marks marks;
    EXPECT_EQ(pictureDotText(small.dots, marks), dotMatrixText(small.dots.part(0, 0, 9, 5), marks));
    const PictureRecord wide = checkerRecord("w", 70, 2);
    const Marks plain{"#", ".", true};
    std::string row0, row1;
    for (int x = 0; x < 70; ++x) {
        row0 += x % 2 ? "#" : ".";
        row1 += x % 2 ? "." : "#";
    }
    EXPECT_EQ(pictureDotText(wide.dots, plain), row0 + "\r\n" + row1 + "\r\n");
}

} // namespace
} // namespace hz
