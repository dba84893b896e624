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

// A picture of at most 256 colours, each pixel the number of its colour.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette; // 0xRRGGBB; two numbers may name the same colour
    std::vector<std::uint8_t> pixels;   // width * height numbers into palette, rows top to bottom
};

// The picture's pixels in their colours.
RgbImage rgbImage(const IndexedImage& image);

// The whole PNG file. Throws std::invalid_argument for an image whose size and pixels disagree or
// that has no pixels, std::bad_alloc when zlib runs out of memory.
std::string encodePng(const RgbImage& image);
// The same file as encodePng(rgbImage(image)), made without the colours of each pixel. Throws
// std::invalid_argument also for a palette of more than 256 colours or a pixel numbering none.
std::string encodePng(const IndexedImage& image);

} // namespace hz
