#include "core/output/png_writer.h"

#include <zlib.h>

#include <limits>
#include <new>
#include <stdexcept>

namespace hz {

namespace {

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// length, type, data, and the CRC over type and data.
void appendChunk(std::string& out, const char type[4], const std::string& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.append(type, 4);
    out += data;
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data() + typeStart), static_cast<uInt>(4 + data.size()));
    appendBigEndian(out, static_cast<std::uint32_t>(crc));
}

} // namespace

std::string encodePng(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0)
        throw std::invalid_argument("a PNG image needs at least one pixel");
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    if (image.rgb.size() / rowBytes != static_cast<std::size_t>(image.height) || image.rgb.size() % rowBytes != 0)
        throw std::invalid_argument("the image's pixels do not match its size");

    // Each row is preceded by its filter type; 0 (none) compresses these flat-coloured blocks well.
    std::string raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(image.rgb.data()) + static_cast<std::size_t>(y) * rowBytes, rowBytes);
    }
    if (raw.size() > std::numeric_limits<uLong>::max() / 2)
        throw std::invalid_argument("the image is too large for one PNG");
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    const int rc =
        compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                  static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION);
    if (rc == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (rc != Z_OK)
        throw std::runtime_error("zlib could not compress the image");
    packed.resize(packedSize);

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(image.width));
    appendBigEndian(header, static_cast<std::uint32_t>(image.height));
    header += '\x08'; // bits per channel
    header += '\x02'; // colour type: RGB
    header += '\0';   // compression: deflate
    header += '\0';   // filter method 0
    header += '\0';   // no interlace

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace hz
