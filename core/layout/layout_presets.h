#pragma once
// Driver presets: names for the layouts that common display drivers and file formats expect, and the
// reading of a layout choice as the command line and the window accept it.

#include "core/layout/arrangements.h"
#include "core/layout/layout.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

struct LayoutPreset {
    std::string_view name;
    Layout layout;
    std::string_view drivers;
};

std::span<const LayoutPreset> layoutPresets();

// The preset names of a layout, joined by ","; empty when it has none.
std::string presetNames(const Layout& layout);
// The drivers of a layout's presets, joined by "; "; empty when it has none.
std::string presetDrivers(const Layout& layout);

// The layout each of the five arrangements is.
Layout arrangementLayout(Arrangement arrangement);
// The arrangement a layout is, if it is one of the five.
std::optional<Arrangement> namedArrangement(const Layout& layout);

// What a user chose: one of the five arrangements (written exactly as they always were), all five
// one after another, or a layout (written in the same shapes, its name in the record headers).
struct LayoutChoice {
    enum class Kind { Arrangement, All, Layout };
    Kind kind = Kind::Arrangement;
    hz::Arrangement arrangement = hz::Arrangement::Rows;
    hz::Layout layout;

    static LayoutChoice of(hz::Arrangement a) { return {Kind::Arrangement, a, arrangementLayout(a)}; }
    static LayoutChoice all() { return {Kind::All, hz::Arrangement::Rows, arrangementLayout(hz::Arrangement::Rows)}; }
    static LayoutChoice of(const hz::Layout& l) { return {Kind::Layout, hz::Arrangement::Rows, l}; }
    bool operator==(const LayoutChoice&) const = default;
};

// Reads "0".."4", a Chinese arrangement name ("横排", with or without its arrows), "all" or "全部",
// a preset name or a layout; case-insensitive. Nothing for anything else.
std::optional<LayoutChoice> parseLayoutChoice(std::string_view text);

// What parseLayoutChoice accepts, for messages.
std::string layoutChoiceHelp();

// The text --list-layouts prints: one line per preset, "NAME<TAB>LAYOUT<TAB>DRIVERS".
std::string layoutListText();

} // namespace hz
