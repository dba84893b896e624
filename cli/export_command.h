#pragma once
// The export files: "export all" text, raw bytes (--format bin), the enlarged dots (--view) and the
// last record alone (--current), to standard output or -o FILE.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

namespace hz::cli {

// Returns the exit status.
int runExport(const CliOptions& options, GlyphPass& pass);

} // namespace hz::cli
