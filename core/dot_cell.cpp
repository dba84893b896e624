#include "core/dot_cell.h"

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
}

void DotCell::setRow(int y, std::uint64_t bits) {
    rowBits[static_cast<std::size_t>(y)] = bits & rowMask(w);
}

int DotCell::inkCount() const {
    int count = 0;
    for (int y = 0; y < h; ++y)
        count += std::popcount(rowBits[static_cast<std::size_t>(y)]);
    return count;
}

bool DotCell::operator==(const DotCell& other) const {
    if (w != other.w || h != other.h || cls != other.cls)
        return false;
    for (int y = 0; y < h; ++y)
        if (rowBits[static_cast<std::size_t>(y)] != other.rowBits[static_cast<std::size_t>(y)])
            return false;
    return true;
}

DotCell DotCell::fromRowBytes(std::span<const std::uint8_t> bytes, int width, int height, WidthClass widthClass) {
    DotCell cell(width, height, widthClass);
    const int perRow = (width + 7) / 8;
    for (int y = 0; y < height; ++y) {
        std::uint64_t bits = 0;
        for (int k = 0; k < perRow; ++k) {
            const auto at = static_cast<std::size_t>(y * perRow + k);
            const std::uint64_t byte = at < bytes.size() ? bytes[at] : 0;
            bits |= byte << (56 - 8 * k);
        }
        cell.setRow(y, bits);
    }
    return cell;
}

std::vector<std::uint8_t> DotCell::rowBytes() const {
    const int perRow = (w + 7) / 8;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(perRow * h));
    for (int y = 0; y < h; ++y)
        for (int k = 0; k < perRow; ++k)
            bytes[static_cast<std::size_t>(y * perRow + k)] =
                static_cast<std::uint8_t>(rowBits[static_cast<std::size_t>(y)] >> (56 - 8 * k));
    return bytes;
}

} // namespace hz
