#include "core/glyph/dot_cell.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string>

namespace hz {

DotCell::DotCell(int width, int height, WidthClass widthClass) : w(width), h(height), cls(widthClass) {
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide)
        throw std::invalid_argument("a dot cell of " + std::to_string(width) + "x" + std::to_string(height) +
                                    " dots; each side must be 1 to 64");
}

void DotCell::setDot(int x, int y, bool on) {
    const std::uint64_t bit = std::uint64_t{1} << (63 - x);
    auto& r = rowBits[static_cast<std::size_t>(y)];
    r = on ? (r | bit) : (r & ~bit);
    if (dotBits > 1)
        levels[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(on ? maxLevel() : 0);
}

void DotCell::spreadRowLevels(int y) {
    for (int x = 0; x < w; ++x)
        levels[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(dot(x, y) ? maxLevel() : 0);
}

void DotCell::setLevel(int x, int y, int level) {
    const int top = maxLevel();
    level = std::clamp(level, 0, top);
    if (dotBits > 1)
        levels[static_cast<std::size_t>(y * w + x)] = static_cast<std::uint8_t>(level);
    const std::uint64_t bit = std::uint64_t{1} << (63 - x);
    auto& r = rowBits[static_cast<std::size_t>(y)];
    r = 2 * level >= top + 1 ? (r | bit) : (r & ~bit);
}

DotCell DotCell::withDepth(int depth) const {
    if (!validDepth(depth))
        throw std::invalid_argument("a depth of " + std::to_string(depth) + " bits a dot; it must be 1, 2, 4 or 8");
    if (depth == dotBits)
        return *this;
    DotCell out(w, h, cls);
    out.rowBits = rowBits;
    out.dotBits = depth;
    if (depth == 1)
        return out;
    const int from = maxLevel();
    const int to = (1 << depth) - 1;
    out.levels.resize(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) // the nearest level of the same share, halves rounded up
            out.setLevel(x, y, (2 * level(x, y) * to + from) / (2 * from));
    return out;
}

int DotCell::inkCount() const {
    int count = 0;
    for (int y = 0; y < h; ++y)
        count += std::popcount(rowBits[static_cast<std::size_t>(y)]);
    return count;
}

bool DotCell::operator==(const DotCell& other) const {
    if (w != other.w || h != other.h || cls != other.cls || dotBits != other.dotBits || levels != other.levels)
        return false;
    for (int y = 0; y < h; ++y)
        if (rowBits[static_cast<std::size_t>(y)] != other.rowBits[static_cast<std::size_t>(y)])
            return false;
    return true;
}

DotCell DotCell::fromRowBytes(std::span<const std::uint8_t> bytes, int width, int height, WidthClass widthClass) {
    DotCell cell(width, height, widthClass);
    const auto perRow = static_cast<std::size_t>((width + 7) / 8);
    const std::uint64_t mask = rowMask(width);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::size_t at = y * perRow;
        const std::size_t have = at < bytes.size() ? std::min(perRow, bytes.size() - at) : 0;
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < have; ++k)
            bits |= static_cast<std::uint64_t>(bytes[at + k]) << (56 - 8 * k);
        cell.rowBits[y] = bits & mask;
    }
    return cell;
}

std::vector<std::uint8_t> DotCell::rowBytes() const {
    const auto perRow = static_cast<std::size_t>((w + 7) / 8);
    std::vector<std::uint8_t> bytes(perRow * static_cast<std::size_t>(h));
    std::uint8_t* out = bytes.data();
    for (std::size_t y = 0; y < static_cast<std::size_t>(h); ++y)
        for (std::size_t k = 0; k < perRow; ++k)
            *out++ = static_cast<std::uint8_t>(rowBits[y] >> (56 - 8 * k));
    return bytes;
}

} // namespace hz
