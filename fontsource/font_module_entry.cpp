// The font module's one exported symbol.
#include "fontsource/font_module.h"

#include "fontsource/font_source.h"

namespace hz::fontsource {
namespace {

hz::Result<std::unique_ptr<hz::GlyphSource>> openFont(const FontSpec& fontSpec) {
    auto font = FontSource::open(fontSpec);
    if (!font)
        return font.problem();
    return std::unique_ptr<hz::GlyphSource>(std::move(*font));
}

// The sources handed to these are the module's own, made by openFont.
int baselineOf(const hz::GlyphSource& font) {
    return static_cast<const FontSource&>(font).baseline();
}

std::string familyNameOf(const hz::GlyphSource& font) {
    return static_cast<const FontSource&>(font).familyName();
}

void prefetchInto(hz::GlyphSource& font, std::span<const char32_t> characters) {
    static_cast<FontSource&>(font).prefetch(characters);
}

const FontModule kModule{HZDOT_VERSION, &openFont,       &baselineOf,     &familyNameOf,
                         &prefetchInto, &referenceFonts, &referenceGlyphs};

} // namespace
} // namespace hz::fontsource

extern "C" __attribute__((visibility("default"))) const void* hzdot_font_module() {
    return &hz::fontsource::kModule;
}
