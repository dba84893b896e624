#pragma once
// --detect: which layout a glyph's bytes pasted from the user's firmware are in.

#include "cli/cli_options.h"
#include "cli/input_text.h"

#include "core/glyph/glyph_source.h"

namespace hz::cli {

// Prints up to five "LAYOUT<TAB>SCORE<TAB>PRESETS" lines, best first, for the input's one
// character; returns the exit status.
int runDetect(const CliOptions& options, hz::GlyphSource& source, const InputText& input);

} // namespace hz::cli
