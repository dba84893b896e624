#pragma once
// --format u8g2 and --format bdf: the distinct characters found, as a font a graphics library
// loads, into -o FILE.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runFontFile(const CliOptions& options, GlyphPass& pass);

} // namespace hz::cli
