#pragma once
// The glyph source the options name: one of the six libraries, a font, or a library file.

#include "cli/cli_options.h"

#include "core/glyph_source.h"

#include <memory>
#include <string>

namespace hzcli {

// Nothing, with error set, when the source cannot be read.
std::shared_ptr<hz::GlyphSource> openSource(const CliOptions& options, const std::string& programDir,
                                            std::string& error);

} // namespace hzcli
