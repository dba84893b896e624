#pragma once
// A square cell of dots and its record bytes in a library file.

#include <cstdint>
#include <string>
#include <vector>

namespace mkfont {

struct DotCell {
    explicit DotCell(int size) : size(size), dots(static_cast<std::size_t>(size) * size, 0) {}

    int size;
    std::vector<std::uint8_t> dots; // size * size, rows from the top, 1 = ink

    void set(int x, int y) { dots[static_cast<std::size_t>(y) * size + x] = 1; }
    bool at(int x, int y) const { return dots[static_cast<std::size_t>(y) * size + x] != 0; }
};

// Bytes per row of a cell: a 12-dot row takes two bytes, the last four bits clear.
inline int rowBytes(int size) {
    return (size + 7) / 8;
}

// Rows from the top, each row's bytes from the left, the most significant bit the leftmost dot.
void appendRecord(const DotCell& cell, std::string& out);

} // namespace mkfont
