#pragma once
// The glyphs of every code of a library, rendered from one face.

#include "tools/mkfont/code_table.h"
#include "tools/mkfont/font_face.h"
#include "tools/mkfont/glyph_bitmap.h"

#include <optional>
#include <vector>

namespace mkfont {

struct GlyphSet {
    std::vector<std::optional<GlyphBitmap>> glyphs; // one per code entry
    std::vector<bool> shrunk;                       // drawn at a smaller size to fit the cell
    std::vector<char32_t> shown;                    // what was drawn: the preferred form, its variant or the character

    std::vector<InkBox> hanziBoxes(const std::vector<CodeEntry>& entries) const;
    std::vector<InkBox> allBoxes() const;
};

GlyphSet renderGlyphs(const FontFace& face, const std::vector<CodeEntry>& entries, std::optional<int> threshold);

// For outline faces: the ideographic em box fills the cell at a pixel size equal to the cell, but
// fonts draw their hanzi at different shares of the em. Steps from there to the largest size at
// which no hanzi is larger than the cell, so that full-cell characters reach the edges and none is
// cut; then draws any other glyph still larger than the cell (box drawing, long dashes) at the
// largest size at which it fits. Leaves the face at the chosen size.
GlyphSet fitOutlines(FontFace& face, const std::vector<CodeEntry>& entries, std::optional<int> threshold, int cellSize,
                     GlyphSet atCellSize);

} // namespace mkfont
