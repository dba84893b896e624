#pragma once
// Bits a dot: the value of --bpp and how it goes with the layout chosen, the same in both programs.

#include "cmdline/command_line.h"
#include "core/layout/layout_presets.h"

#include <optional>
#include <string_view>

namespace hz::cmdline {

// 1, 2, 4 or 8; anything else is a UsageError naming the option.
int parseBpp(const Argument& argument);

// The layout choice at the depth asked for. `named` is what chose it ("--layout rows-msb-4bpp",
// "-a 横排"; empty for the default), `bpp` the value of --bpp when given. A name that carries a
// depth ("4bpp", a preset's "1bit") must agree with --bpp; a name without one takes --bpp's depth.
// At more than one bit an arrangement becomes its layout (named so in the record headers), and a
// pages layout, a page arrangement or all five arrangements are refused: pages is a one-bit layout.
// Throws UsageError naming both sides of a disagreement.
hz::LayoutChoice choiceAtDepth(const hz::LayoutChoice& choice, std::string_view named, std::optional<int> bpp);

// Whether a layout choice's text names its depth: a word "1bpp".."8bpp" or "1bit".
bool namesDepth(std::string_view text);

} // namespace hz::cmdline
