#include "core/output/glyph_coder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace hz {

namespace {

constexpr int kMaxContextBits = static_cast<int>(kContextDots.size());
// The context sizes tried: a larger table pays for itself only on a font with many glyphs.
constexpr int kContextChoices[] = {4, 6, 8, 10, 12, 14};

// The levels of a cell at a depth, with reads outside the cell clear.
class Levels {
public:
    Levels(const DotCell& cell, int depth)
        : w(cell.width()), h(cell.height()), values(static_cast<std::size_t>(w * h)) {
        const DotCell deep = cell.depth() == depth ? cell : cell.withDepth(depth);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                values[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(deep.level(x, y));
    }
    int width() const { return w; }
    int height() const { return h; }
    int at(int x, int y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0 : values[static_cast<std::size_t>(y * w + x)];
    }

private:
    int w;
    int h;
    std::vector<std::uint8_t> values;
};

// Calls decide(tableIndex, bit) for every decision of the glyph, in coding order.
template <typename Decide> void forEachDecision(const Levels& levels, int depth, int contextBits, Decide decide) {
    const std::size_t planeZero = std::size_t{1} << contextBits;
    for (int y = 0; y < levels.height(); ++y)
        for (int x = 0; x < levels.width(); ++x) {
            const int level = levels.at(x, y);
            for (int plane = 0; plane < depth; ++plane) {
                const int shift = depth - 1 - plane;
                std::size_t context = 0;
                for (int k = 0; k < contextBits; ++k) {
                    const ContextDot d = kContextDots[static_cast<std::size_t>(k)];
                    context |= static_cast<std::size_t>((levels.at(x + d.dx, y + d.dy) >> shift) & 1) << k;
                }
                if (plane > 0) {
                    const std::size_t above = static_cast<std::size_t>((level >> (shift + 1)) & 1);
                    context += planeZero + static_cast<std::size_t>(plane - 1) * 2 * planeZero + above * planeZero;
                }
                decide(context, (level >> shift) & 1);
            }
        }
}

// The encoding half of the range coder described in the header, carrying into bytes already
// written through a byte held back (and the 0xFF bytes after it).
class RangeEncoder {
public:
    void encode(int bit, unsigned chanceOfZero) {
        const std::uint32_t bound = (range >> 8) * chanceOfZero;
        if (bit == 0) {
            range = bound;
        } else {
            low += bound;
            range -= bound;
        }
        while (range < (1U << 24)) {
            range <<= 8;
            shiftLow();
        }
    }

    // Ends with the value in [low, low + range) that has the most trailing zero bits, so that the
    // fewest bytes pin it down, and drops the bytes a decoder reads as 0 anyway.
    std::vector<std::uint8_t> finish() {
        for (int bits = 32; bits >= 0; --bits) {
            const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
            const std::uint64_t value = (low + mask) & ~mask;
            if (value < low + range) {
                low = value;
                break;
            }
        }
        for (int i = 0; i < 5; ++i)
            shiftLow();
        // The first byte is the held-back byte's starting 0, never carried into: the range starts
        // below 2^32 and only narrows before the first shift.
        if (out.empty() || out.front() != 0)
            throw std::logic_error("range coder: the first byte is not 0");
        out.erase(out.begin());
        while (!out.empty() && out.back() == 0)
            out.pop_back();
        return out;
    }

private:
    void shiftLow() {
        if (static_cast<std::uint32_t>(low) < 0xFF000000U || (low >> 32) != 0) {
            const auto carry = static_cast<std::uint8_t>(low >> 32);
            std::uint8_t held = cache;
            do {
                out.push_back(static_cast<std::uint8_t>(held + carry));
                held = 0xFF;
            } while (--pending != 0);
            cache = static_cast<std::uint8_t>(low >> 24);
        }
        ++pending;
        low = (low & 0x00FFFFFFU) << 8;
    }

    std::uint64_t low = 0;
    std::uint32_t range = 0xFFFFFFFFU;
    std::uint8_t cache = 0;
    std::uint64_t pending = 1;
    std::vector<std::uint8_t> out;
};

} // namespace

std::size_t modelSize(int depth, int contextBits) {
    const std::size_t plane = std::size_t{1} << contextBits;
    return plane + static_cast<std::size_t>(depth - 1) * 2 * plane;
}

GlyphModel trainModel(std::span<const DotCell> cells, int depth, int contextBits) {
    if (!DotCell::validDepth(depth) || contextBits < 0 || contextBits > kMaxContextBits)
        throw std::invalid_argument("glyph model: depth or context size out of range");
    const std::size_t size = modelSize(depth, contextBits);
    std::vector<std::uint32_t> zeros(size), ones(size);
    for (const DotCell& cell : cells)
        forEachDecision(Levels(cell, depth), depth, contextBits,
                        [&](std::size_t index, int bit) { ++(bit == 0 ? zeros : ones)[index]; });
    GlyphModel model{depth, contextBits, std::vector<std::uint8_t>(size)};
    for (std::size_t i = 0; i < size; ++i) {
        // A small prior keeps a context met only a few times from being taken as certain.
        const double chance = (zeros[i] + 0.4) / (zeros[i] + ones[i] + 0.8);
        model.chances[i] = static_cast<std::uint8_t>(std::clamp(std::lround(chance * 256), 1L, 255L));
    }
    return model;
}

std::vector<std::uint8_t> encodeGlyph(const DotCell& cell, const GlyphModel& model) {
    RangeEncoder coder;
    forEachDecision(Levels(cell, model.depth), model.depth, model.contextBits,
                    [&](std::size_t index, int bit) { coder.encode(bit, model.chances[index]); });
    return coder.finish();
}

CodedGlyphs codeGlyphs(std::span<const DotCell> cells, int depth) {
    CodedGlyphs best;
    std::size_t bestTotal = 0;
    bool first = true;
    for (int bits : kContextChoices) {
        CodedGlyphs coded{trainModel(cells, depth, bits), {}, 0};
        coded.glyphs.reserve(cells.size());
        for (const DotCell& cell : cells) {
            coded.glyphs.push_back(encodeGlyph(cell, coded.model));
            coded.dataBytes += coded.glyphs.back().size();
        }
        const std::size_t total = coded.dataBytes + coded.model.chances.size();
        if (first || total < bestTotal) {
            first = false;
            bestTotal = total;
            best = std::move(coded);
        }
    }
    return best;
}

} // namespace hz
