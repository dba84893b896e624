#pragma once
// Installed Chinese fonts as more faces to compare a firmware's glyph bytes with: the character
// drawn by each at the size of the cell the bytes fill, so that bytes made from a common Hei or Kai
// face are compared with a face drawn like them, not only with the six libraries.

#include "core/glyph/dot_cell.h"
#include "core/layout/layout_detect.h"

#include <span>
#include <string>
#include <vector>

namespace hz::fontsource {

struct ReferenceFont {
    std::string file;
    int face = 0;
    bool operator==(const ReferenceFont&) const = default;
};

// The installed faces that fontconfig says cover Chinese, one a file (its lowest face), in a fixed
// order. Looked up once a process; empty without fontconfig.
const std::vector<ReferenceFont>& referenceFonts();

// The character as each font draws it in each cell: rendered at the cell's height (a strike of
// that height when the font has one), drawn smaller while its ink would not fit, its ink centred.
// Fonts that cannot be opened at that size or do not map the character, glyphs without ink, and
// glyphs too wide for a half-width cell (a hanzi) are passed over. Opened faces are kept for the
// next call; calls may come from any thread.
std::vector<hz::DotCell> referenceGlyphs(char32_t character, std::span<const hz::CellSize> cells,
                                         std::span<const ReferenceFont> fonts);

} // namespace hz::fontsource
