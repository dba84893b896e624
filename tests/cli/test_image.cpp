// --image from the command line: each format reaches the core, the options reach the dithering, the
// outputs are written in their shapes and every bad picture is named with nothing written. The dots
// and bytes themselves are tested in the core (tests/picture).
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

const std::string kPictures = HZDOT_SOURCE_DIR "/tests/picture/pictures/";

// Each test picture is 16 x 8 with a black bar over its top 4 rows: rows-msb bytes FF FF for a row
// of the bar, 00 00 below. logo.png's right quarter is transparent.
std::string barBytes(bool logo) {
    std::string bytes;
    for (int row = 0; row < 8; ++row)
        bytes += row < 4 ? std::string(logo ? "\xFF\xF0" : "\xFF\xFF") : std::string(2, '\0');
    return bytes;
}

class ImageFormats : public ::testing::TestWithParam<const char*> {};

TEST_P(ImageFormats, ReachTheBinaryOutput) {
    const std::string file = GetParam();
    CliResult r =
        runCli({"--image", kPictures + file, "--layout", "rows-msb", "--format", "bin", "--dither", "threshold"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, barBytes(file == "logo.png"));
}

INSTANTIATE_TEST_SUITE_P(Files, ImageFormats, ::testing::Values("logo.png", "bar.bmp", "bar.jpg", "bar.gif", "bar.svg"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name[name.find('.')] = '_';
                             return name;
                         });

TEST(Image, TextNamesEachPictureBlockInOrder) {
    CliResult r = runCli({"--image", kPictures + "logo.png", kPictures + "bar.bmp", "--layout", "ssd1306"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto logo = r.out.find(";logo[16*8]pages-lsb\r\nDB ");
    const auto bar = r.out.find(";bar[16*8]pages-lsb\r\nDB ");
    const auto cLogo = r.out.find("{//logo[16*8]pages-lsb\r\n0x");
    const auto cBar = r.out.find("{//bar[16*8]pages-lsb\r\n0x");
    ASSERT_NE(cBar, std::string::npos) << r.out;
    EXPECT_TRUE(logo < bar && bar < cLogo && cLogo < cBar) << r.out;
}

TEST(Image, OptionsReachTheDots) {
    const std::string bar = kPictures + "bar.bmp";
    auto bin = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"--image", bar, "--format", "bin", "--dither", "threshold"};
        args.insert(args.end(), extra.begin(), extra.end());
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    std::string inverted = barBytes(false);
    for (char& c : inverted)
        c = static_cast<char>(~c);
    EXPECT_EQ(bin({"--invert"}), inverted);
    EXPECT_EQ(bin({"--threshold", "0"}), std::string(16, '\0')); // nothing is darker than 0
    EXPECT_EQ(bin({"--fit", "8x8"}).size(), 4u);                 // 8 x 4 dots, a byte a row
    EXPECT_EQ(bin({"--bpp", "4"}).size(), 64u);                  // two dots a byte
}

TEST(Image, ViewPrintsEachPicturesDots) {
    CliResult r = runCli({"--image", kPictures + "bar.bmp", kPictures + "logo.png", "--view", "--dither", "threshold",
                          "--mark", "X", "--no-back"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string ink(16, 'X'), clear(32, ' '), logoInk = std::string(12, 'X') + std::string(8, ' ');
    std::string want;
    for (int row = 0; row < 8; ++row)
        want += (row < 4 ? ink : clear) + "\r\n";
    want += "\r\n";
    for (int row = 0; row < 8; ++row)
        want += (row < 4 ? logoInk : clear) + "\r\n";
    EXPECT_EQ(r.out, want);
}

TEST(Image, HeaderOfPictures) {
    TempFolder dir;
    const std::string file = dir.file("icons.h");
    CliResult r = runCli({"--image", kPictures + "bar.svg", "--fit", "32x32", "--layout", "ssd1306", "--format",
                          "header", "--name", "ui", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = readFile(file);
    EXPECT_NE(text.find("#define ui_bar_WIDTH 32\n#define ui_bar_HEIGHT 16\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ui_pictures[1]"), std::string::npos) << text;
}

TEST(Image, PreviewDrawsPicturesAndTextInTheOrderGiven) {
    SampleFonts s;
    auto preview = [&](std::vector<std::string> args) {
        const std::string file = s.fonts.file("p.png");
        args.insert(args.begin(), {"-f", s.dir(), "--preview", "64x16", "-o", file});
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return readFile(file);
    };
    const std::string pictureFirst = preview({"--image", kPictures + "bar.bmp", "样"});
    const std::string textFirst = preview({"样", "--image", kPictures + "bar.bmp"});
    const std::string pictureAlone = preview({"--image", kPictures + "bar.bmp"});
    EXPECT_EQ(pictureFirst.substr(1, 3), "PNG");
    EXPECT_NE(pictureFirst, textFirst);
    EXPECT_NE(pictureFirst, pictureAlone);
    // -i FILE stands where it is given, as TEXT does
    const std::string text = s.fonts.file("text.txt");
    writeFile(text, "样");
    EXPECT_EQ(preview({"--image", kPictures + "bar.bmp", "-i", text}), pictureFirst);
    EXPECT_EQ(preview({"-i", text, "--image", kPictures + "bar.bmp"}), textFirst);
}

struct BadImage {
    std::vector<std::string> args;
    std::string message;
};

class ImageRefusals : public ::testing::TestWithParam<BadImage> {};

// Each is said on standard error, with exit status 2 and no output file.
TEST_P(ImageRefusals, SayWhyAndWriteNothing) {
    TempFolder dir;
    const std::string out = dir.file("out.bin");
    std::vector<std::string> args = GetParam().args;
    args.insert(args.end(), {"-o", out});
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageRefusals,
    ::testing::Values(
        BadImage{{"--image", kPictures + "broken.png"}, "broken.png\" is damaged or cut short"},
        BadImage{{"--image", kPictures + "huge.png"}, "is 20000x20000 pixels; pictures of more than"},
        BadImage{{"--image", kPictures + "make_pictures.sh"}, "is not a PNG, BMP, JPEG, GIF or SVG picture"},
        BadImage{{"--image", kPictures + "none.png"}, "cannot read picture"},
        BadImage{{"--image", kPictures}, "is not a file"},
        // one bad picture among good ones: none is written
        BadImage{{"--image", kPictures + "bar.bmp", kPictures + "broken.png", "--format", "bin"}, "damaged"},
        BadImage{{"--image", kPictures + "bar.bmp", kPictures + "bar.gif"}, "would both be named bar"},
        BadImage{{"--image", kPictures + "bar.bmp", "样"}, "goes with --preview"},
        BadImage{{"--image", kPictures + "bar.bmp", "--fit", "0x9"}, "is not a size"},
        BadImage{{"--image", kPictures + "bar.bmp", "--fit", "2000x9"}, "1-1024 a side"},
        BadImage{{"--image", kPictures + "bar.bmp", "--dither", "random"}, "is not a dither"},
        BadImage{{"--fit", "8x8", "样"}, "--fit, --dither and --invert go with --image"},
        BadImage{{"--image", kPictures + "bar.bmp", "--bpp", "2", "--threshold", "9"}, "cuts a picture to one bit"},
        BadImage{{"--image", kPictures + "bar.bmp", "--layout", "pages-lsb", "--bpp", "4"}, "pages"},
        BadImage{{"--image", kPictures + "bar.bmp", "--current"}, "does not go with --image"},
        BadImage{{"--image", kPictures + "bar.bmp", "--view", "--format", "bin"}, "does not go with --format"},
        BadImage{{"--image", kPictures + "bar.bmp", "--c89", "--format", "header"}, "header of pictures is C99"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Image, APictureTooLargeForDotsAsksForAFit) {
    TempFolder dir;
    const std::string svg = dir.file("wide.svg");
    writeFile(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='2000' height='100'/>");
    CliResult r = runCli({"--image", svg, "--format", "bin"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("give --fit WxH"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"--image", svg, "--format", "bin", "--fit", "200x200"}).out.size(), 25u * 10);
}

TEST(Image, AFailedRunLeavesTheOldOutputAndNeverOverwritesAPicture) {
    TempFolder dir;
    const std::string out = dir.file("out.txt");
    writeFile(out, "old");
    EXPECT_EQ(runCli({"--image", kPictures + "broken.png", "-o", out}).status, 2);
    EXPECT_EQ(readFile(out), "old");
    // the output may not be a picture being read
    const std::string copy = dir.file("copy.png");
    writeFile(copy, readFile(kPictures + "logo.png"));
    CliResult r = runCli({"--image", copy, "--preview", "32x8", "-o", copy});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("picture being read"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(copy), readFile(kPictures + "logo.png"));
}

} // namespace
