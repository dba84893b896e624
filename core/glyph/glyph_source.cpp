#include "core/glyph/glyph_source.h"

namespace hz {

std::string cellSizeText(int width, int height) {
    return std::to_string(width) + "*" + std::to_string(height);
}

std::string GlyphSource::sizeText(const DotCell& cell) const {
    return cellSizeText(cell.width(), cell.height());
}

} // namespace hz
