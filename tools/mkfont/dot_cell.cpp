#include "tools/mkfont/dot_cell.h"

namespace mkfont {

void appendRecord(const DotCell& cell, std::string& out) {
    const int bytes = rowBytes(cell.size);
    for (int y = 0; y < cell.size; ++y) {
        for (int b = 0; b < bytes; ++b) {
            unsigned value = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = b * 8 + bit;
                if (x < cell.size && cell.at(x, y))
                    value |= 0x80u >> bit;
            }
            out.push_back(static_cast<char>(value));
        }
    }
}

} // namespace mkfont
