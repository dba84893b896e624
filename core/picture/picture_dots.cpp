#include "core/picture/picture_dots.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace hz {

namespace {

constexpr std::array<std::string_view, 6> kDitherNames = {"none",     "threshold", "floyd-steinberg",
                                                          "atkinson", "bayer4",    "bayer8"};

std::optional<int> sideNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > DotPicture::kMaxSide)
        return std::nullopt;
    return value;
}

// How much of source pixel j an output pixel i covers, for every i: the source span
// [i*s/t, (i+1)*s/t) cut at whole pixels, the weights adding up to 1.
struct Share {
    int from;                   // the first source pixel
    std::vector<double> weight; // of from, from+1, ...
};

std::vector<Share> shares(int source, int target) {
    std::vector<Share> out(static_cast<std::size_t>(target));
    const double step = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
        const double a = i * step;
        const double b = (i + 1) * step;
        Share& share = out[static_cast<std::size_t>(i)];
        share.from = static_cast<int>(std::floor(a));
        const int to = std::min(source, static_cast<int>(std::ceil(b)));
        for (int j = share.from; j < to; ++j)
            share.weight.push_back((std::min(b, j + 1.0) - std::max(a, static_cast<double>(j))) / step);
    }
    return out;
}

// The Bayer index matrix of side n (a power of two), built by doubling: M2n = [4M 4M+2; 4M+3 4M+1].
std::vector<int> bayerMatrix(int n) {
    std::vector<int> m{0};
    for (int side = 1; side < n; side *= 2) {
        std::vector<int> next(static_cast<std::size_t>(4 * side * side));
        const int big = 2 * side;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int v = 4 * m[static_cast<std::size_t>(y * side + x)];
                next[static_cast<std::size_t>(y * big + x)] = v;
                next[static_cast<std::size_t>(y * big + x + side)] = v + 2;
                next[static_cast<std::size_t>((y + side) * big + x)] = v + 3;
                next[static_cast<std::size_t>((y + side) * big + x + side)] = v + 1;
            }
        m = std::move(next);
    }
    return m;
}

// Where an error-diffusion dither passes a pixel's error: (dx, dy, share).
struct Spread {
    int dx, dy;
    double share;
};
constexpr std::array<Spread, 4> kFloydSteinberg = {
    {{1, 0, 7.0 / 16}, {-1, 1, 3.0 / 16}, {0, 1, 5.0 / 16}, {1, 1, 1.0 / 16}}};
constexpr std::array<Spread, 6> kAtkinson = {
    {{1, 0, 1.0 / 8}, {2, 0, 1.0 / 8}, {-1, 1, 1.0 / 8}, {0, 1, 1.0 / 8}, {1, 1, 1.0 / 8}, {0, 2, 1.0 / 8}}};

// Error diffusion over values 0..255: quantise(v) gives the output value for v (0..255) and sets
// the dot's level; what it missed by goes on to the pixels not yet visited.
template <std::size_t N, typename Quantise>
void diffuse(int w, int h, const std::vector<double>& values, const std::array<Spread, N>& spread, Quantise quantise) {
    // Three rows of errors are enough: the current one and the two below it.
    std::vector<double> errors(static_cast<std::size_t>(3 * w), 0.0);
    auto error = [&](int x, int y) -> double& { return errors[static_cast<std::size_t>((y % 3) * w + x)]; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double v = values[static_cast<std::size_t>(y * w + x)] + error(x, y);
            const double missed = v - quantise(x, y, v);
            for (const Spread& s : spread) {
                const int tx = x + s.dx;
                const int ty = y + s.dy;
                if (tx >= 0 && tx < w && ty < h)
                    error(tx, ty) += missed * s.share;
            }
        }
        for (int x = 0; x < w; ++x)
            error(x, y) = 0.0; // becomes the row two below next
    }
}

int ditherSide(Dither dither) {
    return dither == Dither::Bayer4 ? 4 : 8;
}

