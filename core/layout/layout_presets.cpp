#include "core/layout/layout_presets.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace hz {

namespace {

constexpr Layout kPagesLsb{Scan::Pages, BitOrder::Lsb};
constexpr Layout kColumnsLsb{Scan::Columns, BitOrder::Lsb};
constexpr Layout kRowsMsb{Scan::Rows, BitOrder::Msb};
constexpr Layout kRowsLsb{Scan::Rows, BitOrder::Lsb};
constexpr Layout kRowsMsbInvert{Scan::Rows, BitOrder::Msb, false, false, true};

constexpr std::string_view kPageDrivers = "SSD1306/SH1106 page mode, ST7565/UC1701, KS0108, u8x8 tiles";
constexpr std::string_view kRowDrivers =
    "ST7920 graphic RAM, Adafruit GFX / TFT_eSPI / u8g2 drawBitmap, LVGL 1-bit images, HZK files";

constexpr std::array<LayoutPreset, 12> kPresets = {{
    {"ssd1306", kPagesLsb, kPageDrivers},
    {"sh1106", kPagesLsb, kPageDrivers},
    {"st7565", kPagesLsb, kPageDrivers},
    {"ks0108", kPagesLsb, kPageDrivers},
    {"ssd1306-vertical", kColumnsLsb, "SSD1306 vertical addressing"},
    {"st7920", kRowsMsb, kRowDrivers},
    {"adafruit-gfx", kRowsMsb, kRowDrivers},
    {"lvgl-1bit", kRowsMsb, kRowDrivers},
    {"hzk", kRowsMsb, kRowDrivers},
    {"xbm", kRowsLsb, "XBM, Adafruit drawXBitmap, u8g2 drawXBM"},
    {"epaper", kRowsMsbInvert, "SSD1680-class e-paper buffers (1 = white)"},
    {"max7219", kColumnsLsb, "MAX7219 modules addressed by column"},
}};

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

std::span<const LayoutPreset> layoutPresets() {
    return kPresets;
}

std::string presetNames(const Layout& layout) {
    std::string names;
    for (const auto& preset : kPresets)
        if (preset.layout == layout) {
            if (!names.empty())
                names += ',';
            names += preset.name;
        }
    return names;
}

std::string presetDrivers(const Layout& layout) {
    std::string drivers;
    for (const auto& preset : kPresets)
        if (preset.layout == layout && drivers.find(preset.drivers) == std::string::npos) {
            if (!drivers.empty())
                drivers += "; ";
            drivers += preset.drivers;
        }
    return drivers;
}

Layout arrangementLayout(Arrangement arrangement) {
    switch (arrangement) {
    case Arrangement::Rows:
        return {Scan::Rows, BitOrder::Msb};
    case Arrangement::ColsUp:
        return {Scan::Columns, BitOrder::Lsb};
    case Arrangement::ColsDown:
        return {Scan::Columns, BitOrder::Msb};
    case Arrangement::HalfUp:
        return {Scan::Pages, BitOrder::Lsb};
    case Arrangement::HalfDown:
        return {Scan::Pages, BitOrder::Msb};
    }
    return {};
}

std::optional<Arrangement> namedArrangement(const Layout& layout) {
    for (int a = 0; a < kArrangementCount; ++a)
        if (arrangementLayout(static_cast<Arrangement>(a)) == layout)
            return static_cast<Arrangement>(a);
    return std::nullopt;
}

std::optional<LayoutChoice> parseLayoutChoice(std::string_view text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '4')
        return LayoutChoice::of(static_cast<Arrangement>(text[0] - '0'));
    for (int a = 0; a < kArrangementCount; ++a) {
        const auto arrangement = static_cast<Arrangement>(a);
        if (text == arrangementName(arrangement) || text == arrangementChoice(arrangement))
            return LayoutChoice::of(arrangement);
    }
    const std::string word = lower(text);
    if (word == "all" || text == "全部")
        return LayoutChoice::all();
    for (const auto& preset : kPresets)
        if (word == preset.name)
            return LayoutChoice::of(preset.layout);
    if (auto layout = parseLayout(word))
        return LayoutChoice::of(*layout);
    return std::nullopt;
}

std::string layoutChoiceHelp() {
    std::string names;
    for (const auto& preset : kPresets) {
        if (!names.empty())
            names += ", ";
        names += preset.name;
    }
    return "0-4 or 横排, 下上列排, 上下列排, 下半列排, 上半列排; all (全部); a preset (" + names +
           "); or a layout SCAN-BIT[-up][-left][-invert] with SCAN rows, columns or pages and BIT msb or lsb";
}

std::string layoutListText() {
    std::string text;
    for (const auto& preset : kPresets) {
        text += preset.name;
        text += '\t';
        text += layoutName(preset.layout);
        text += '\t';
        text += preset.drivers;
        text += '\n';
    }
    return text;
}

} // namespace hz
