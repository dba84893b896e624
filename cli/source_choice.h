#pragma once
// The glyph source the options name: one of the six libraries, a font, or a library file.

#include "cli/cli_options.h"

#include "core/glyph/glyph_source.h"
#include "core/library/library_probe.h"

#include <memory>
#include <optional>
#include <string>

namespace hz::cli {

// Nothing, with error set, when the source cannot be read.
std::shared_ptr<hz::GlyphSource> openSource(const CliOptions& options, const std::string& programDir,
                                            std::string& error);

// What --library FILE is: the geometry given by hand, or found by comparing the file's glyphs with
// our own libraries'.
struct LibraryProbe {
    hz::ProbeResult result;
    std::optional<std::string> error; // set when the file cannot be read as a library
};
LibraryProbe probeUserLibrary(const CliOptions& options, const std::string& programDir);

} // namespace hz::cli
