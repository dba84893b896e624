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
    KeepStrokes, // "default": one of the three below, chosen for the face and size by chosenRule
    Classic,     // "classic": hinted monochrome as the font's hinting leaves it (the six libraries)
    Dropouts,    // "dropout": hinted monochrome with dropout control, strokes thinner than a dot kept
    Autohinted,  // "autohint": FreeType's autohinter instead of the font's instructions, monochrome
    GreyCut,     // "grey": hinted lightly, rendered in grey and cut at a third of coverage
};

// The grey rule keeps the dots whose coverage is above this share of 255.
inline constexpr int kGreyCut = 85;

// "default", "classic", "dropout", "autohint" or "grey".
std::string_view renderRuleName(RenderRule rule);
std::optional<RenderRule> parseRenderRule(std::string_view text);

// The rule "default" stands for: the same for every glyph of one face at one cell size, so a glyph
// drawn live is the one hzdot-mkfont writes. Any other rule is itself.
RenderRule chosenRule(RenderRule rule, const FontFace& face, int size);

// The glyph `placed` (by the classic rendering, which fixes every glyph's cell and place) drawn
// again by `render`: the outline rendered at the pixel size and width it was drawn at, columns merged
// as they were, its pen origin where the classic glyph's is. The dropout rule keeps every dot of
// placed.cell; the autohinted and grey rules draw the glyph anew in the same cell. Classic,
// strikes, glyphs without ink, thresholded (grey-cut fitted) cells and an outline that cannot be
// drawn again give placed.cell as it is.
hz::DotCell strokeCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed,
                       RenderRule render = RenderRule::KeepStrokes);

} // namespace hz::fontsource
