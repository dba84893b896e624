#include "fontsource/module_font.h"

#include "core/system/program_module.h"
#include "fontsource/font_module.h"

#include <variant>

namespace hz::fontsource {
namespace {

// The module's table, or why there is none (value: which module, where it was looked for and why
// it could not be used).
hz::Result<const FontModule*> fontModule(const std::string& file) {
    const auto entry = hz::loadModuleEntry(kFontModuleFile, kFontModuleEntry, HZDOT_VERSION);
    if (const auto* failure = std::get_if<hz::ModuleFailure>(&entry))
        return hz::Problem{.kind = hz::ProblemKind::FontModuleMissing,
                           .file = file,
                           .value =
                               failure->fileName + " (looked for at " + failure->lookedIn + "): " + failure->detail};
    return static_cast<const FontModule*>(std::get<const void*>(entry));
}

} // namespace

ModuleFont::ModuleFont(const FontModule& module, std::unique_ptr<hz::GlyphSource> font)
    : module_(&module), font_(std::move(font)) {}

hz::Result<std::unique_ptr<ModuleFont>> ModuleFont::open(const FontSpec& fontSpec) {
    const auto module = fontModule(fontSpec.file);
    if (!module)
        return module.problem();
    auto font = (*module)->open(fontSpec);
    if (!font)
        return font.problem();
    return std::make_unique<ModuleFont>(**module, std::move(*font));
}

int ModuleFont::baseline() const {
    return module_->baseline(*font_);
}

std::string ModuleFont::familyName() const {
    return module_->familyName(*font_);
}

void ModuleFont::prefetch(std::span<const char32_t> characters) {
    module_->prefetch(*font_, characters);
}

hz::Result<std::vector<hz::DotCell>> installedReferenceGlyphs(char32_t character, std::span<const hz::CellSize> cells) {
    const auto module = fontModule({});
    if (!module)
        return module.problem();
    return (*module)->referenceGlyphs(character, cells, (*module)->referenceFonts());
}

} // namespace hz::fontsource
