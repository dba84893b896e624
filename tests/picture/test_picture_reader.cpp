#include "picturesource/picture_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <sys/resource.h>

namespace hz::picturesource {
namespace {

const std::string kPictures = HZDOT_PICTURE_DIR;

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// The bar the test pictures draw: the top half of their rows set, the rest clear, except the
// columns from clearFrom on (transparent in logo.png).
void expectTopBar(const DotPicture& dots, int clearFrom) {
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            ASSERT_EQ(dots.dot(x, y), y < dots.height() / 2 && x < clearFrom) << "at " << x << "," << y;
}

class PictureFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(PictureFiles, EachFormatIsReadAtItsOwnSize) {
    const std::string path = kPictures + "/" + GetParam();
    auto dots = readPictureDots(path, {.dither = Dither::Threshold, .threshold = 128});
    ASSERT_TRUE(dots) << static_cast<int>(dots.problem().kind) << " " << dots.problem().detail;
    EXPECT_EQ(dots->width(), 16);
    EXPECT_EQ(dots->height(), 8);
    expectTopBar(*dots, std::string(GetParam()) == "logo.png" ? 12 : 16);
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureFiles,
                         ::testing::Values("logo.png", "bar.bmp", "bar.jpg", "bar.gif", "bar.svg"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name[name.find('.')] = '_';
                             return name;
                         });

TEST(PictureReader, AJpegIsTurnedAsItsExifSays) {
    auto dots = readPictureDots(kPictures + "/turned.jpg", {.dither = Dither::Threshold, .threshold = 128});
    ASSERT_TRUE(dots);
    ASSERT_EQ(dots->width(), 8);
    ASSERT_EQ(dots->height(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dots->dot(x, y), x >= 4) << "at " << x << "," << y;
}

TEST(PictureReader, AnSvgIsRenderedAtTheFittedSize) {
    auto image = readPicture(kPictures + "/bar.svg", PictureSize{64, 64});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->height, 32);
    // drawn at that size, so the bar's edge is sharp: no grey row between black and clear
    auto dots = readPictureDots(kPictures + "/bar.svg", {.fit = PictureSize{64, 64}, .dither = Dither::None});
    ASSERT_TRUE(dots);
    expectTopBar(*dots, 64);
}

TEST(PictureReader, AHugeHeaderIsRefusedBeforeAnyPixelIsMade) {
    // gdk-pixbuf's first use loads its loaders; that is not the huge picture's doing
    ASSERT_TRUE(readPicture(kPictures + "/logo.png"));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    auto image = readPicture(kPictures + "/huge.png");
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.problem().kind, PictureProblemKind::SourceTooLarge);
    EXPECT_EQ(image.problem().width, 20000);
    EXPECT_EQ(image.problem().height, 20000);
    EXPECT_EQ(image.problem().limit, ReadLimits{}.maxPixels);
    // 20000 x 20000 RGBA would be 1.6 GB; the high-water mark grows by far less than one megapixel
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 4096); // KB
}

TEST(PictureReader, ABrokenFileSaysSoInTheDecodersWords) {
    auto image = readPicture(kPictures + "/broken.png");
    ASSERT_FALSE(image);
    EXPECT_EQ(image.problem().kind, PictureProblemKind::Broken);
    EXPECT_EQ(image.problem().file, kPictures + "/broken.png");
}

struct RefusedCase {
    const char* what;
    std::string bytes;
    PictureProblemKind kind;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.what;
}

class PictureRefusals : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(PictureRefusals, AreNamed) {
    auto image = readPictureBytes(bytesOf(GetParam().bytes), "x");
    ASSERT_FALSE(image);
    EXPECT_EQ(image.problem().kind, GetParam().kind);
    EXPECT_EQ(image.problem().file, "x");
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, PictureRefusals,
    ::testing::Values(RefusedCase{"empty", "", PictureProblemKind::Empty},
                      RefusedCase{"text", "hello, not a picture", PictureProblemKind::NotRecognised},
                      // gdk-pixbuf reads XPM and TGA too, but only the five formats are offered to it
                      RefusedCase{"xpm", "/* XPM */\nstatic char *x[] = {\"1 1 1 1\", \"a c #000000\", \"a\"};",
                                  PictureProblemKind::NotRecognised},
                      RefusedCase{"bmpHeaderOnly", "BM\x10\0\0\0", PictureProblemKind::Broken},
                      RefusedCase{"svgTooLargeWithoutFit",
                                  "<svg xmlns='http://www.w3.org/2000/svg' width='5000' height='10'/>",
                                  PictureProblemKind::TooLargeForDots},
                      RefusedCase{"svgUnclosed", "<svg xmlns='http://www.w3.org/2000/svg' width='5' height='5'><rect",
                                  PictureProblemKind::Broken}),
    [](const auto& info) { return std::string(info.param.what); });

