#pragma once
// One face of a font file, opened with FreeType at the size of a cell.

#include "fontsource/font_charmap.h"
#include "fontsource/glyph_bitmap.h"

#include "core/system/result.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <optional>
#include <string>

namespace hz::fontsource {

enum class Drawing {
    Strike,  // the font's own bitmaps of exactly the cell size
    Outline, // outlines rendered at a pixel size the fitting chooses
};

// What became of one character.
enum class RenderStatus {
    Drawn,
    NotMapped, // the font's character map has no glyph for it
    Unusable,  // mapped, but the glyph cannot be loaded or its bitmap is malformed
};

struct RenderedGlyph {
    RenderStatus status = RenderStatus::NotMapped;
    GlyphBitmap bitmap; // Drawn only
    int advance = 0;    // pen advance in whole dots, Drawn only
};

class FontFace {
public:
    // Opens face `faceIndex` of the file for cells of `cellSize` dots. The problem names the file:
    // missing or unreadable, not a font, no such face, no strike of the size (bitmap fonts), no
    // character map the font source understands.
    static hz::Result<FontFace> open(const std::string& path, int faceIndex, int cellSize);

    Drawing drawing() const { return drawing_; }
    const FontCharmap& charmap() const { return *charmap_; }
    std::string familyName() const;

    // Outline faces only; strike faces stay at their strike. Setting the size it has is free.
    hz::Result<void> setPixelSize(int pixels);
    int pixelSize() const { return pixelSize_; }

    // Rows above the baseline that the font reserves at the current size.
    int ascent() const;
    // Whether the font says its strike's glyphs already stand in cells of the size chosen, on its
    // own baseline: a BDF font HzDot wrote (property HZDOT_CELL_SIZE), to be read back as it is.
    bool placesItsOwnCells() const;
    // The design ascender and descender (negative below the baseline) as shares of the em; both
    // zero when the font does not give them.
    double ascenderEm() const;
    double descenderEm() const;

    // Whether the character map has a glyph for the character.
    bool maps(char32_t character) const;

    // Without a threshold the outline is rendered monochrome; with one, in grey, keeping the dots
    // whose coverage is above threshold/255. Grey strikes use 127 when no threshold is given.
    // An outline is drawn `across` times its width, its rows and baseline as they are; strikes
    // ignore it.
    RenderedGlyph render(char32_t character, std::optional<int> threshold, double across = 1.0) const;
    // The same outline rendered anti-aliased, each dot of the bitmap its coverage 0..255; a
    // one-bit bitmap the font keeps for the size gives 0 and 255 only.
    RenderedGlyph renderCoverage(char32_t character, double across = 1.0) const;
    // The outline rendered monochrome as render() does without a threshold, but with the
    // rasteriser's dropout control on, so strokes thinner than a dot keep a dot. Strikes as they are.
    RenderedGlyph renderKeepingStrokes(char32_t character, double across = 1.0) const;
    // The outline hinted by FreeType's own autohinter instead of the font's instructions, rendered
    // monochrome with dropout control on. Strikes as they are.
    RenderedGlyph renderAutohinted(char32_t character, double across = 1.0) const;
    // The outline hinted lightly (rows only) and rendered in grey, keeping the dots whose coverage
    // is above threshold/255. Strikes as they are.
    RenderedGlyph renderLightGrey(char32_t character, int threshold, double across = 1.0) const;
    // Bytes of the font's own hinting programs (the TrueType 'fpgm' and 'prep' tables); 0 for a
    // font without them or one that is not TrueType.
    long fontProgramBytes() const;

private:
    struct LibraryCloser {
        void operator()(FT_Library library) const { FT_Done_FreeType(library); }
    };
    struct FaceCloser {
        void operator()(FT_Face face) const { FT_Done_Face(face); }
    };

    // Throws FontFailure; open() hands its problem back.
    FontFace(const std::string& path, int faceIndex, int cellSize);
    void openFile(const std::string& path, int faceIndex);
    void chooseSize(const std::string& path, int cellSize);
    // Loads and renders the glyph with the flags, the outline scaled `across`; Drawn with the slot
    // filled, or why not.
    // With keepDropouts the outline is rendered with the "ignore dropouts" flag cleared.
    RenderStatus load(char32_t character, FT_Int32 flags, double across, bool keepDropouts = false) const;
    RenderedGlyph drawn(RenderStatus status, std::optional<int> threshold, bool coverage) const;
    // A monochrome bitmap as it is; a grey one cut at the threshold (127 when none is given), or
    // with coverage left as 0..255.
    std::optional<GlyphBitmap> convertBitmap(FT_GlyphSlot slot, std::optional<int> threshold,
                                             bool coverage = false) const;

    // Declared in this order so that the face is closed before the library.
    std::unique_ptr<FT_LibraryRec_, LibraryCloser> library_;
    std::unique_ptr<FT_FaceRec_, FaceCloser> face_;
    std::optional<FontCharmap> charmap_;
    Drawing drawing_ = Drawing::Outline;
    int pixelSize_ = 0;
};

} // namespace hz::fontsource
