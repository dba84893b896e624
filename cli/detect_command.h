#pragma once
// --detect: which layout a glyph's bytes pasted from the user's firmware are in.

#include "cli/cli_options.h"

#include "core/glyph/glyph_source.h"

namespace hz::cli {

// Prints up to five "LAYOUT<TAB>SCORE<TAB>PRESETS" lines, best first; returns the exit status.
int runDetect(const CliOptions& options, hz::GlyphSource& source, char32_t character);

} // namespace hz::cli
