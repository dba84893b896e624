#pragma once
// Which characters take a half-width cell: those East Asian Width calls narrow (Na) or half-width
// (H). The ambiguous ones (A: "°", Greek, Cyrillic, "℃") are full width, as Chinese fonts and the
// GB2312 libraries draw them, unless a user interface wants them narrow. And how wide each cell is:
// the fixed full and half widths, or each glyph's own advance.

#include "core/glyph/dot_cell.h"

namespace hz::fontsource {

// The cells of East Asian Width's ambiguous characters.
enum class AmbiguousWidth {
    Full, // GB2312's own width
    Half,
};

enum class GlyphWidths {
    Fixed,        // full-width cells N x N, half-width ceil(N/2) x N
    Proportional, // each glyph its own advance, at most N
};

hz::WidthClass widthClassOf(char32_t character, AmbiguousWidth ambiguous = AmbiguousWidth::Full);

// Whether East Asian Width calls the character ambiguous; only those GB2312 holds are known.
bool ambiguousWidth(char32_t character);

} // namespace hz::fontsource
