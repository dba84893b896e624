#pragma once
// --probe: what was found about --library FILE, one "key value" a line on standard output.

#include "cli/cli_options.h"

#include <string>

namespace hz::cli {

// Returns the exit status.
int runProbe(const CliOptions& options, const std::string& programDir);

} // namespace hz::cli
