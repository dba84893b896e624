#pragma once
// Which font, face, size and drawing a font source is opened with, and the ranges a front end checks
// them against. No FreeType: the command line builds a FontSpec without the font source.

#include "fontsource/render_rule_name.h"
#include "fontsource/width_class.h"

#include <optional>
#include <string>

namespace hz::fontsource {

inline constexpr int kMinFontSize = 8;
inline constexpr int kMaxFontSize = 64;
// 255 would keep no dot at all.
inline constexpr int kMaxFontThreshold = 254;

struct FontSpec {
    std::string file;
    int face = 0;                 // face of a collection, from 0
    int size = 16;                // dots: full-width cells are size x size, half-width ceil(size/2) x size
    std::optional<int> threshold; // set: render in grey and keep dots covered more than threshold/255
    GlyphWidths widths = GlyphWidths::Fixed;
    AmbiguousWidth ambiguous = AmbiguousWidth::Full;
    // Bits a dot: 1, or 2, 4 or 8 for glyphs with grey levels (anti-aliased outlines in the cells and
    // places one bit gives; strikes give the two extreme levels). A threshold goes with 1 only.
    int bpp = 1;
    // One bit a dot without a threshold: whether strokes thinner than a dot are kept. Either way
    // every glyph has the same cell and place.
    RenderRule render = RenderRule::KeepStrokes;

    bool operator==(const FontSpec&) const = default;
};

} // namespace hz::fontsource
