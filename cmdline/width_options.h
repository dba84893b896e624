#pragma once
// The values of --width and --ambiguous, read the same way by both programs.

#include "cmdline/command_line.h"
#include "fontsource/width_class.h"

namespace hz::cmdline {

// fixed or proportional; anything else is a UsageError naming the option.
hz::fontsource::GlyphWidths parseGlyphWidths(const Argument& argument);
// half or full; anything else is a UsageError naming the option.
hz::fontsource::AmbiguousWidth parseAmbiguousWidth(const Argument& argument);

} // namespace hz::cmdline
