#pragma once
// --preview WxH: the text drawn on a panel of that many dots, as a PNG picture in -o FILE, each line
// of the input starting a new row.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runPreview(const CliOptions& options, GlyphPass& pass, const InputText& input);

} // namespace hz::cli
