#pragma once
// hzdot-cli from its arguments to its exit status.

#include <string>
#include <vector>

namespace hz::cli {

enum ExitStatus : int {
    kAllFound = 0,
    kSomeRefused = 1, // the found characters were still written
    kFailed = 2,      // usage error, missing library, invalid UTF-8, unwritable output
};

// args are the arguments after the program name; programDir is the default fonts folder.
int runCli(const std::vector<std::string>& args, const std::string& programDir);

} // namespace hz::cli
