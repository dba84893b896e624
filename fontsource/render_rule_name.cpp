#include "fontsource/render_rule_name.h"

#include <array>
#include <utility>

namespace hz::fontsource {

namespace {

constexpr std::array<std::pair<RenderRule, std::string_view>, 5> kNames{{
    {RenderRule::KeepStrokes, "default"},
    {RenderRule::Classic, "classic"},
    {RenderRule::Dropouts, "dropout"},
    {RenderRule::Autohinted, "autohint"},
    {RenderRule::GreyCut, "grey"},
}};

} // namespace

std::string_view renderRuleName(RenderRule rule) {
    for (const auto& [named, name] : kNames) {
        if (named == rule)
            return name;
    }
    return "default";
}

std::optional<RenderRule> parseRenderRule(std::string_view text) {
    for (const auto& [rule, name] : kNames) {
        if (name == text)
            return rule;
    }
    return std::nullopt;
}

} // namespace hz::fontsource
