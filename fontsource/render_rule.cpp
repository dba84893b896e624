#include "fontsource/render_rule.h"

#include <algorithm>

namespace hz::fontsource {

std::string_view renderRuleName(RenderRule rule) {
    return rule == RenderRule::Classic ? "classic" : "default";
}

std::optional<RenderRule> parseRenderRule(std::string_view text) {
    if (text == "default")
        return RenderRule::KeepStrokes;
    if (text == "classic")
        return RenderRule::Classic;
    return std::nullopt;
}

hz::DotCell strokeCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed) {
    if (rule.drawing != Drawing::Outline || rule.threshold || glyph.status != RenderStatus::Drawn || !glyph.ink ||
        placed.cell.depth() != 1)
        return placed.cell;
    if (!face.setPixelSize(glyph.pixels))
        return placed.cell;
    RenderedGlyph rendered = face.renderKeepingStrokes(glyph.shown, glyph.across);
    // Back to the rule's size for the next glyph, as the classic drawing left it.
    const bool sizeRestored = static_cast<bool>(face.setPixelSize(rule.pixels));
    if (rendered.status != RenderStatus::Drawn || !sizeRestored)
        return placed.cell;
    // Merged columns are taken from the classic glyph's ink box, which the bitmap drawn again must
    // hold (the same outline gives the same bitmap box; a font that does otherwise is drawn classic).
    if (const auto& box = glyph.mergedFrom; box && (box->left < rendered.bitmap.left ||
                                                    box->right >= rendered.bitmap.left + rendered.bitmap.width))
        return placed.cell;
    const GlyphBitmap bitmap = glyph.mergedFrom ? mergeColumns(rendered.bitmap, *glyph.mergedFrom, glyph.bitmap.width)
                                                : std::move(rendered.bitmap);

    // Dropout control may also move a stub's dot by one (it picks a side where a stroke ends
    // between dot centres); the classic dots are kept so a glyph only ever gains ink.
    hz::DotCell cell = placed.cell;
    const int dx = placed.pen.x + bitmap.left;
    const int dy = placed.pen.y - bitmap.top;
    for (int y = std::max(0, -dy); y < bitmap.rows && y + dy < cell.height(); ++y) {
        for (int x = std::max(0, -dx); x < bitmap.width && x + dx < cell.width(); ++x) {
            if (bitmap.ink(x, y))
                cell.setDot(x + dx, y + dy);
        }
    }
    return cell;
}

} // namespace hz::fontsource