DotPicture oneBit(int w, int h, const std::vector<std::uint8_t>& grey, Dither dither, int threshold) {
    DotPicture dots(w, h, 1);
    auto at = [w](int x, int y) { return static_cast<std::size_t>(y * w + x); };
    switch (dither) {
    case Dither::None:
    case Dither::Threshold:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dots.setLevel(x, y, grey[at(x, y)] < threshold ? 1 : 0);
        break;
    case Dither::FloydSteinberg:
    case Dither::Atkinson: {
        const std::vector<double> values(grey.begin(), grey.end());
        auto cut = [&](int x, int y, double v) {
            const bool ink = v < threshold;
            dots.setLevel(x, y, ink ? 1 : 0);
            return ink ? 0.0 : 255.0;
        };
        if (dither == Dither::FloydSteinberg)
            diffuse(w, h, values, kFloydSteinberg, cut);
        else
            diffuse(w, h, values, kAtkinson, cut);
        break;
    }
    case Dither::Bayer4:
    case Dither::Bayer8: {
        const int n = ditherSide(dither);
        const std::vector<int> m = bayerMatrix(n);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double offset = (m[static_cast<std::size_t>((y % n) * n + x % n)] + 0.5) / (n * n) - 0.5;
                dots.setLevel(x, y, grey[at(x, y)] < threshold + 255.0 * offset ? 1 : 0);
            }
        break;
    }
    }
    return dots;
}

DotPicture greyLevels(int w, int h, const std::vector<std::uint8_t>& grey, Dither dither, int depth) {
    DotPicture dots(w, h, depth);
    const int top = dots.maxLevel();
    auto ink = [&](int x, int y) { return 255 - grey[static_cast<std::size_t>(y * w + x)]; };
    switch (dither) {
    case Dither::None:
    case Dither::Threshold:
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dots.setLevel(x, y, (2 * ink(x, y) * top + 255) / 510);
        break;
    case Dither::FloydSteinberg:
    case Dither::Atkinson: {
        std::vector<double> values(grey.size());
        for (std::size_t i = 0; i < grey.size(); ++i)
            values[i] = 255 - grey[i];
        auto nearest = [&](int x, int y, double v) {
            const int level = std::clamp(static_cast<int>(std::floor(v * top / 255.0 + 0.5)), 0, top);
            dots.setLevel(x, y, level);
            return level * 255.0 / top;
        };
        if (dither == Dither::FloydSteinberg)
            diffuse(w, h, values, kFloydSteinberg, nearest);
        else
            diffuse(w, h, values, kAtkinson, nearest);
        break;
    }
    case Dither::Bayer4:
    case Dither::Bayer8: {
        const int n = ditherSide(dither);
        const std::vector<int> m = bayerMatrix(n);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const double offset = (m[static_cast<std::size_t>((y % n) * n + x % n)] + 0.5) / (n * n);
                dots.setLevel(x, y, static_cast<int>(std::floor(ink(x, y) * top / 255.0 + offset)));
            }
        break;
    }
    }
    return dots;
}

} // namespace

std::optional<PictureSize> parsePictureSize(std::string_view text) {
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos)
        return std::nullopt;
    const auto width = sideNumber(text.substr(0, by));
    const auto height = sideNumber(text.substr(by + 1));
    if (!width || !height)
        return std::nullopt;
    return PictureSize{*width, *height};
}

std::string_view ditherName(Dither dither) {
    return kDitherNames[static_cast<std::size_t>(dither)];
}

std::optional<Dither> parseDither(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (std::size_t i = 0; i < kDitherNames.size(); ++i)
        if (kDitherNames[i] == lower)
            return static_cast<Dither>(i);
    return std::nullopt;
}

RgbaImage scalePicture(const RgbaImage& picture, PictureSize size) {
    if (picture.width == size.width && picture.height == size.height)
        return picture;
    const std::vector<Share> across = shares(picture.width, size.width);
    const std::vector<Share> down = shares(picture.height, size.height);
    RgbaImage out;
    out.width = size.width;
    out.height = size.height;
    out.rgba.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) * 4);

    // Per output row: the source rows it covers, each scaled across and added with its weight; the
    // colours weighted by alpha.
    std::vector<double> row(static_cast<std::size_t>(size.width) * 4);
    std::vector<double> sum(row.size());
    for (int y = 0; y < size.height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0);
        const Share& vertical = down[static_cast<std::size_t>(y)];
        for (std::size_t j = 0; j < vertical.weight.size(); ++j) {
            const std::uint8_t* source =
                picture.rgba.data() + static_cast<std::size_t>(vertical.from + static_cast<int>(j)) *
                                          static_cast<std::size_t>(picture.width) * 4;
            for (int x = 0; x < size.width; ++x) {
                const Share& horizontal = across[static_cast<std::size_t>(x)];
                double r = 0, g = 0, b = 0, a = 0;
                for (std::size_t i = 0; i < horizontal.weight.size(); ++i) {
                    const std::uint8_t* p =
                        source + static_cast<std::size_t>(horizontal.from + static_cast<int>(i)) * 4;
                    const double wa = horizontal.weight[i] * p[3];
                    r += wa * p[0];
                    g += wa * p[1];
                    b += wa * p[2];
                    a += wa;
                }
                double* s = sum.data() + static_cast<std::size_t>(x) * 4;
                const double wv = vertical.weight[j];
                s[0] += wv * r;
                s[1] += wv * g;
                s[2] += wv * b;
                s[3] += wv * a;
            }
        }
        std::uint8_t* target = out.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) * 4;
        for (int x = 0; x < size.width; ++x) {
            const double* s = sum.data() + static_cast<std::size_t>(x) * 4;
            std::uint8_t* t = target + static_cast<std::size_t>(x) * 4;
            for (int c = 0; c < 3; ++c)
                t[c] = s[3] > 0 ? static_cast<std::uint8_t>(std::clamp(std::lround(s[c] / s[3]), 0L, 255L)) : 0;
            t[3] = static_cast<std::uint8_t>(std::clamp(std::lround(s[3]), 0L, 255L));
        }
    }
    return out;
}

