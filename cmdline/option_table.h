#pragma once
// The options of hzdot-cli and hzdot-mkfont: names, whether they take a value, and the range of a
// number. The options both programs take are defined here once, so they take the same values.

#include <optional>
#include <string>
#include <string_view>

namespace hz::cmdline {

// A whole decimal number from low to high; `what` names it in a usage error ("a grey level").
struct NumberRange {
    int low;
    int high;
    std::string_view what;
};

struct Option {
    char shortName; // 0: long form only
    std::string_view longName;
    bool takesValue;
    std::optional<NumberRange> range; // set: the value is a number in this range
};

// The ranges below are the font source's (fontsource/), so both programs refuse what it would
// refuse or could not draw.
inline constexpr Option kFont{0, "font", true, std::nullopt};
// A font collection may hold up to 65536 faces.
inline constexpr Option kFace{0, "face", true, NumberRange{0, 65535, "a face number"}};
inline constexpr Option kSize{0, "size", true, NumberRange{8, 64, "a size in dots"}};
// A dot is kept when its coverage, scaled to 0-255, is above the threshold: 0 keeps any ink at all,
// 254 only fully covered dots, and 255 would keep none, so the range stops at 254.
inline constexpr Option kThreshold{0, "threshold", true, NumberRange{0, 254, "a grey level"}};
inline constexpr Option kLayout{0, "layout", true, std::nullopt};
// Bits a dot: 1, 2, 4 or 8 (cmdline/depth_options.h reads the value).
inline constexpr Option kBpp{0, "bpp", true, std::nullopt};
// A font's cell widths (fixed or proportional) and the width of its ambiguous characters (half or
// full); cmdline/width_options.h reads their values.
inline constexpr Option kWidth{0, "width", true, std::nullopt};
inline constexpr Option kAmbiguous{0, "ambiguous", true, std::nullopt};
// How one-bit glyphs are rendered from outlines (default or classic); cmdline/render_options.h
// reads the value.
inline constexpr Option kRender{0, "render", true, std::nullopt};
inline constexpr Option kVerbose{0, "verbose", false, std::nullopt};
inline constexpr Option kHelp{'h', "help", false, std::nullopt};

// An option's lines in a program's --help, with {low} and {high} replaced by its range.
std::string helpLines(const Option& option, std::string_view help);

// "8-64": a range as the help texts and usage errors give it.
std::string rangeText(const NumberRange& range);

} // namespace hz::cmdline
