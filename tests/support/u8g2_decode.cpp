#include "u8g2_decode.h"

#include <cstdlib>
#include <stdexcept>

namespace hz::test {
namespace {

struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Bits {
public:
    Bits(const std::vector<std::uint8_t>& font, std::size_t at, std::size_t end) : font(font), at(at), end(end) {}
    // Least significant bit of a byte first.
    unsigned take(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) {
            if (at >= end)
                throw Malformed("a glyph's bits run past its end");
            value |= ((font[at] >> bit) & 1U) << i;
            if (++bit == 8) {
                bit = 0;
                ++at;
            }
        }
        return value;
    }
    int takeSigned(int count) { return static_cast<int>(take(count)) - (1 << (count - 1)); }

private:
    const std::vector<std::uint8_t>& font;
    std::size_t at;
    std::size_t end;
    int bit = 0;
};

std::uint8_t byteAt(const std::vector<std::uint8_t>& font, std::size_t at) {
    if (at >= font.size())
        throw Malformed("a read at " + std::to_string(at) + " past the font's end " + std::to_string(font.size()));
    return font[at];
}

unsigned wordAt(const std::vector<std::uint8_t>& font, std::size_t at) {
    return (static_cast<unsigned>(byteAt(font, at)) << 8) | byteAt(font, at + 1);
}

int signedAt(const std::vector<std::uint8_t>& font, std::size_t at) {
    return static_cast<std::int8_t>(byteAt(font, at));
}

U8g2Header headerOf(const std::vector<std::uint8_t>& font) {
    if (font.size() < 23)
        throw Malformed("shorter than the 23-byte header");
    U8g2Header h;
    h.glyphCount = font[0];
    h.mode = font[1];
    h.zeroBits = font[2];
    h.oneBits = font[3];
    h.widthBits = font[4];
    h.heightBits = font[5];
    h.xBits = font[6];
    h.yBits = font[7];
    h.advanceBits = font[8];
    h.boxWidth = font[9];
    h.boxHeight = font[10];
    h.boxX = signedAt(font, 11);
    h.boxY = signedAt(font, 12);
    h.ascentA = signedAt(font, 13);
    h.descentG = signedAt(font, 14);
    h.ascentParen = signedAt(font, 15);
    h.descentParen = signedAt(font, 16);
    h.offsetUpperA = static_cast<int>(wordAt(font, 17));
    h.offsetLowerA = static_cast<int>(wordAt(font, 19));
    h.offsetUnicode = static_cast<int>(wordAt(font, 21));
    for (int bits : {h.zeroBits, h.oneBits, h.widthBits, h.heightBits, h.xBits, h.yBits, h.advanceBits})
        if (bits < 1 || bits > 8)
            throw Malformed("a field width of " + std::to_string(bits) + " bits");
    return h;
}

// The glyph's fields and dots from its bit stream at `at`, which may run to `end`.
U8g2Glyph glyphAt(const std::vector<std::uint8_t>& font, const U8g2Header& h, std::size_t at, std::size_t end) {
    Bits bits(font, at, end);
    U8g2Glyph g;
    g.width = static_cast<int>(bits.take(h.widthBits));
    g.height = static_cast<int>(bits.take(h.heightBits));
    g.x = bits.takeSigned(h.xBits);
    g.y = bits.takeSigned(h.yBits);
    g.advance = bits.takeSigned(h.advanceBits);
    const int total = g.width * g.height;
    std::string dots;
    while (static_cast<int>(dots.size()) < total) {
        const unsigned clear = bits.take(h.zeroBits);
        const unsigned set = bits.take(h.oneBits);
        if (clear == 0 && set == 0)
            throw Malformed("a run pair of no dots");
        do {
            dots.append(clear, '.');
            dots.append(set, '#');
        } while (bits.take(1) == 1);
    }
    if (static_cast<int>(dots.size()) != total)
        throw Malformed("runs of " + std::to_string(dots.size()) + " dots for a box of " + std::to_string(total));
    for (int r = 0; r < g.height; ++r)
        g.rows.push_back(dots.substr(static_cast<std::size_t>(r * g.width), static_cast<std::size_t>(g.width)));
    return g;
}

} // namespace

