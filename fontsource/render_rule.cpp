#include "fontsource/render_rule.h"

#include "fontsource/grey_cell.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace hz::fontsource {

namespace {

// The classic cell with the dots of `bitmap` (pen origin where the classic glyph's is) added.
hz::DotCell withDots(const PlacedGlyph& placed, const GlyphBitmap& bitmap, hz::DotCell cell) {
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

hz::DotCell keptDropouts(const RenderedGlyph& rendered, const DrawnGlyph& glyph, const PlacedGlyph& placed) {
    // Merged columns are taken from the classic glyph's ink box, which the bitmap drawn again must
    // hold (the same outline gives the same bitmap box; a font that does otherwise is drawn classic).
    if (const auto& box = glyph.mergedFrom; box && (box->left < rendered.bitmap.left ||
                                                    box->right >= rendered.bitmap.left + rendered.bitmap.width))
        return placed.cell;
    const GlyphBitmap bitmap =
        glyph.mergedFrom ? mergeColumns(rendered.bitmap, *glyph.mergedFrom, glyph.bitmap.width) : rendered.bitmap;
    // Dropout control may also move a stub's dot by one (it picks a side where a stroke ends
    // between dot centres); the classic dots are kept so a glyph only ever gains ink.
    return withDots(placed, bitmap, placed.cell);
}

// A glyph hinted otherwise than the classic one: its own dots in the classic cell, columns merged
// into the classic glyph's width (ink beside the classic box goes to its first or last column).
hz::DotCell redrawn(const RenderedGlyph& rendered, const DrawnGlyph& glyph, const PlacedGlyph& placed) {
    const GlyphBitmap bitmap = glyph.mergedFrom
                                   ? mergeCoverage(rendered.bitmap, *glyph.mergedFrom, glyph.bitmap.width)
                                   : rendered.bitmap;
    hz::DotCell empty(placed.cell.width(), placed.cell.height(), placed.cell.widthClass());
    return withDots(placed, bitmap, std::move(empty));
}

// Dense common hanzi, many strokes close together, whose ink tells whether a grey cut keeps a font's
// strokes at a size.
constexpr std::u32string_view kInkSample = U"的是在有和这国我要时来们到作地就对成会发动能过说";

long inkOf(const GlyphBitmap& bitmap) {
    return static_cast<long>(
        std::count_if(bitmap.dots.begin(), bitmap.dots.end(), [](std::uint8_t dot) { return dot != 0; }));
}

} // namespace

RenderRule chosenRule(RenderRule rule, FontFace& face, const CellRule& cellRule) {
    if (rule != RenderRule::KeepStrokes)
        return rule;
    if (cellRule.drawing != Drawing::Outline || cellRule.threshold || !face.setPixelSize(cellRule.pixels))
        return RenderRule::Dropouts;
    // All the one-bit drawings first, then the grey ones: FreeType sets the face's hinting up
    // anew each time it turns between the two.
    long oneBit = 0, grey = 0;
    std::u32string drawn;
    for (const char32_t character : kInkSample) {
        const RenderedGlyph mono = face.renderKeepingStrokes(character);
        if (mono.status != RenderStatus::Drawn)
            continue;
        oneBit += inkOf(mono.bitmap);
        drawn += character;
    }
    for (const char32_t character : drawn) {
        const RenderedGlyph cut = face.renderLightGrey(character, kGreyCut);
        if (cut.status == RenderStatus::Drawn)
            grey += inkOf(cut.bitmap);
    }
    if (oneBit == 0)
        return RenderRule::Dropouts;
    return grey * 100 >= oneBit * kGreyKeptInk ? RenderRule::GreyCut : RenderRule::Autohinted;
}

hz::DotCell strokeCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed,
                       RenderRule render) {
    render = chosenRule(render, face, rule);
    if (render == RenderRule::Classic || rule.drawing != Drawing::Outline || rule.threshold ||
        glyph.status != RenderStatus::Drawn || !glyph.ink || placed.cell.depth() != 1)
        return placed.cell;
    if (!face.setPixelSize(glyph.pixels))
        return placed.cell;
    RenderedGlyph rendered;
    if (render == RenderRule::Autohinted)
        rendered = face.renderAutohinted(glyph.shown, glyph.across);
    else if (render == RenderRule::GreyCut)
        rendered = face.renderLightGrey(glyph.shown, kGreyCut, glyph.across);
    else
        rendered = face.renderKeepingStrokes(glyph.shown, glyph.across);
    // Back to the rule's size for the next glyph, as the classic drawing left it.
    const bool sizeRestored = static_cast<bool>(face.setPixelSize(rule.pixels));
    if (rendered.status != RenderStatus::Drawn || !sizeRestored)
        return placed.cell;
    return render == RenderRule::Dropouts ? keptDropouts(rendered, glyph, placed) : redrawn(rendered, glyph, placed);
}

} // namespace hz::fontsource
