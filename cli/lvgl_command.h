#pragma once
// --format lvgl and --format lvgl-bin: an LVGL font of the distinct characters found, into -o FILE.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runLvgl(const CliOptions& options, GlyphPass& pass);

} // namespace hz::cli
