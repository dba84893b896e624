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

// Palette numbers as they go into the file, by the number a picture gives a pixel; kNoColour for a
// number the palette does not have.
using NumberMap = std::array<std::uint16_t, 256>;
constexpr std::uint16_t kNoColour = 0x100;

NumberMap sameNumbers() {
    NumberMap map{};
    for (std::size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<std::uint16_t>(i);
    return map;
}

// One row of palette numbers, Depth bits each: the leftmost pixel in the highest bits of its byte,
// the last byte padded with zeros. False when a number has no colour.
template <int Depth>
bool packRow(const std::uint8_t* number, const NumberMap& map, std::size_t width, std::uint8_t* out) {
    constexpr std::size_t kPerByte = 8 / Depth;
    const std::size_t whole = width / kPerByte;
    unsigned all = 0;
    for (std::size_t b = 0; b < whole; ++b) {
        unsigned byte = 0;
        for (std::size_t k = 0; k < kPerByte; ++k) {
            const unsigned n = map[*number++];
            all |= n;
            byte = byte << Depth | n;
        }
        out[b] = static_cast<std::uint8_t>(byte);
    }
    if (const std::size_t rest = width - whole * kPerByte; rest > 0) {
        unsigned byte = 0;
        for (std::size_t k = 0; k < kPerByte; ++k) {
            const unsigned n = k < rest ? map[*number++] : 0U;
            all |= n;
            byte = byte << Depth | n;
        }
        out[whole] = static_cast<std::uint8_t>(byte);
    }
    return (all & kNoColour) == 0;
}

// The rows of a picture of palette numbers: repeats by row, and the numbers of each row unlike the
// one above, in order, each mapped into the file's numbers.
std::string indexedRows(const std::vector<bool>& repeats, const std::vector<const std::uint8_t*>& distinctRows,
                        const NumberMap& map, std::size_t width, int depth) {
    const std::size_t perByte = static_cast<std::size_t>(8 / depth);
    std::vector<std::uint8_t> row((width + perByte - 1) / perByte);
    FilteredRows rows(row.size(), static_cast<int>(repeats.size()));
    auto next = distinctRows.begin();
    for (const bool repeat : repeats) {
        if (repeat) {
            rows.addRepeat();
            continue;
        }
        const std::uint8_t* numbers = *next++;
        const bool packed = depth == 1   ? packRow<1>(numbers, map, width, row.data())
                            : depth == 2 ? packRow<2>(numbers, map, width, row.data())
                            : depth == 4 ? packRow<4>(numbers, map, width, row.data())
                                         : packRow<8>(numbers, map, width, row.data());
        // A repeated row holds no number its row above lacks.
        if (!packed)
            throw std::invalid_argument("a pixel numbers no colour of the palette");
        rows.add(row.data());
    }
    return rows.bytes();
}

std::string indexedRows(const Numbered& picture, std::size_t width, int depth) {
    std::vector<const std::uint8_t*> distinctRows;
    for (std::size_t at = 0; at < picture.numbers.size(); at += width)
        distinctRows.push_back(picture.numbers.data() + at);
    return indexedRows(picture.repeats, distinctRows, sameNumbers(), width, depth);
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

// An indexed picture's rows as the file numbers them: the rows unlike the one above, and the file's
// number of each palette number, which numbers the colours in the order they first appear (as
// numbered() does), a colour two palette entries name counted once.
struct Renumbered {
    std::vector<bool> repeats;
    std::vector<const std::uint8_t*> distinctRows;
    NumberMap map{};
    std::vector<std::uint32_t> colours;
};

Renumbered renumbered(const IndexedImage& image) {
    Renumbered out;
    const auto width = static_cast<std::size_t>(image.width);
    const std::size_t count = image.palette.size();
    // Each number stands for the first that names its colour: rows alike in colour are alike.
    NumberMap first = sameNumbers();
    bool twice = false;
    for (std::size_t n = 0; n < count; ++n)
        for (std::size_t m = 0; m < n; ++m)
            if (image.palette[m] == image.palette[n]) {
                first[n] = first[m];
                twice = true;
                break;
            }
    const auto sameRow = [&](const std::uint8_t* a, const std::uint8_t* b) {
        if (!twice)
            return std::memcmp(a, b, width) == 0;
        for (std::size_t x = 0; x < width; ++x)
            if (first[a[x]] != first[b[x]])
                return false;
        return true;
    };
    out.repeats.resize(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(y) * width;
        const bool repeat = y > 0 && sameRow(row, row - width);
        out.repeats[static_cast<std::size_t>(y)] = repeat;
        if (!repeat)
            out.distinctRows.push_back(row);
    }
    out.map.fill(kNoColour); // told when the rows are packed
    // The colours numbered in the order they first show, which the rows unlike the one above show.
    Palette palette;
    std::array<bool, 256> seen{};
    std::size_t unseen = count;
    for (const std::uint8_t* row : out.distinctRows) {
        for (std::size_t x = 0; x < width && unseen > 0; ++x) {
            const std::uint8_t number = row[x];
            if (seen[number] || number >= count)
                continue;
            seen[number] = true;
            --unseen;
            out.map[number] = static_cast<std::uint16_t>(palette.number(image.palette[number]));
        }
        if (unseen == 0)
            break;
    }
    out.colours = palette.list();
    return out;
}

// The file around its compressed rows.
std::string pngFile(int width, int height, const std::vector<std::uint32_t>& palette, int depth,
                    const std::string& packed) {
    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width));
    appendBigEndian(header, static_cast<std::uint32_t>(height));
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

// One zlib call takes the whole picture: its rows must fit the counts zlib works with.
void checkSize(int width, int height, std::size_t bytesPerPixel, std::size_t given) {
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("a PNG image needs at least one pixel");
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    if (given / rowBytes != static_cast<std::size_t>(height) || given % rowBytes != 0)
        throw std::invalid_argument("the image's pixels do not match its size");
    if ((static_cast<std::size_t>(width) * 3 + 1) * static_cast<std::size_t>(height) > std::numeric_limits<uInt>::max() / 2)
        throw std::invalid_argument("the image is too large for one PNG");
}

} // namespace

