#include "core/text/dot_matrix_text.h"

#include "core/text/byte_text.h"

#include <algorithm>
#include <vector>

namespace hz {

namespace {

// Up to four characters of text from at, fewer where the text ends.
std::string_view fieldAt(std::string_view text, std::size_t at) {
    return at < text.size() ? text.substr(at, 4) : std::string_view{};
}

// The bit texts of the bytes, walking the "DB" lines field by field. A byte whose "h" cannot be
// found keeps an empty bit text.
std::vector<std::string> readBitTexts(std::string_view text, int bytes) {
    std::vector<std::string> bits(static_cast<std::size_t>(bytes));
    std::size_t cursor = 0;
    for (int k = 0; k < bytes; ++k) {
        const std::size_t h = text.find('h', cursor);
        if (h == std::string_view::npos)
            continue;
        std::string_view field;
        if (k == 0)
            field = fieldAt(text, 3); // after the leading "DB "
        else if (k % 8 == 0)
            field = fieldAt(text, cursor + 4); // the cursor stands on the line feed; skip it and "DB "
        else
            field = fieldAt(text, cursor);
        // The last two characters are the byte's digits; a leading "0" of three digits drops off.
        const std::string_view digits = field.size() > 2 ? field.substr(field.size() - 2) : field;
        bits[static_cast<std::size_t>(k)] = HexToBin(digits);
        cursor = h + 2;
    }
    return bits;
}

} // namespace

std::string dotMatrixText(std::string_view rowAssemblyText, int rows, int bytes, const Marks& marks) {
    if (rows <= 0 || bytes <= 0)
        return {};
    const std::vector<std::string> bits = readBitTexts(rowAssemblyText, bytes);
    const int bytesPerRow = bytes / rows;
    static const std::string blank = "  ";
    const std::string& clear = marks.BackMarkOn ? marks.BackMark : blank;

    std::string view;
    const std::size_t markSize = std::max(marks.DotMark.size(), clear.size());
    view.reserve(static_cast<std::size_t>(rows) * (static_cast<std::size_t>(bytesPerRow) * 8 * markSize + 2));
    for (int r = 0; r < rows; ++r) {
        for (int j = 0; j < bytesPerRow; ++j) {
            const auto k = static_cast<std::size_t>(bytesPerRow * r + j);
            const std::string empty;
            const std::string& entry = k < bits.size() ? bits[k] : empty;
            for (std::size_t i = 0; i < 8; ++i) {
                // Only a "0" is a clear dot: a missing digit draws as set.
                const bool set = i >= entry.size() || entry[i] != '0';
                view += set ? marks.DotMark : clear;
            }
        }
        view += "\r\n";
    }
    return view;
}

std::string dotMatrixText(const DotCell& cell, const Marks& marks) {
    static const std::string blank = "  ";
    const std::string& clear = marks.BackMarkOn ? marks.BackMark : blank;
    std::string view;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x)
            view += cell.dot(x, y) ? marks.DotMark : clear;
        view += "\r\n";
    }
    return view;
}

} // namespace hz