// gdk-pixbuf's BMP loader would size a buffer by the offset a file claims before anything else is
// known; the claim is checked against the file first, and the refusal says so.
TEST(PictureReader, ABmpClaimingMoreThanItHoldsIsRefusedFirst) {
    std::string bmp = std::string("BM\x3c\0\0\0\0\0\0\0\x36\0\0\x80\x28\0\0\0", 18) + std::string(42, '\x01');
    auto image = readPictureBytes(bytesOf(bmp), "x.bmp");
    ASSERT_FALSE(image);
    EXPECT_EQ(image.problem().kind, PictureProblemKind::Broken);
    EXPECT_NE(image.problem().detail.find("past the end of the file"), std::string::npos) << image.problem().detail;
    bmp[10] = 0x36; // the same file with honest claims goes on to the loader
    bmp[13] = 0;
    bmp.replace(46, 4, std::string(4, '\0')); // no colour table
    auto honest = readPictureBytes(bytesOf(bmp), "x.bmp");
    ASSERT_FALSE(honest);
    EXPECT_EQ(honest.problem().detail.find("past the end of the file"), std::string::npos);
}

// The loader sizes the colour table by the count the header claims (4 bytes a colour): a small
// file claiming four billion colours is refused before the loader sees it, and a count the file
// holds is not.
TEST(PictureReader, ABmpClaimingMoreColoursThanItHoldsIsRefusedFirst) {
    auto le32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    auto le16 = [](std::uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    // 2x2, one bit a dot, two colours (black, white), the pixels at 62: a whole, honest file.
    std::string bmp = "BM" + le32(70) + le32(0) + le32(62) +                     // file header
                      le32(40) + le32(2) + le32(2) + le16(1) + le16(1) +        // size, planes, bits
                      le32(0) + le32(8) + le32(0) + le32(0) + le32(2) + le32(0) + // colours used: 2
                      le32(0) + le32(0xFFFFFF) +                                  // the colour table
                      le32(0x40) + le32(0x80);                                    // two rows of pixels
    ASSERT_EQ(bmp.size(), 70u);
    auto honest = readPictureBytes(bytesOf(bmp), "x.bmp");
    ASSERT_TRUE(honest) << honest.problem().detail;
    EXPECT_EQ(honest->width, 2);

    bmp.replace(46, 4, le32(0xFFFFFFFF));
    auto claiming = readPictureBytes(bytesOf(bmp), "x.bmp");
    ASSERT_FALSE(claiming);
    EXPECT_EQ(claiming.problem().kind, PictureProblemKind::Broken);
    EXPECT_NE(claiming.problem().detail.find("past the end of the file"), std::string::npos);
}

TEST(PictureReader, FilesThatCannotBeReadAreNamed) {
    auto missing = readPicture(kPictures + "/no-such.png");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.problem().kind, PictureProblemKind::FileUnreadable);
    EXPECT_EQ(missing.problem().systemError, ENOENT);
    auto folder = readPicture(kPictures);
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.problem().kind, PictureProblemKind::NotAFile);
    auto big = readPicture(kPictures + "/logo.png", {}, ReadLimits{.maxFileBytes = 100});
    ASSERT_FALSE(big);
    EXPECT_EQ(big.problem().kind, PictureProblemKind::FileTooLarge);
    EXPECT_EQ(big.problem().limit, 100);
}

TEST(PictureReader, ALargePictureNeedsAFitToBecomeDots) {
    // an SVG of 2000 x 1000 rendered to fit 128 x 64; without a fit it is refused
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='2000' height='1000'/>";
    auto fitted = readPictureBytes(bytesOf(svg), "wide.svg", PictureSize{128, 64});
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->width, 128);
    EXPECT_EQ(fitted->height, 64);
}

} // namespace
} // namespace hz::picturesource
