#pragma once
// A font the user chose for lookups: the file, face and size, and the name it goes by in the
// window; or a library file of the user's own with what probing it found. The last few choices are
// kept in the user's settings so the chooser can offer them first.

#include "fontsource/font_source.h"
#include "gui/fontchooser/font_library_file.h"

#include <QString>
#include <vector>

class QSettings;

namespace hz::gui {

struct FontChoice {
    hz::fontsource::FontSpec fontSpec;
    QString name; // "文泉驿正黑": the family's Chinese name when it has one; a library's file name
    // Set for a library file: fontSpec.file is read with this geometry, fontSpec.size is its cell and
    // fontSpec.face is 0.
    std::optional<LibraryFileFindings> library = std::nullopt;

    // What Combo1's font item reads: "文泉驿正黑 20", "HZK24.bin 24"; "文泉驿正黑 20 比例宽度 符号半角"
    // with proportional widths and the ambiguous characters half width; " 4位灰度" after it for a
    // font drawn in grey levels, " 经典渲染" for one-bit glyphs drawn by the classic rule.
    QString label() const;

    bool operator==(const FontChoice&) const = default;
};

constexpr int kRecentFontCount = 5;

// The recent choices, latest first; entries whose file has gone are dropped.
std::vector<FontChoice> loadRecentFonts(QSettings& settings);
// Puts `chosen` first, without repeats (a library file is there once, whatever it was found to be),
// keeping kRecentFontCount.
void rememberFont(QSettings& settings, const FontChoice& chosen);

} // namespace hz::gui
