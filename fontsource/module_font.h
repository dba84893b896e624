#pragma once
// Fonts for a program that keeps FreeType and fontconfig out of its start-up: the font module
// (font_module.h) is loaded the first time a font is opened or the installed fonts are asked for.
// Without the module, or with one of another version, the problem is FontModuleMissing.

#include "core/glyph/dot_cell.h"
#include "core/glyph/glyph_source.h"
#include "core/layout/layout_detect.h"
#include "core/system/result.h"
#include "fontsource/font_choice.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace hz::fontsource {

struct FontModule;

// A FontSource opened by the font module, with the same lookups and the same cells.
class ModuleFont final : public hz::GlyphSource {
public:
    // FontSource::open's problems, or FontModuleMissing (file: fontSpec.file).
    static hz::Result<std::unique_ptr<ModuleFont>> open(const FontSpec& fontSpec);

    hz::LookupStatus glyph(char32_t character, hz::DotCell& cell) override { return font_->glyph(character, cell); }
    std::string sizeText(const hz::DotCell& cell) const override { return font_->sizeText(cell); }
    int height() const override { return font_->height(); }
    int baselineRows() const override { return font_->baselineRows(); }
    std::string description() const override { return font_->description(); }
    std::string filePath() const override { return font_->filePath(); }
    int libraryPosition() const override { return font_->libraryPosition(); }

    // As FontSource's.
    int baseline() const;
    std::string familyName() const;
    void prefetch(std::span<const char32_t> characters);

    ModuleFont(const FontModule& module, std::unique_ptr<hz::GlyphSource> font);

private:
    const FontModule* module_;
    std::unique_ptr<hz::GlyphSource> font_;
};

// referenceGlyphs(character, cells, referenceFonts()) drawn by the font module, or FontModuleMissing.
hz::Result<std::vector<hz::DotCell>> installedReferenceGlyphs(char32_t character, std::span<const hz::CellSize> cells);

} // namespace hz::fontsource
