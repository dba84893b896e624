#pragma once
// A decoded picture as the picture reader (picturesource/) hands it on: 8-bit red, green, blue and
// alpha a pixel, not premultiplied, rows top to bottom. No colour management: the bytes are taken as
// sRGB, as the files almost always are.

#include <cstdint>
#include <vector>

namespace hz {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes

    bool operator==(const RgbaImage&) const = default;
};

} // namespace hz
