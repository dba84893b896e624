#pragma once
// One face of a font file, opened with FreeType at the size of a library cell.

#include "tools/mkfont/font_charmap.h"
#include "tools/mkfont/glyph_bitmap.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <optional>
#include <string>

namespace mkfont {

enum class GlyphSource {
    Strike,  // the font's own bitmaps of exactly the cell size
    Outline, // outlines rendered at a pixel size the builder chooses
};

class FontFace {
public:
    // Opens face `faceIndex` of the file for cells of `cellSize` dots. Throws MkfontError naming
    // the file: missing or unreadable, not a font, no such face, no strike of the size (bitmap
    // fonts), no character map the builder understands.
    FontFace(const std::string& path, int faceIndex, int cellSize);

    GlyphSource source() const { return source_; }
    const FontCharmap& charmap() const { return *charmap_; }
    std::string familyName() const;

    // Outline faces only; strike faces stay at their strike.
    void setPixelSize(int pixels);
    int pixelSize() const { return pixelSize_; }

    // Rows above the baseline that the font reserves at the current size.
    int ascent() const;

    // Nothing when the font has no glyph for the character (or the glyph cannot be loaded).
    // Without a threshold the outline is rendered monochrome; with one, in grey, keeping the dots
    // whose coverage is above threshold/255. Grey strikes use 127 when no threshold is given.
    std::optional<GlyphBitmap> render(char32_t character, std::optional<int> threshold) const;

private:
    struct LibraryCloser {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    struct FaceCloser {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };

    void openFile(const std::string& path, int faceIndex);
    void chooseSize(const std::string& path, int cellSize);
    GlyphBitmap convertBitmap(FT_GlyphSlot slot, std::optional<int> threshold) const;

    // Declared in this order so that the face is closed before the library.
    std::unique_ptr<FT_LibraryRec_, LibraryCloser> library_;
    std::unique_ptr<FT_FaceRec_, FaceCloser> face_;
    std::optional<FontCharmap> charmap_;
    GlyphSource source_ = GlyphSource::Outline;
    int pixelSize_ = 0;
};

} // namespace mkfont
