#pragma once
// From a decoded picture to dots: scaled to fit a box keeping its aspect, made grey by luminance,
// then cut to one bit by a dither, or rounded to the grey levels of 2, 4 or 8 bits a dot.
//
// Dark pixels become set dots (ink), as a glyph's strokes are; --invert swaps dark and light first.
// Transparency is laid over white, so a transparent pixel is always clear (with invert too).
//
//   grey g   = 255 - a*(255 - L)/255, L = luminance (0.299 R + 0.587 G + 0.114 B), inverted
//              (255 - L) with invert, a = alpha
//   one bit  a dot where g < T, T the threshold (default: Otsu's choice from the histogram of g)
//              none             the plain cut at T = 128 unless a threshold is given
//              threshold        the plain cut at T
//              floyd-steinberg  the cut at T, the error (g + e) - (0 or 255) passed on 7/16 right,
//                               3/16 below left, 5/16 below, 1/16 below right
//              atkinson         the same, 1/8 each to right, two right, below left, below, below
//                               right, two below (6/8: a quarter of the error is dropped)
//              bayer4, bayer8   a dot where g < T + 255 * ((M(x mod n, y mod n) + 0.5) / n^2 - 0.5),
//                               M the n x n Bayer index matrix
//   grey     ink i = 255 - g, level = round(i * max / 255); the diffusion dithers pass on the error
//              of that rounding, Bayer adds its offset before rounding down, none and threshold
//              round to the nearest level

#include "core/picture/dot_picture.h"
#include "core/picture/picture_problem.h"
#include "core/picture/rgba_image.h"
#include "core/system/result.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// "64x32" (or "64X32"): both sides 1..DotPicture::kMaxSide; nothing for anything else.
std::optional<PictureSize> parsePictureSize(std::string_view text);

// The largest size inside box with the aspect of width x height (each side at least 1 dot): one side
// fills the box, the other is rounded to the nearest dot. The picture's own size scales up as well
// as down.
inline PictureSize fittedSize(int width, int height, PictureSize box) {
    const auto w = static_cast<std::int64_t>(width);
    const auto h = static_cast<std::int64_t>(height);
    if (w * box.height >= h * box.width) { // the width fills the box
        const auto fitted = (2 * h * box.width + w) / (2 * w);
        return {box.width, static_cast<int>(std::clamp<std::int64_t>(fitted, 1, box.height))};
    }
    const auto fitted = (2 * w * box.height + h) / (2 * h);
    return {static_cast<int>(std::clamp<std::int64_t>(fitted, 1, box.width)), box.height};
}

enum class Dither { None, Threshold, FloydSteinberg, Atkinson, Bayer4, Bayer8 };
inline constexpr std::array<Dither, 6> kDithers = {Dither::None,     Dither::Threshold, Dither::FloydSteinberg,
                                                   Dither::Atkinson, Dither::Bayer4,    Dither::Bayer8};
// "none", "threshold", "floyd-steinberg", "atkinson", "bayer4", "bayer8"
std::string_view ditherName(Dither dither);
std::optional<Dither> parseDither(std::string_view text); // the names above, any case
inline constexpr Dither kDefaultDither = Dither::FloydSteinberg;

struct PictureSettings {
    std::optional<PictureSize> fit{}; // nothing: the picture's own size (at most kMaxSide a side)
    Dither dither = kDefaultDither;
    std::optional<int> threshold{}; // 0..255, one bit only; nothing: Otsu's choice (none: 128)
    bool invert = false;
    int depth = 1; // bits a dot: 1, 2, 4 or 8
    bool operator==(const PictureSettings&) const = default;
};

// The picture scaled to size by the area average of its pixels (alpha-weighted, so a transparent
// pixel's colour does not bleed). A picture already at size comes back as it was.
RgbaImage scalePicture(const RgbaImage& picture, PictureSize size);

// g for each pixel (see the top), width * height values.
std::vector<std::uint8_t> pictureGrey(const RgbaImage& picture, bool invert);

// Otsu's threshold: the T that best splits the pixels into g < T and g >= T (the largest
// between-class variance; on a tie, the middle of the tied range). 128 when all pixels are alike.
int otsuThreshold(const std::array<std::uint32_t, 256>& histogram);

// The threshold a conversion cuts at: the one given, 128 for none, else Otsu's from the grey.
int pictureThreshold(const std::vector<std::uint8_t>& grey, const PictureSettings& settings);

// The picture's dots. The size is settings.fit's fitted size, or the picture's own; a picture larger
// than DotPicture::kMaxSide a side without a fit is refused (TooLargeForDots, naming its size). Throws
// std::invalid_argument for settings out of range (a depth, a threshold, a fit side) and an empty
// picture.
Result<DotPicture, PictureProblem> pictureDots(const RgbaImage& picture, const PictureSettings& settings);

} // namespace hz
