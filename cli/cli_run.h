#pragma once
// hzdot-cli from its arguments to its exit status: which command the options ask for.

#include "cli/exit_status.h"

#include <string>
#include <vector>

namespace hz::cli {

// args are the arguments after the program name; programDir is the default fonts folder.
int runCli(const std::vector<std::string>& args, const std::string& programDir);

} // namespace hz::cli
