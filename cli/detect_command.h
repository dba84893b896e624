#pragma once
// --detect: which layout a glyph's bytes pasted from the user's firmware are in.

#include "cli/cli_options.h"
#include "cli/input_text.h"

#include "core/glyph/glyph_source.h"

#include <string>

namespace hz::cli {

// Prints up to five "LAYOUT<TAB>SCORE<TAB>PRESETS" lines, best first, for the input's one
// character, compared as the source and the six libraries in the fonts folder (or programDir) draw
// it; returns the exit status: 1 when the best layout is not clearly ahead or like the character.
int runDetect(const CliOptions& options, hz::GlyphSource& source, const InputText& input,
              const std::string& programDir);

} // namespace hz::cli
