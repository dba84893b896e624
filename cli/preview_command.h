#pragma once
// --preview WxH: the text drawn on a panel of that many dots, as a PNG picture in -o FILE.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runPreview(const CliOptions& options, GlyphPass& pass);

} // namespace hz::cli
