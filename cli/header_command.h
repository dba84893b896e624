#pragma once
// --format header: a C header of the distinct characters found, with a lookup, into -o FILE.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runHeader(const CliOptions& options, GlyphPass& pass);

} // namespace hz::cli
