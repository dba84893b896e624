#pragma once
// The command line of hzdot-mkfont.

#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
#include "fontsource/render_rule.h"
#include "fontsource/width_class.h"

#include <optional>
#include <string>
#include <vector>

namespace hz::mkfont {

// Which codes the file holds, in file order.
enum class Charset {
    Gb2312, // A1A1..F7FE, 94 a row: the six libraries' order
    Gbk,    // 8140..FEFE, trail bytes 40..7E and 80..FE, 190 a row
    Ascii,  // 20..7E in half-width cells
};

// What is written: a library of fixed records (the default), or a font a graphics library loads.
enum class OutputFormat { Hzk, Lvgl, LvglBin, U8g2, Bdf };

struct Options {
    std::string fontPath;
    int faceIndex = 0;
    int size = 0; // dots per cell side, 8..64; 0 until given
    Charset charset = Charset::Gb2312;
    hz::Layout layout;                            // rows-msb: the six libraries' layout; its bpp is the depth written
    std::optional<hz::LayoutChoice> layoutChoice; // --layout as given
    std::string layoutNamed;                      // "--layout 4": what chose the layout; empty for the default
    std::optional<int> bpp;                       // --bpp as given
    bool traditional = false;
    hz::fontsource::GlyphWidths widths = hz::fontsource::GlyphWidths::Fixed;
    hz::fontsource::AmbiguousWidth ambiguous = hz::fontsource::AmbiguousWidth::Full;
    hz::fontsource::RenderRule render = hz::fontsource::RenderRule::KeepStrokes; // --render
    std::string outputPath;
    OutputFormat format = OutputFormat::Hzk;
    std::optional<std::string> name; // --name: the LVGL font's C name
    std::optional<int> threshold; // set: render grey and keep dots covered more than this (0..254)
    bool verbose = false;
    bool help = false;
};

// Throws hz::cmdline::UsageError naming the offending argument.
Options parseOptions(const std::vector<std::string>& args);

std::string usageText();

} // namespace hz::mkfont
