#pragma once
// A header or a picture, written whole to -o FILE through the same file sink as the tables.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

#include <string>

namespace hz::cli {

// The exit status: the pass's when the file was written, kFailed (with a message) when not.
int writeWholeOutput(const CliOptions& options, const GlyphPass& pass, const std::string& bytes);

} // namespace hz::cli
