#include "fontsource/grey_cell.h"

#include <algorithm>

namespace hz::fontsource {

GlyphBitmap mergeCoverage(const GlyphBitmap& coverage, const InkBox& ink, int width) {
    GlyphBitmap merged;
    merged.left = ink.left;
    merged.top = coverage.top;
    merged.width = width;
    merged.rows = coverage.rows;
    merged.dots.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(coverage.rows), 0);
    const int wide = ink.width();
    for (int y = 0; y < coverage.rows; ++y) {
        for (int x = 0; x < coverage.width; ++x) {
            const std::uint8_t value = coverage.dots[static_cast<std::size_t>(y) * coverage.width + x];
            if (value == 0)
                continue;
            const int along = std::clamp(coverage.left + x - ink.left, 0, wide - 1);
            std::uint8_t& into = merged.dots[static_cast<std::size_t>(y) * width + along * width / wide];
            into = std::max(into, value);
        }
    }
    return merged;
}

hz::DotCell greyCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed,
                     int bpp) {
    const auto twoLevels = [&] { return placed.cell.withDepth(bpp); };
    if (bpp == 1 || rule.drawing != Drawing::Outline || glyph.status != RenderStatus::Drawn || !glyph.ink)
        return twoLevels();
    if (!face.setPixelSize(glyph.pixels))
        return twoLevels();
    RenderedGlyph rendered = face.renderCoverage(glyph.shown, glyph.across);
    // The face goes back to the rule's size for the next glyph; had that failed, the glyph was
    // drawn at it a moment ago, so it is not expected to now.
    const bool sizeRestored = static_cast<bool>(face.setPixelSize(rule.pixels));
    if (rendered.status != RenderStatus::Drawn || !sizeRestored)
        return twoLevels();
    const GlyphBitmap bitmap = glyph.mergedFrom ? mergeCoverage(rendered.bitmap, *glyph.mergedFrom, glyph.bitmap.width)
                                                : std::move(rendered.bitmap);

    hz::DotCell grey = hz::DotCell(placed.cell.width(), placed.cell.height(), placed.cell.widthClass()).withDepth(bpp);
    const int top = grey.maxLevel();
    const int dx = placed.pen.x + bitmap.left;
    const int dy = placed.pen.y - bitmap.top;
    for (int y = std::max(0, -dy); y < bitmap.rows && y + dy < grey.height(); ++y) {
        const std::uint8_t* row = &bitmap.dots[static_cast<std::size_t>(y) * bitmap.width];
        for (int x = std::max(0, -dx); x < bitmap.width && x + dx < grey.width(); ++x) {
            if (row[x] != 0)
                grey.setLevel(x + dx, y + dy, coverageLevel(row[x], top));
        }
    }
    return grey;
}

} // namespace hz::fontsource