U8g2Decoded decodeU8g2(const std::vector<std::uint8_t>& font) {
    U8g2Decoded out;
    try {
        out.header = headerOf(font);
        const U8g2Header& h = out.header;
        // Below U+0100: code, size, bits; a size of 0 ends them.
        std::size_t at = 23;
        int last = 0;
        while (byteAt(font, at + 1) != 0) {
            const char32_t code = byteAt(font, at);
            const std::size_t size = byteAt(font, at + 1);
            if (static_cast<int>(code) <= last)
                throw Malformed("glyph codes below U+0100 out of order at " + std::to_string(code));
            last = static_cast<int>(code);
            out.glyphs[code] = glyphAt(font, h, at + 2, at + size);
            at += size;
        }
        if (byteAt(font, at) != 0)
            throw Malformed("the glyphs below U+0100 do not end with two zero bytes");
        // From U+0100: the lookup table, then the blocks it describes.
        std::size_t table = 23 + static_cast<std::size_t>(h.offsetUnicode);
        if (table != at + 2)
            throw Malformed("the lookup table is not right after the glyphs below U+0100");
        std::size_t block = table;
        std::vector<std::pair<std::size_t, unsigned>> blocks; // start, last code
        for (std::size_t entry = table;; entry += 4) {
            block += wordAt(font, entry);
            const unsigned lastCode = wordAt(font, entry + 2);
            blocks.emplace_back(block, lastCode);
            if (lastCode == 0xFFFF)
                break;
        }
        if (blocks.front().first != table + 4 * blocks.size())
            throw Malformed("the lookup table's first offset does not lead past the table");
        unsigned previous = 0xFF;
        std::size_t g = blocks.front().first;
        for (std::size_t b = 0; b + 1 < blocks.size(); ++b) {
            if (g != blocks[b].first)
                throw Malformed("block " + std::to_string(b) + " does not start where the one before ends");
            while (g < blocks[b + 1].first) {
                const unsigned code = wordAt(font, g);
                const std::size_t size = byteAt(font, g + 2);
                if (code <= previous || code > blocks[b].second || size < 3)
                    throw Malformed("glyph U+" + std::to_string(code) + " out of order or out of its block");
                previous = code;
                out.glyphs[code] = glyphAt(font, h, g + 3, g + size);
                g += size;
            }
            if (previous != blocks[b].second)
                throw Malformed("a block's last code is not its last glyph's");
        }
        if (g != blocks.back().first || wordAt(font, g) != 0)
            throw Malformed("the glyphs from U+0100 do not end with a zero code where the table says");
        if (g + 2 != font.size())
            throw Malformed("bytes after the end of the font");
        if (static_cast<int>(std::min<std::size_t>(out.glyphs.size(), 255)) != h.glyphCount)
            throw Malformed("the header counts " + std::to_string(h.glyphCount) + " glyphs");
    } catch (const Malformed& e) {
        out.error = e.what();
    }
    return out;
}

std::optional<U8g2Glyph> lookUpU8g2(const std::vector<std::uint8_t>& font, char32_t code) {
    const U8g2Header h = headerOf(font);
    if (code < 0x100) {
        std::size_t at = 23;
        if (code >= U'a')
            at += static_cast<std::size_t>(h.offsetLowerA);
        else if (code >= U'A')
            at += static_cast<std::size_t>(h.offsetUpperA);
        for (; byteAt(font, at + 1) != 0; at += byteAt(font, at + 1))
            if (byteAt(font, at) == code)
                return glyphAt(font, h, at + 2, at + byteAt(font, at + 1));
        return std::nullopt;
    }
    std::size_t table = 23 + static_cast<std::size_t>(h.offsetUnicode);
    std::size_t at = table;
    unsigned last = 0;
    do {
        at += wordAt(font, table);
        last = wordAt(font, table + 2);
        table += 4;
    } while (last < code);
    for (unsigned c = wordAt(font, at); c != 0; at += byteAt(font, at + 2), c = wordAt(font, at)) {
        if (c == code)
            return glyphAt(font, h, at + 3, at + byteAt(font, at + 2));
        if (c > code)
            break;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> bytesOfCArray(const std::string& cText) {
    std::vector<std::uint8_t> bytes;
    const std::size_t open = cText.find('{');
    const std::size_t close = cText.find('}', open);
    if (open == std::string::npos || close == std::string::npos)
        return bytes;
    for (std::size_t at = cText.find("0x", open); at < close; at = cText.find("0x", at + 2))
        bytes.push_back(static_cast<std::uint8_t>(std::strtoul(cText.c_str() + at, nullptr, 16)));
    return bytes;
}

} // namespace hz::test
