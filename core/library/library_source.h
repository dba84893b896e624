#pragma once
// One of the six libraries as a glyph source.

#include "core/glyph/glyph_source.h"
#include "core/library/glyph_reader.h"

#include <string>
#include <string_view>
#include <vector>

namespace hz {

// One of the six libraries in the program's folder, read through GlyphReader. 12x12 glyphs are moved
// spaceX columns right and spaceY rows down in their 16x16 cell.
class LibrarySource : public GlyphSource {
public:
    LibrarySource(std::string_view programDir, int libraryPosition, int spaceX, int spaceY);

    LookupStatus glyph(char32_t character, DotCell& cell) override;
    std::string sizeText(const DotCell& cell) const override;
    int height() const override;
    std::string description() const override;
    int libraryPosition() const override { return position; }

    const std::string& path() const { return file; }
    std::string filePath() const override { return file; }

private:
    int position;
    int spaceX;
    int spaceY;
    std::string file;
    GlyphReader reader;
    Glyph read;
    std::string cellText; // the sizeText of the library's own cell, made once
};

// The character as each of the six libraries in folder draws it, but the one at exceptPosition (-1
// for none): more faces to compare a firmware's glyph bytes with, so that bytes of a font unlike
// the chosen one are still recognised. Libraries missing from the folder, and glyphs without ink,
// are passed over.
std::vector<DotCell> otherLibraryGlyphs(char32_t character, std::string_view folder, int exceptPosition);

} // namespace hz
