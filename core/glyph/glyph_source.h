#pragma once
// Glyph sources: where dot cells come from. The six library files are one kind; live fonts
// (fontsource/) and a user's own library files are others. Lookups, the command line and the
// window take any source through this one interface.

#include "core/glyph/dot_cell.h"
#include "core/glyph/lookup_status.h"

#include <memory>
#include <string>
#include <string_view>

namespace hz {

class GlyphSource {
public:
    virtual ~GlyphSource() = default;

    // Draws one character into cell. Found: cell holds the glyph as it is to be laid out (a 12x12
    // library glyph already placed in its 16x16 cell). Anything else: cell is left as it was.
    virtual LookupStatus glyph(char32_t character, DotCell& cell) = 0;

    // The size a record names in its texts and the list, "W*H": the cell, except for the 12x12
    // library, whose glyphs are laid out in a 16x16 cell but named "12*12".
    virtual std::string sizeText(const DotCell& cell) const;

    // The full-width cell height, for headers and previews.
    virtual int height() const = 0;

    // Rows of the full-width cell below the baseline the glyphs stand on, for fonts that place
    // glyphs on a line; 0 for sources that know no baseline (their cell's bottom edge serves).
    virtual int baselineRows() const { return 0; }

    // A short description for headers and messages: "hzk16宋", "wqy-zenhei.ttc face 0, 20 dots".
    virtual std::string description() const = 0;

    // The file the glyphs are read from, which no output may replace; empty when there is none.
    virtual std::string filePath() const { return {}; }

    // The library position 0..5 of one of the six libraries, -1 for any other source.
    virtual int libraryPosition() const { return -1; }
};

// "W*H" of a cell.
std::string cellSizeText(int width, int height);

} // namespace hz
