#pragma once
// A minimal PNG encoder for the preview pictures: a palette of the picture's colours in as few bits a
// pixel as hold them (8-bit RGB for a picture of more than 256 colours), no interlace, one zlib stream
// made for speed rather than the smallest file.

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // width * height * 3 bytes, rows top to bottom
};

// The whole PNG file. Throws std::invalid_argument for an image whose size and pixels disagree or
// that has no pixels, std::bad_alloc when zlib runs out of memory.
std::string encodePng(const RgbImage& image);

} // namespace hz
