#include "core/glyph/glyph_record.h"

#include "core/layout/layout_presets.h"
#include "core/library/font_library.h"
#include "core/text/byte_text.h"
#include "core/text/utf8.h"

namespace hz {

namespace {

std::string twoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

} // namespace

DotCell GlyphRecord::cell() const {
    DotCell shape = DotCell::fromRowBytes(dots, width, height, widthClass);
    if (depth == 1 || levels.size() != static_cast<std::size_t>(width) * height)
        return shape;
    DotCell grey = shape.withDepth(depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            grey.setLevel(x, y, levels[static_cast<std::size_t>(y) * width + x]);
    return grey;
}

bool GlyphRecord::hasBytes(Arrangement a) const {
    const bool half = a == Arrangement::HalfUp || a == Arrangement::HalfDown;
    return !(half && libraryPosition >= 0 && !hasHalfColumns(libraryPosition));
}

std::vector<std::uint8_t> GlyphRecord::bytes(Arrangement a) const {
    if (!hasBytes(a))
        return {};
    if (a == Arrangement::Rows)
        return dots;
    return bytes(arrangementLayout(a));
}

std::vector<std::uint8_t> GlyphRecord::bytes(const Layout& layout) const {
    return encodeCell(cell(), layout);
}

std::string GlyphRecord::assemblyText(Arrangement a) const {
    return hasBytes(a) ? hz::assemblyText(bytes(a)) : std::string();
}

std::string GlyphRecord::cText(Arrangement a) const {
    return hasBytes(a) ? hz::cText(bytes(a)) : std::string();
}

std::string GlyphRecord::tag() const {
    return sizeNumber() + twoDigits(glyphBytes()) + twoDigits(cellSize());
}

int GlyphRecord::glyphBytes() const {
    return static_cast<int>(dots.size());
}

int GlyphRecord::cellSize() const {
    return height;
}

std::string GlyphRecord::sizeNumber() const {
    return sizeText.substr(0, sizeText.find('*'));
}

void fillRecord(GlyphRecord& record, char32_t character, const DotCell& cell, const GlyphSource& source) {
    record.character.clear();
    appendUtf8(record.character, character);
    record.sizeText = source.sizeText(cell);
    const auto perRow = static_cast<std::size_t>((cell.width() + 7) / 8);
    record.dots.resize(perRow * static_cast<std::size_t>(cell.height()));
    std::uint8_t* out = record.dots.data();
    // A row word holds the leftmost dot in its highest bit: its first perRow bytes, highest first.
    const int rows = cell.height();
    if (perRow == 2) { // the 16-dot libraries
        for (int y = 0; y < rows; ++y, out += 2) {
            const std::uint64_t row = cell.row(y);
            out[0] = static_cast<std::uint8_t>(row >> 56);
            out[1] = static_cast<std::uint8_t>(row >> 48);
        }
    } else {
        for (int y = 0; y < rows; ++y)
            for (std::size_t k = 0; k < perRow; ++k)
                *out++ = static_cast<std::uint8_t>(cell.row(y) >> (56 - 8 * k));
    }
    record.width = static_cast<std::uint8_t>(cell.width());
    record.height = static_cast<std::uint8_t>(cell.height());
    record.widthClass = cell.widthClass();
    record.libraryPosition = static_cast<std::int8_t>(source.libraryPosition());
    record.depth = static_cast<std::uint8_t>(cell.depth());
    record.levels.clear();
    if (cell.depth() > 1) {
        record.levels.resize(static_cast<std::size_t>(cell.width()) * static_cast<std::size_t>(cell.height()));
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                record.levels[static_cast<std::size_t>(y) * cell.width() + x] =
                    static_cast<std::uint8_t>(cell.level(x, y));
    }
}

} // namespace hz
