#pragma once
// A font the user chose for lookups: the file, face and size, and the name it goes by in the
// window. The last few choices are kept in the user's settings so the chooser can offer them first.

#include "fontsource/font_source.h"

#include <QString>
#include <vector>

class QSettings;

struct FontChoice {
    hz::fontsource::FontSpec spec;
    QString name; // "文泉驿正黑": the family's Chinese name when it has one

    // What Combo1's font item reads: "文泉驿正黑 20".
    QString label() const;

    bool operator==(const FontChoice&) const = default;
};

constexpr int kRecentFontCount = 5;

// The recent choices, latest first; entries whose file has gone are dropped.
std::vector<FontChoice> loadRecentFonts(QSettings& settings);
// Puts `chosen` first, without repeats, keeping kRecentFontCount.
void rememberFont(QSettings& settings, const FontChoice& chosen);
