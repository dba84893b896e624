#pragma once
// How a one-bit glyph's dots are rendered from its outline, once the glyph is fitted and placed.

#include "core/glyph/dot_cell.h"
#include "fontsource/cell_fit.h"
#include "fontsource/cell_placement.h"
#include "fontsource/font_face.h"
#include "fontsource/render_rule_name.h"

namespace hz::fontsource {

// The grey rule keeps the dots whose coverage is above this share of 255.
inline constexpr int kGreyCut = 85;

// The rule "default" stands for with glyphs fitted by `cellRule` on this face: the grey cut, unless
// cutting at a third of coverage loses strokes at this size (its ink over a fixed sample of common
// hanzi falls below kGreyKeptInk of what the one-bit rendering with dropout control inks, as thin
// serif strokes do at 12 dots), then the autohinter, which keeps every stem at least a dot wide.
// Strikes, thresholded rules and a face without the sample hanzi keep dropout control. The same
// face, size and rule always give the same answer, so a glyph drawn live is the one hzdot-mkfont
// writes; any rule other than default is itself. Leaves the face at cellRule.pixels.
RenderRule chosenRule(RenderRule rule, FontFace& face, const CellRule& cellRule);

// The share of the one-bit ink the grey cut must keep to be chosen, in hundredths.
inline constexpr int kGreyKeptInk = 85;

// The glyph `placed` (by the classic rendering, which fixes every glyph's cell and place) drawn
// again by `render`: the outline rendered at the pixel size and width it was drawn at, columns merged
// as they were, its pen origin where the classic glyph's is. The dropout rule keeps every dot of
// placed.cell; the autohinted and grey rules draw the glyph anew in the same cell. `render` is
// resolved by chosenRule when it is default (callers drawing many glyphs resolve it once). Classic,
// strikes, glyphs without ink, thresholded (grey-cut fitted) cells and an outline that cannot be
// drawn again give placed.cell as it is.
hz::DotCell strokeCell(FontFace& face, const CellRule& rule, const DrawnGlyph& glyph, const PlacedGlyph& placed,
                       RenderRule render = RenderRule::KeepStrokes);

} // namespace hz::fontsource
