#include "core/output/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>

namespace hz {

namespace {

// PNG colour types.
constexpr char kTruecolour = 2;
constexpr char kIndexed = 3;
// Row filters: none, or each byte less the one above it (all zeros for a row like the one above).
constexpr char kFilterNone = 0;
constexpr char kFilterUp = 2;

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

std::uint32_t colourAt(const std::uint8_t* pixel) {
    return static_cast<std::uint32_t>(pixel[0]) << 16 | static_cast<std::uint32_t>(pixel[1]) << 8 | pixel[2];
}

// A picture's colours, up to 256, numbered in the order they first appear: a small hash table, as
// the colour changes every few pixels in a picture with a grid.
class Palette {
public:
    // The colour's number, newly given if it is new; -1 when 256 are given already.
    int number(std::uint32_t colour) {
        std::size_t slot = (colour * 2654435761U) >> (32 - kSlotBits);
        for (;; slot = (slot + 1) & (kSlots - 1)) {
            if (keys[slot] == colour + 1)
                return numbers[slot];
            if (keys[slot] == 0)
                break;
        }
        if (colours.size() == 256)
            return -1;
        keys[slot] = colour + 1;
        numbers[slot] = static_cast<std::uint8_t>(colours.size());
        colours.push_back(colour);
        return numbers[slot];
    }
    const std::vector<std::uint32_t>& list() const { return colours; }

private:
    static constexpr int kSlotBits = 10;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
    std::array<std::uint32_t, kSlots> keys{}; // colour + 1; 0 for an empty slot
    std::array<std::uint8_t, kSlots> numbers{};
    std::vector<std::uint32_t> colours;
};

// Bits a pixel for a palette of that many colours: 1, 2, 4 or 8.
int bitDepthFor(std::size_t colours) {
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

bool sameAsRowAbove(const RgbImage& image, int y) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    const std::uint8_t* row = image.rgb.data() + static_cast<std::size_t>(y) * rowBytes;
    return y > 0 && std::memcmp(row, row - rowBytes, rowBytes) == 0;
}

// The rows as PNG holds them before compression, each preceded by its filter: Up for a row the same
// as the one above (a preview's dots are blocks of equal rows), which is all zeros; none otherwise.
class FilteredRows {
public:
    FilteredRows(std::size_t rowBytes, int rows) : rowBytes(rowBytes) {
        raw.reserve((rowBytes + 1) * static_cast<std::size_t>(rows));
    }
    void add(const std::uint8_t* row) {
        raw += kFilterNone;
        raw.append(reinterpret_cast<const char*>(row), rowBytes);
    }
    void addRepeat() {
        raw += kFilterUp;
        raw.append(rowBytes, '\0');
    }
    const std::string& bytes() const { return raw; }

private:
    std::size_t rowBytes;
    std::string raw;
};

// A picture of up to 256 colours as palette numbers: its colours, and the numbers of each row unlike
// the one above. Nothing for a picture of more colours.
struct Numbered {
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> numbers; // the rows unlike the one above, one after another
    std::vector<bool> repeats;         // by row: the same as the one above
};

std::optional<Numbered> numbered(const RgbImage& image) {
    Palette palette;
    Numbered out;
    const auto width = static_cast<std::size_t>(image.width);
    out.repeats.resize(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y)
        out.repeats[static_cast<std::size_t>(y)] = sameAsRowAbove(image, y);
    out.numbers.resize(width * static_cast<std::size_t>(std::count(out.repeats.begin(), out.repeats.end(), false)));
    std::uint8_t* next = out.numbers.data();
    for (int y = 0; y < image.height; ++y) {
        if (out.repeats[static_cast<std::size_t>(y)])
            continue;
        const std::uint8_t* pixel = image.rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (std::size_t x = 0; x < width; ++x, pixel += 3) {
            const int number = palette.number(colourAt(pixel));
            if (number < 0)
                return std::nullopt;
            *next++ = static_cast<std::uint8_t>(number);
        }
    }
    out.colours = palette.list();
    return out;
}

// One row of palette numbers, Depth bits each: the leftmost pixel in the highest bits of its byte,
// the last byte padded with zeros.
template <int Depth> void packRow(const std::uint8_t* number, std::size_t width, std::uint8_t* out) {
    constexpr std::size_t kPerByte = 8 / Depth;
    const std::size_t whole = width / kPerByte;
    for (std::size_t b = 0; b < whole; ++b) {
        unsigned byte = 0;
        for (std::size_t k = 0; k < kPerByte; ++k)
            byte = byte << Depth | *number++;
        out[b] = static_cast<std::uint8_t>(byte);
    }
    if (const std::size_t rest = width - whole * kPerByte; rest > 0) {
        unsigned byte = 0;
        for (std::size_t k = 0; k < kPerByte; ++k)
            byte = byte << Depth | (k < rest ? *number++ : 0U);
        out[whole] = static_cast<std::uint8_t>(byte);
    }
}

std::string indexedRows(const Numbered& picture, std::size_t width, int depth) {
    const std::size_t perByte = static_cast<std::size_t>(8 / depth);
    std::vector<std::uint8_t> row((width + perByte - 1) / perByte);
    FilteredRows rows(row.size(), static_cast<int>(picture.repeats.size()));
    const std::uint8_t* numbers = picture.numbers.data();
    for (const bool repeat : picture.repeats) {
        if (repeat) {
            rows.addRepeat();
            continue;
        }
        switch (depth) {
        case 1:
            packRow<1>(numbers, width, row.data());
            break;
        case 2:
            packRow<2>(numbers, width, row.data());
            break;
        case 4:
            packRow<4>(numbers, width, row.data());
            break;
        default:
            packRow<8>(numbers, width, row.data());
        }
        numbers += width;
        rows.add(row.data());
    }
    return rows.bytes();
}

std::string truecolourRows(const RgbImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    FilteredRows rows(rowBytes, image.height);
    for (int y = 0; y < image.height; ++y) {
        if (sameAsRowAbove(image, y))
            rows.addRepeat();
        else
            rows.add(image.rgb.data() + static_cast<std::size_t>(y) * rowBytes);
    }
    return rows.bytes();
}

// One zlib stream, made for speed: run lengths only, which is what flat-coloured pictures hold.
std::string compress(const std::string& raw) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        throw std::bad_alloc();
    std::string packed(deflateBound(&stream, static_cast<uLong>(raw.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    stream.avail_in = static_cast<uInt>(raw.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int rc = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (rc == Z_MEM_ERROR)
        throw std::bad_alloc();
    if (rc != Z_STREAM_END)
        throw std::runtime_error("zlib could not compress the image");
    return packed;
}

} // namespace

std::string encodePng(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0)
        throw std::invalid_argument("a PNG image needs at least one pixel");
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    if (image.rgb.size() / rowBytes != static_cast<std::size_t>(image.height) || image.rgb.size() % rowBytes != 0)
        throw std::invalid_argument("the image's pixels do not match its size");
    // One zlib call takes the whole picture: its rows must fit the counts zlib works with.
    if ((rowBytes + 1) * static_cast<std::size_t>(image.height) > std::numeric_limits<uInt>::max() / 2)
        throw std::invalid_argument("the image is too large for one PNG");

    const std::optional<Numbered> picture = numbered(image);
    const std::vector<std::uint32_t> palette = picture ? picture->colours : std::vector<std::uint32_t>{};
    const int depth = picture ? bitDepthFor(palette.size()) : 8;
    const std::string packed =
        compress(picture ? indexedRows(*picture, static_cast<std::size_t>(image.width), depth) : truecolourRows(image));

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(image.width));
    appendBigEndian(header, static_cast<std::uint32_t>(image.height));
    header += static_cast<char>(depth); // bits per sample (per palette index for an indexed picture)
    header += palette.empty() ? kTruecolour : kIndexed;
    header += '\0'; // compression: deflate
    header += '\0'; // filter method 0
    header += '\0'; // no interlace

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    if (!palette.empty()) {
        std::string colours;
        for (const std::uint32_t colour : palette) {
            colours += static_cast<char>(colour >> 16);
            colours += static_cast<char>(colour >> 8 & 0xFF);
            colours += static_cast<char>(colour & 0xFF);
        }
        appendChunk(png, "PLTE", colours);
    }
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace hz