std::vector<std::uint8_t> pictureGrey(const RgbaImage& picture, bool invert) {
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    std::vector<std::uint8_t> grey(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* p = picture.rgba.data() + 4 * i;
        int luminance = (299 * p[0] + 587 * p[1] + 114 * p[2] + 500) / 1000;
        if (invert)
            luminance = 255 - luminance;
        grey[i] = static_cast<std::uint8_t>(255 - ((255 - luminance) * p[3] + 127) / 255);
    }
    return grey;
}

int otsuThreshold(const std::array<std::uint32_t, 256>& histogram) {
    double total = 0, sum = 0;
    for (int v = 0; v < 256; ++v) {
        total += histogram[static_cast<std::size_t>(v)];
        sum += static_cast<double>(v) * histogram[static_cast<std::size_t>(v)];
    }
    // For the split g < T: w0 w1 (mu0 - mu1)^2 is, up to a constant factor, (S0 N - S N0)^2 / (N0 N1).
    // The same N0 and S0 give the same value bit for bit, so a tie is exact.
    double best = -1;
    int first = -1, last = -1;
    double below = 0, belowSum = 0;
    for (int t = 1; t < 256; ++t) {
        below += histogram[static_cast<std::size_t>(t - 1)];
        belowSum += static_cast<double>(t - 1) * histogram[static_cast<std::size_t>(t - 1)];
        const double above = total - below;
        if (below == 0 || above == 0)
            continue;
        const double d = belowSum * total - sum * below;
        const double between = d * d / (below * above);
        if (between > best) {
            best = between;
            first = last = t;
        } else if (between == best) {
            last = t;
        }
    }
    return first < 0 ? 128 : (first + last + 1) / 2;
}

int pictureThreshold(const std::vector<std::uint8_t>& grey, const PictureSettings& settings) {
    if (settings.threshold)
        return *settings.threshold;
    if (settings.dither == Dither::None)
        return 128;
    std::array<std::uint32_t, 256> histogram{};
    for (const std::uint8_t g : grey)
        ++histogram[g];
    return otsuThreshold(histogram);
}

Result<DotPicture, PictureProblem> pictureDots(const RgbaImage& picture, const PictureSettings& settings) {
    if (!DotCell::validDepth(settings.depth))
        throw std::invalid_argument("a picture of " + std::to_string(settings.depth) + " bits a dot");
    if (settings.threshold && (*settings.threshold < 0 || *settings.threshold > 255))
        throw std::invalid_argument("a threshold outside 0..255");
    if (settings.fit && (settings.fit->width < 1 || settings.fit->width > DotPicture::kMaxSide ||
                         settings.fit->height < 1 || settings.fit->height > DotPicture::kMaxSide))
        throw std::invalid_argument("a fit outside 1..1024 a side");
    if (picture.width < 1 || picture.height < 1 ||
        picture.rgba.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4)
        throw std::invalid_argument("a picture without pixels, or whose size and pixels disagree");

    PictureSize size{picture.width, picture.height};
    if (settings.fit)
        size = fittedSize(picture.width, picture.height, *settings.fit);
    else if (size.width > DotPicture::kMaxSide || size.height > DotPicture::kMaxSide)
        return PictureProblem{.kind = PictureProblemKind::TooLargeForDots,
                              .limit = DotPicture::kMaxSide,
                              .width = size.width,
                              .height = size.height};

    const RgbaImage scaled = scalePicture(picture, size);
    const std::vector<std::uint8_t> grey = pictureGrey(scaled, settings.invert);
    if (settings.depth == 1)
        return oneBit(size.width, size.height, grey, settings.dither, pictureThreshold(grey, settings));
    return greyLevels(size.width, size.height, grey, settings.dither, settings.depth);
}

} // namespace hz
