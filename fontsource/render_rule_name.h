#pragma once
// The one-bit rendering rules by name, as --render and the window's settings give them. No FreeType:
// the option parsers use it without the font source.

#include <optional>
#include <string_view>

namespace hz::fontsource {

enum class RenderRule {
    KeepStrokes, // "default": one of the three below, chosen for the face and size by chosenRule
    Classic,     // "classic": hinted monochrome as the font's hinting leaves it (the six libraries)
    Dropouts,    // "dropout": hinted monochrome with dropout control, strokes thinner than a dot kept
    Autohinted,  // "autohint": FreeType's autohinter instead of the font's instructions, monochrome
    GreyCut,     // "grey": hinted lightly, rendered in grey and cut at a third of coverage
};

// "default", "classic", "dropout", "autohint" or "grey".
std::string_view renderRuleName(RenderRule rule);
std::optional<RenderRule> parseRenderRule(std::string_view text);

} // namespace hz::fontsource
