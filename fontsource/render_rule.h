#pragma once
// How a one-bit glyph's dots are rendered from its outline, once the glyph is fitted and placed.

#include "core/glyph/dot_cell.h"
#include "fontsource/cell_fit.h"
#include "fontsource/cell_placement.h"
#include "fontsource/font_face.h"

#include <optional>
#include <string>
#include <string_view>

namespace hz::fontsource {

enum class RenderRule {
    KeepStrokes, // "default": hinted monochrome with dropout control, strokes thinner than a dot kept
    Classic,     // "classic": hinted monochrome as the font's hinting leaves it (the six libraries)
};

// "default" or "classic".
std::string_view renderRuleName(RenderRule rule);
std::optional<RenderRule> parseRenderRule(std::string_view text);

// The glyph `placed` (by the classic rendering, which fixes every glyph's cell and place) drawn
// again with its strokes kept: the outline rendered with dropout control at the pixel size and width
// it was drawn at, columns merged as they were, its pen origin where the classic glyph's is. Every
// dot of placed.cell stays inked. Strikes, glyphs without ink, thresholded (grey-cut) rules and an
// outline that cannot be drawn again give placed.cell as it is.
hz::DotCell strokeCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed);

} // namespace hz::fontsource
