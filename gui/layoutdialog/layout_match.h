#pragma once
// The layout dialog's "匹配我的驱动": which layouts turn a user's pasted glyph bytes into the glyph
// of the character they say it draws. Reading the paste and scoring the layouts is the core's work;
// this gathers what the page shows.

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"

#include <QString>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz::gui {

struct LayoutMatch {
    hz::Layout layout;
    hz::DotCell decoded; // the pasted bytes read in this layout
    double score = 0;    // 0..1
    std::string presets; // "ssd1306,sh1106,…", empty when none
    std::string drivers;
};

struct LayoutMatches {
    std::vector<LayoutMatch> best; // best first, each layout once
    QString error;                 // why there are none
    QString note;                  // said beside them: a skipped header, a mirror it cannot tell
};

// The `count` best layouts of the pasted text against the character's glyph as drawn by one or more
// faces (the chosen one first) and by the installed Chinese fonts at the sizes the bytes may fill.
LayoutMatches matchPastedBytes(std::string_view paste, std::span<const hz::DotCell> faces, char32_t character,
                               std::size_t count);

} // namespace hz::gui