RgbImage rgbImage(const IndexedImage& image) {
    RgbImage out;
    out.width = image.width;
    out.height = image.height;
    out.rgb.resize(image.pixels.size() * 3);
    std::uint8_t* to = out.rgb.data();
    for (const std::uint8_t number : image.pixels) {
        const std::uint32_t colour = number < image.palette.size() ? image.palette[number] : 0;
        *to++ = static_cast<std::uint8_t>(colour >> 16);
        *to++ = static_cast<std::uint8_t>(colour >> 8);
        *to++ = static_cast<std::uint8_t>(colour);
    }
    return out;
}

std::string encodePng(const IndexedImage& image) {
    checkSize(image.width, image.height, 1, image.pixels.size());
    if (image.palette.empty() || image.palette.size() > 256)
        throw std::invalid_argument("an indexed picture has 1 to 256 colours");
    const Renumbered picture = renumbered(image);
    const int depth = bitDepthFor(picture.colours.size());
    return pngFile(
        image.width, image.height, picture.colours, depth,
        compress(indexedRows(picture.repeats, picture.distinctRows, picture.map, static_cast<std::size_t>(image.width), depth)));
}

std::string encodePng(const RgbImage& image) {
    checkSize(image.width, image.height, 3, image.rgb.size());
    const std::optional<Numbered> picture = numbered(image);
    const std::vector<std::uint32_t> palette = picture ? picture->colours : std::vector<std::uint32_t>{};
    const int depth = picture ? bitDepthFor(palette.size()) : 8;
    const std::string packed =
        compress(picture ? indexedRows(*picture, static_cast<std::size_t>(image.width), depth) : truecolourRows(image));
    return pngFile(image.width, image.height, palette, depth, packed);
}

} // namespace hz
