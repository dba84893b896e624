#include "core/picture/picture_dots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace hz {
namespace {

// An opaque grey picture of these luminances, row by row.
RgbaImage greyPicture(int w, int h, const std::vector<int>& values) {
    RgbaImage image{w, h, {}};
    for (const int v : values)
        image.rgba.insert(image.rgba.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v),
                                             static_cast<std::uint8_t>(v), 0xFF});
    return image;
}

RgbaImage flatPicture(int w, int h, int value) {
    return greyPicture(w, h, std::vector<int>(static_cast<std::size_t>(w * h), value));
}

std::vector<int> levelsOf(const DotPicture& dots) {
    std::vector<int> out;
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            out.push_back(dots.level(x, y));
    return out;
}

DotPicture dotsOf(const RgbaImage& image, PictureSettings settings) {
    auto dots = pictureDots(image, settings);
    EXPECT_TRUE(dots);
    return *dots;
}

// The Bayer matrices as published, written out rather than built.
constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int kBayer8[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                               {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                               {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                               {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

TEST(PictureDither, ThresholdSetsTheDotsDarkerThanT) {
    const std::vector<int> values = {0, 99, 100, 101, 255, 50};
    const auto dots = dotsOf(greyPicture(6, 1, values), {.dither = Dither::Threshold, .threshold = 100});
    EXPECT_EQ(levelsOf(dots), (std::vector<int>{1, 1, 0, 0, 0, 1}));
}

TEST(PictureDither, NoneCutsAtTheMiddleWhateverTheHistogram) {
    // Otsu would cut this picture between 10 and 20; none keeps its fixed middle.
    const auto dots = dotsOf(greyPicture(4, 1, {10, 20, 127, 128}), {.dither = Dither::None});
    EXPECT_EQ(levelsOf(dots), (std::vector<int>{1, 1, 1, 0}));
}

struct BayerCase {
    Dither dither;
    int side;
};

class PictureBayer : public ::testing::TestWithParam<BayerCase> {};

// Every grey level of a flat picture against the statement: a dot where g < T + 255((M + 0.5)/n^2 - 0.5).
TEST_P(PictureBayer, FlatGreysFollowTheMatrix) {
    const auto [dither, n] = GetParam();
    for (const int t : {128, 90}) {
        for (int g = 0; g < 256; g += 3) {
            const auto dots = dotsOf(flatPicture(16, 16, g), {.dither = dither, .threshold = t});
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const int m = n == 4 ? kBayer4[y % 4][x % 4] : kBayer8[y % 8][x % 8];
                    const bool want = g < t + 255.0 * ((m + 0.5) / (n * n) - 0.5);
                    ASSERT_EQ(dots.level(x, y), want ? 1 : 0) << "g " << g << " T " << t << " at " << x << "," << y;
                }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Matrices, PictureBayer,
                         ::testing::Values(BayerCase{Dither::Bayer4, 4}, BayerCase{Dither::Bayer8, 8}),
                         [](const auto& info) { return std::string(info.param.side == 4 ? "Bayer4" : "Bayer8"); });

// Worked by hand on a 2 x 2 picture of grey 100, cut at 128.
//   Floyd-Steinberg: (0,0) 100 -> dot, error 100: right 43.75, below 31.25, below right 6.25;
//   (1,0) 143.75 -> clear, error -111.25: below left -20.86, below -34.77;
//   (0,1) 110.39 -> dot, error 110.39: right 48.30; (1,1) 119.78 -> dot.
//   Atkinson: (0,0) dot, 12.5 each way; (1,0) 112.5 dot, 14.06 each way;
//   (0,1) 126.56 dot, 15.82 right; (1,1) 142.38 clear.
TEST(PictureDither, ErrorDiffusionOnAWorkedCase) {
    const RgbaImage picture = flatPicture(2, 2, 100);
    EXPECT_EQ(levelsOf(dotsOf(picture, {.dither = Dither::FloydSteinberg, .threshold = 128})),
              (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(levelsOf(dotsOf(picture, {.dither = Dither::Atkinson, .threshold = 128})),
              (std::vector<int>{1, 1, 1, 0}));
}

// Floyd-Steinberg passes the whole error on, so a flat grey's share of dots is its share of ink;
// Atkinson drops a quarter of it, so light greys wash out to no dots at all.
TEST(PictureDither, DiffusionKeepsTheGreyOfAFlatArea) {
    for (const int g : {32, 96, 160, 224}) {
        const auto dots = dotsOf(flatPicture(64, 64, g), {.dither = Dither::FloydSteinberg, .threshold = 128});
        const double share = dots.inkCount() / 4096.0;
        EXPECT_NEAR(share, (255 - g) / 255.0, 0.02) << "grey " << g;
    }
    EXPECT_EQ(dotsOf(flatPicture(64, 64, 230), {.dither = Dither::Atkinson, .threshold = 128}).inkCount(), 0);
}

// The split that leaves the least variance within the two classes, found by trying every T.
int otsuByTrying(const std::array<std::uint32_t, 256>& histogram) {
    double best = 1e300;
    int bestT = 128;
    for (int t = 1; t < 256; ++t) {
        double n[2] = {0, 0}, mean[2] = {0, 0}, spread[2] = {0, 0};
        for (int v = 0; v < 256; ++v) {
            n[v >= t] += histogram[static_cast<std::size_t>(v)];
            mean[v >= t] += static_cast<double>(v) * histogram[static_cast<std::size_t>(v)];
        }
        if (n[0] == 0 || n[1] == 0)
            continue;
        mean[0] /= n[0];
        mean[1] /= n[1];
        for (int v = 0; v < 256; ++v)
            spread[v >= t] += histogram[static_cast<std::size_t>(v)] * (v - mean[v >= t]) * (v - mean[v >= t]);
        if (spread[0] + spread[1] < best - 1e-6) {
            best = spread[0] + spread[1];
            bestT = t;
        }
    }
    return bestT;
}

TEST(PictureOtsu, AgreesWithTryingEverySplit) {
    std::mt19937 random(25);
    for (int round = 0; round < 50; ++round) {
        // two humps of random place, width and weight over a floor of one pixel of every grey, so
        // that no empty stretch makes a tie and the best split is unique
        std::array<std::uint32_t, 256> histogram{};
        histogram.fill(1);
        std::normal_distribution<double> dark(std::uniform_real_distribution<double>(20, 100)(random), 12);
        std::normal_distribution<double> light(std::uniform_real_distribution<double>(150, 230)(random), 15);
        const int darkCount = std::uniform_int_distribution<int>(200, 2000)(random);
        for (int i = 0; i < darkCount; ++i)
            ++histogram[static_cast<std::size_t>(std::clamp(static_cast<int>(std::lround(dark(random))), 0, 255))];
        for (int i = 0; i < 1500; ++i)
            ++histogram[static_cast<std::size_t>(std::clamp(static_cast<int>(std::lround(light(random))), 0, 255))];
        EXPECT_EQ(otsuThreshold(histogram), otsuByTrying(histogram)) << "round " << round;
    }
}

TEST(PictureOtsu, TiesAndFlatPictures) {
    std::array<std::uint32_t, 256> twoLevels{};
    twoLevels[0] = 10;
    twoLevels[255] = 30;
    EXPECT_EQ(otsuThreshold(twoLevels), 128); // every T from 1 to 255 splits them alike
    std::array<std::uint32_t, 256> apart{};
    apart[50] = 5;
    apart[200] = 5;
    EXPECT_EQ(otsuThreshold(apart), 126); // the middle of 51..200
    std::array<std::uint32_t, 256> flat{};
    flat[77] = 100;
    EXPECT_EQ(otsuThreshold(flat), 128);
    EXPECT_EQ(otsuThreshold({}), 128);
}

TEST(PictureOtsu, IsTheDefaultCut) {
    // Dark 60s and light 200s: Otsu cuts between them, so all the 60s are dots and no 200 is,
    // though a fixed cut at 50 would have set none.
    const auto dots = dotsOf(greyPicture(4, 1, {60, 60, 200, 200}), {.dither = Dither::Threshold});
    EXPECT_EQ(levelsOf(dots), (std::vector<int>{1, 1, 0, 0}));
}

struct GreyCase {
    int depth;
    int luminance;
    int level;
};

class PictureGreyLevels : public ::testing::TestWithParam<GreyCase> {};

// The nearest level of the pixel's ink (255 - luminance).
TEST_P(PictureGreyLevels, RoundToTheNearestLevel) {
    const GreyCase c = GetParam();
    const auto dots = dotsOf(flatPicture(1, 1, c.luminance), {.dither = Dither::None, .depth = c.depth});
    EXPECT_EQ(dots.depth(), c.depth);
    EXPECT_EQ(dots.level(0, 0), c.level);
}

INSTANTIATE_TEST_SUITE_P(Levels, PictureGreyLevels,
                         ::testing::Values(GreyCase{2, 255, 0}, GreyCase{2, 0, 3}, GreyCase{2, 128, 1},
                                           GreyCase{2, 127, 2}, GreyCase{4, 128, 7}, GreyCase{4, 119, 8},
                                           GreyCase{8, 200, 55}, GreyCase{8, 0, 255}));

TEST(PictureGreyLevels, DiffusionKeepsTheMeanLevel) {
    // ink 100 of 255 is 1.18 levels of 3: a mix of levels 1 and 2 averaging that
    const auto dots = dotsOf(flatPicture(32, 32, 155), {.dither = Dither::FloydSteinberg, .depth = 2});
    double sum = 0;
    for (const int level : levelsOf(dots)) {
        EXPECT_TRUE(level == 1 || level == 2);
        sum += level;
    }
    EXPECT_NEAR(sum / 1024, 100.0 * 3 / 255, 0.02);
}

struct FitCase {
    int width, height;
    PictureSize box;
    PictureSize fitted;
};

class PictureFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(PictureFit, KeepsTheAspectInsideTheBox) {
    const FitCase c = GetParam();
    EXPECT_EQ(fittedSize(c.width, c.height, c.box), c.fitted);
    // and the dots come out at that size
    const auto dots = dotsOf(flatPicture(c.width, c.height, 0), {.fit = c.box});
    EXPECT_EQ(dots.width(), c.fitted.width);
    EXPECT_EQ(dots.height(), c.fitted.height);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PictureFit,
                         ::testing::Values(FitCase{200, 100, {64, 64}, {64, 32}}, FitCase{100, 200, {64, 64}, {32, 64}},
                                           FitCase{300, 100, {128, 64}, {128, 43}},
                                           FitCase{100, 300, {128, 64}, {21, 64}}, FitCase{1, 500, {64, 64}, {1, 64}},
                                           FitCase{8, 8, {32, 16}, {16, 16}}, FitCase{16, 16, {16, 16}, {16, 16}},
                                           FitCase{1000, 1000, {1024, 1024}, {1024, 1024}}));

TEST(PictureScale, AveragesTheAreaEachDotCovers) {
    // 4 x 2 to 2 x 1: each dot the mean of a 2 x 2 block
    const RgbaImage scaled = scalePicture(greyPicture(4, 2, {0, 100, 200, 200, 40, 60, 0, 0}), {2, 1});
    EXPECT_EQ(scaled.rgba, (std::vector<std::uint8_t>{50, 50, 50, 255, 100, 100, 100, 255}));
    // 3 to 2 across: the middle pixel is shared half and half
    const RgbaImage thirds = scalePicture(greyPicture(3, 1, {0, 90, 180}), {2, 1});
    EXPECT_EQ(thirds.rgba, (std::vector<std::uint8_t>{30, 30, 30, 255, 150, 150, 150, 255}));
}

TEST(PictureTransparency, TransparentPixelsAreClearAndDoNotBleed) {
    // black opaque, black transparent, white transparent
    RgbaImage picture{3, 1, {0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 0}};
    for (const bool invert : {false, true}) {
        const auto dots = dotsOf(picture, {.dither = Dither::Threshold, .threshold = 128, .invert = invert});
        EXPECT_EQ(levelsOf(dots), (std::vector<int>{invert ? 0 : 1, 0, 0})) << "invert " << invert;
    }
    // A transparent white neighbour does not lighten black when the two are averaged into one dot:
    // the dot is black at half cover.
    const RgbaImage half = scalePicture(RgbaImage{2, 1, {0, 0, 0, 255, 255, 255, 255, 0}}, {1, 1});
    EXPECT_EQ(half.rgba, (std::vector<std::uint8_t>{0, 0, 0, 128}));
    EXPECT_EQ(pictureGrey(half, false), std::vector<std::uint8_t>{127});
}

TEST(PictureInvert, LightPixelsBecomeDots) {
    const auto dots =
        dotsOf(greyPicture(2, 1, {0, 255}), {.dither = Dither::Threshold, .threshold = 128, .invert = true});
    EXPECT_EQ(levelsOf(dots), (std::vector<int>{0, 1}));
}

TEST(PictureDots, APictureLargerThanTheDotsNeedsAFit) {
    const auto dots = pictureDots(flatPicture(1025, 2, 0), {});
    ASSERT_FALSE(dots);
    EXPECT_EQ(dots.problem().kind, PictureProblemKind::TooLargeForDots);
    EXPECT_EQ(dots.problem().width, 1025);
    EXPECT_TRUE(pictureDots(flatPicture(1025, 2, 0), {.fit = PictureSize{64, 64}}));
}

TEST(PictureDots, SettingsOutOfRangeAreProgrammingErrors) {
    const RgbaImage picture = flatPicture(2, 2, 0);
    EXPECT_THROW(pictureDots(picture, {.depth = 3}), std::invalid_argument);
    EXPECT_THROW(pictureDots(picture, {.threshold = 256}), std::invalid_argument);
    EXPECT_THROW(pictureDots(picture, {.fit = PictureSize{0, 4}}), std::invalid_argument);
    EXPECT_THROW(pictureDots(RgbaImage{2, 2, {1, 2, 3}}, {}), std::invalid_argument);
}

TEST(PictureNames, SizesAndDithersAreRead) {
    EXPECT_EQ(parsePictureSize("64x32"), (PictureSize{64, 32}));
    EXPECT_EQ(parsePictureSize("1024X1"), (PictureSize{1024, 1}));
    for (const char* bad : {"", "64", "0x5", "1025x4", "4x", "x4", "4x4x4", "-4x4", " 4x4"})
        EXPECT_FALSE(parsePictureSize(bad)) << bad;
    for (const Dither d : kDithers)
        EXPECT_EQ(parseDither(ditherName(d)), d);
    EXPECT_EQ(parseDither("Floyd-Steinberg"), Dither::FloydSteinberg);
    EXPECT_FALSE(parseDither("floyd"));
}

} // namespace
} // namespace hz
