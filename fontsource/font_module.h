#pragma once
// The font module (hzdot-fonts.so): the font source and FreeType and fontconfig behind one table of
// plain functions. The window, hzdot-mkfont and the tests link the font source in; hzdot-cli loads
// the module the first time it draws from a font, so that a run on the six libraries starts without
// those libraries. A source the module opens is used and destroyed through GlyphSource's virtual
// functions; the module stays loaded for the rest of the process.

#include "core/glyph/dot_cell.h"
#include "core/glyph/glyph_source.h"
#include "core/layout/layout_detect.h"
#include "core/system/result.h"
#include "fontsource/font_choice.h"
#include "fontsource/reference_fonts.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace hz::fontsource {

// The module's table, returned by its entry function hzdot_font_module. The functions that take a
// source take one open gave, and nothing else.
struct FontModule {
    const char* version; // HzDot's version the module was built with
    hz::Result<std::unique_ptr<hz::GlyphSource>> (*open)(const FontSpec& fontSpec); // FontSource::open
    int (*baseline)(const hz::GlyphSource& font);                                   // FontSource::baseline
    std::string (*familyName)(const hz::GlyphSource& font);                         // FontSource::familyName
    void (*prefetch)(hz::GlyphSource& font, std::span<const char32_t> characters);  // FontSource::prefetch
    const std::vector<ReferenceFont>& (*referenceFonts)();
    std::vector<hz::DotCell> (*referenceGlyphs)(char32_t character, std::span<const hz::CellSize> cells,
                                                std::span<const ReferenceFont> fonts);
};

inline constexpr const char* kFontModuleFile = "hzdot-fonts.so";
inline constexpr const char* kFontModuleEntry = "hzdot_font_module";

} // namespace hz::fontsource
