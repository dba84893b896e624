#pragma once
// A font file as a glyph source: any face, any size from 8 to 64 dots, every character the font
// maps. Glyphs are drawn live by the same rule hzdot-mkfont builds its libraries with. FreeType
// stays behind this header.

#include "core/glyph/glyph_source.h"
#include "core/system/result.h"
#include "fontsource/font_choice.h"
#include "fontsource/render_rule.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

namespace hz::fontsource {

// One source serves one thread at a time: it draws with its own FreeType face.
class FontSource final : public hz::GlyphSource {
public:
    static constexpr int kMinSize = kMinFontSize;
    static constexpr int kMaxSize = kMaxFontSize;

    static constexpr int kMaxThreshold = kMaxFontThreshold;

    // Opens and fits the font. The problem is one of the Font kinds: a file that cannot be read or
    // is not a font, a face it does not have, a size outside 8..64 or without a strike in a bitmap
    // font, a threshold outside 0..254. Throws std::invalid_argument for a depth other than 1, 2, 4
    // or 8, or a threshold with more than one bit a dot: the front ends refuse those first.
    static hz::Result<std::unique_ptr<FontSource>> open(const FontSpec& fontSpec);

    ~FontSource() override;

    // Found: the glyph in a full-width or half-width cell (a mapped blank glyph, as a space, is a
    // blank cell). NotInFont: the font maps no glyph to the character. FontUnreadable: the font maps
    // one but it cannot be drawn.
    hz::LookupStatus glyph(char32_t character, hz::DotCell& cell) override;
    int height() const override { return fontSpec_.size; }
    // From the fitted rule's pen origin, within the cell.
    int baselineRows() const override;
    // The rows of a full-width cell above the baseline every glyph was placed on: the row of the
    // fitted rule's pen origin.
    int baseline() const;
    // "wqy-zenhei.ttc face 0, 20 dots", and ", proportional widths", ", ambiguous half width",
    // ", 4 bits a dot" when those are chosen
    std::string description() const override;
    std::string filePath() const override { return fontSpec_.file; }

    // Draws the glyphs of the characters given that are not drawn yet on every core, with a face
    // of its own for each, and keeps their cells (as far as glyph() keeps cells), so that the
    // lookups of a long text that follow take them ready. The cells are the ones glyph() draws; a
    // short list is left to glyph() alone.
    void prefetch(std::span<const char32_t> characters, int workers = 0);

    const FontSpec& fontSpec() const { return fontSpec_; }
    // The family and style the font names itself with, e.g. "WenQuanYi Zen Hei".
    std::string familyName() const;

    struct Drawer; // the face and the fitted rule
    // Only open() makes a drawer: a source is always a fitted, readable font.
    FontSource(FontSpec fontSpec, std::unique_ptr<Drawer> drawer);

private:
    // The one-bit rule the glyphs are drawn by: classic, or the rule default stands for on this face
    // and size, chosen once.
    RenderRule oneBitRule();

    FontSpec fontSpec_;
    std::unique_ptr<Drawer> drawer_;
};

} // namespace hz::fontsource
