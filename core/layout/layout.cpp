#include "core/layout/layout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>

namespace hz {

namespace {

constexpr std::array<std::uint8_t, 256> makeReversedBytes() {
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        int r = 0;
        for (int i = 0; i < 8; ++i)
            r |= ((v >> i) & 1) << (7 - i);
        table[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(r);
    }
    return table;
}
constexpr auto kReversed = makeReversedBytes();

// Transposes an 8x8 bit matrix held with row 0 in the top byte and column 0 in each byte's bit 7:
// afterwards byte j from the top holds column j, row 0 in its bit 7.
constexpr std::uint64_t transpose8(std::uint64_t x) {
    std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
    x = x ^ t ^ (t << 7);
    t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
    x = x ^ t ^ (t << 14);
    t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
    x = x ^ t ^ (t << 28);
    return x;
}

std::uint64_t reverseRow(std::uint64_t row, int width) {
    std::uint64_t r = 0;
    for (int k = 0; k < 8; ++k)
        r |= static_cast<std::uint64_t>(kReversed[(row >> (8 * k)) & 0xFF]) << (56 - 8 * k);
    return r << (64 - width);
}

// The cell's rows after the up, left and invert flags; rows past the height are clear.
std::array<std::uint64_t, DotCell::kMaxSide> transformedRows(const DotCell& cell, const Layout& layout) {
    const int w = cell.width();
    const int h = cell.height();
    const std::uint64_t mask = rowMask(w);
    std::array<std::uint64_t, DotCell::kMaxSide> rows{};
    for (int y = 0; y < h; ++y) {
        std::uint64_t row = cell.row(layout.up ? h - 1 - y : y);
        if (layout.left)
            row = reverseRow(row, w);
        if (layout.invert)
            row = ~row & mask;
        rows[static_cast<std::size_t>(y)] = row;
    }
    return rows;
}

// The words of a layout's name: its scan and bit order, indexed by Scan and BitOrder, then the
// flags in the order a name gives them.
constexpr std::array<std::string_view, 3> kScanWords = {"rows", "columns", "pages"};
constexpr std::array<std::string_view, 2> kBitWords = {"msb", "lsb"};
struct FlagWord {
    bool Layout::*flag;
    std::string_view word;
};
constexpr std::array<FlagWord, 3> kFlagWords = {
    {{&Layout::up, "up"}, {&Layout::left, "left"}, {&Layout::invert, "invert"}}};

// Sets `into` to the value whose word is `word`; false when no word matches.
template <typename Enum, std::size_t N>
bool readWord(const std::array<std::string_view, N>& words, std::string_view word, Enum& into) {
    const auto found = std::find(words.begin(), words.end(), word);
    if (found == words.end())
        return false;
    into = static_cast<Enum>(found - words.begin());
    return true;
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

int Layout::index() const {
    return ((static_cast<int>(scan) * 2 + static_cast<int>(bit)) * 2 + up) * 4 + left * 2 + invert;
}

Layout Layout::fromIndex(int index) {
    if (index < 0 || index >= kCount)
        throw std::out_of_range("layout number " + std::to_string(index) + " is not 0..47");
    Layout layout;
    layout.invert = index & 1;
    layout.left = (index >> 1) & 1;
    layout.up = (index >> 2) & 1;
    layout.bit = static_cast<BitOrder>((index >> 3) & 1);
    layout.scan = static_cast<Scan>(index >> 4);
    return layout;
}

std::string layoutName(const Layout& layout) {
    std::string name(kScanWords[static_cast<std::size_t>(layout.scan)]);
    name += '-';
    name += kBitWords[static_cast<std::size_t>(layout.bit)];
    for (const FlagWord& flag : kFlagWords) {
        if (layout.*flag.flag) {
            name += '-';
            name += flag.word;
        }
    }
    if (layout.bpp != 1)
        name += '-' + std::to_string(layout.bpp) + "bpp";
    return name;
}

bool hasGreyForm(const Layout& layout) {
    return layout.bpp == 1 || layout.scan != Scan::Pages;
}

std::optional<Layout> parseLayout(std::string_view text) {
    const std::string s = lower(text);
    Layout layout;
    bool haveScan = false, haveBit = false, haveDepth = false;
    std::size_t start = 0;
    for (int part = 0; start <= s.size(); ++part) {
        std::size_t end = s.find('-', start);
        if (end == std::string::npos)
            end = s.size();
        const std::string_view word = std::string_view(s).substr(start, end - start);
        start = end + 1;
        if (part == 0) {
            if (!readWord(kScanWords, word, layout.scan))
                return std::nullopt;
            haveScan = true;
        } else if (part == 1) {
            if (!readWord(kBitWords, word, layout.bit))
                return std::nullopt;
            haveBit = true;
        } else if (word.size() == 4 && word.substr(1) == "bpp") {
            const int depth = word[0] - '0';
            if (haveDepth || !DotCell::validDepth(depth))
                return std::nullopt;
            layout.bpp = depth;
            haveDepth = true;
        } else {
            const auto flag =
                std::find_if(kFlagWords.begin(), kFlagWords.end(), [&](const FlagWord& f) { return f.word == word; });
            if (flag == kFlagWords.end() || layout.*flag->flag)
                return std::nullopt;
            layout.*flag->flag = true;
        }
        if (end == s.size())
            break;
    }
    if (!haveScan || !haveBit)
        return std::nullopt;
    return layout;
}

std::size_t encodedSize(const Layout& layout, int width, int height) {
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const auto bpp = static_cast<std::size_t>(layout.bpp);
    if (layout.scan == Scan::Rows)
        return (w * bpp + 7) / 8 * h;
    return (h * bpp + 7) / 8 * w;
}

namespace {

void requireForm(const Layout& layout) {
    if (!hasGreyForm(layout))
        throw std::invalid_argument("pages is a one-bit layout; it has no " + std::to_string(layout.bpp) +
                                    "-bit form");
}

// Where the level of the dot at column x, row y of a w x h cell goes in a grey layout: the dot's
// place in its row (rows) or column (columns) after the up and left flags, and the line it is in.
struct GreyPlace {
    std::size_t byte;
    int shift;
};

GreyPlace greyPlace(const Layout& layout, int x, int y, int w, int h) {
    const int tx = layout.left ? w - 1 - x : x;
    const int ty = layout.up ? h - 1 - y : y;
    const int along = layout.scan == Scan::Rows ? tx : ty;
    const int line = layout.scan == Scan::Rows ? ty : tx;
    const int lineLength = layout.scan == Scan::Rows ? w : h;
    const auto perLine = static_cast<std::size_t>((lineLength * layout.bpp + 7) / 8);
    const int bit = along * layout.bpp;
    const int inByte = bit % 8;
    const int shift = layout.bit == BitOrder::Msb ? 8 - layout.bpp - inByte : inByte;
    return {static_cast<std::size_t>(line) * perLine + static_cast<std::size_t>(bit / 8), shift};
}

void encodeGrey(const DotCell& cell, const Layout& layout, std::uint8_t* out) {
    const int w = cell.width();
    const int h = cell.height();
    const DotCell grey = cell.withDepth(layout.bpp);
    const int top = grey.maxLevel();
    std::fill(out, out + encodedSize(layout, w, h), std::uint8_t{0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int level = layout.invert ? top - grey.level(x, y) : grey.level(x, y);
            const GreyPlace place = greyPlace(layout, x, y, w, h);
            out[place.byte] = static_cast<std::uint8_t>(out[place.byte] | level << place.shift);
        }
}

DotCell decodeGrey(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height,
                   WidthClass widthClass) {
    DotCell cell = DotCell(width, height, widthClass).withDepth(layout.bpp);
    const int top = cell.maxLevel();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const GreyPlace place = greyPlace(layout, x, y, width, height);
            const int stored = place.byte < bytes.size() ? (bytes[place.byte] >> place.shift) & top : 0;
            cell.setLevel(x, y, layout.invert ? top - stored : stored);
        }
    return cell;
}

} // namespace

void encodeCell(const DotCell& cell, const Layout& layout, std::uint8_t* out) {
    requireForm(layout);
    if (layout.bpp != 1) {
        encodeGrey(cell, layout, out);
        return;
    }
    const int w = cell.width();
    const int h = cell.height();
    const auto rows = transformedRows(cell, layout);
    const bool lsb = layout.bit == BitOrder::Lsb;

    if (layout.scan == Scan::Rows) {
        const int perRow = (w + 7) / 8;
        for (int y = 0; y < h; ++y) {
            const std::uint64_t row = rows[static_cast<std::size_t>(y)];
            for (int k = 0; k < perRow; ++k) {
                const auto byte = static_cast<std::uint8_t>(row >> (56 - 8 * k));
                *out++ = lsb ? kReversed[byte] : byte;
            }
        }
        return;
    }

    // Eight rows by eight columns at a time: a transposed block gives eight column bytes of a band.
    const int bands = (h + 7) / 8;
    const int blocks = (w + 7) / 8;
    for (int g = 0; g < bands; ++g) {
        for (int k = 0; k < blocks; ++k) {
            std::uint64_t block = 0;
            for (int b = 0; b < 8; ++b)
                block = block << 8 | ((rows[static_cast<std::size_t>(8 * g + b)] >> (56 - 8 * k)) & 0xFF);
            block = transpose8(block);
            const int columns = std::min(8, w - 8 * k);
            for (int i = 0; i < columns; ++i) {
                const int x = 8 * k + i;
                auto byte = static_cast<std::uint8_t>(block >> (56 - 8 * i));
                if (lsb)
                    byte = kReversed[byte];
                const int at = layout.scan == Scan::Columns ? x * bands + g : g * w + x;
                out[at] = byte;
            }
        }
    }
}

std::vector<std::uint8_t> encodeCell(const DotCell& cell, const Layout& layout) {
    std::vector<std::uint8_t> bytes(encodedSize(layout, cell.width(), cell.height()));
    encodeCell(cell, layout, bytes.data());
    return bytes;
}

DotCell decodeCell(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height,
                   WidthClass widthClass) {
    requireForm(layout);
    if (layout.bpp != 1)
        return decodeGrey(bytes, layout, width, height, widthClass);
    DotCell packed(width, height, widthClass);
    const bool lsb = layout.bit == BitOrder::Lsb;
    auto byteAt = [&](std::size_t at) -> std::uint8_t {
        const std::uint8_t b = at < bytes.size() ? bytes[at] : 0;
        return lsb ? kReversed[b] : b;
    };
    if (layout.scan == Scan::Rows) {
        const int perRow = (width + 7) / 8;
        for (int y = 0; y < height; ++y) {
            std::uint64_t row = 0;
            for (int k = 0; k < perRow; ++k)
                row |= static_cast<std::uint64_t>(byteAt(static_cast<std::size_t>(y * perRow + k))) << (56 - 8 * k);
            packed.setRow(y, row);
        }
    } else {
        const int bands = (height + 7) / 8;
        for (int x = 0; x < width; ++x)
            for (int g = 0; g < bands; ++g) {
                const int at = layout.scan == Scan::Columns ? x * bands + g : g * width + x;
                const std::uint8_t byte = byteAt(static_cast<std::size_t>(at));
                for (int b = 0; b < 8 && 8 * g + b < height; ++b)
                    if ((byte >> (7 - b)) & 1)
                        packed.setDot(x, 8 * g + b);
            }
    }

    // Undo the flags: invert, then left, then up (each is its own inverse).
    DotCell cell(width, height, widthClass);
    const std::uint64_t mask = rowMask(width);
    for (int y = 0; y < height; ++y) {
        std::uint64_t row = packed.row(y);
        if (layout.invert)
            row = ~row & mask;
        if (layout.left)
            row = reverseRow(row, width);
        cell.setRow(layout.up ? height - 1 - y : y, row);
    }
    return cell;
}

} // namespace hz
