#pragma once
// What hzdot-cli's exit status says.

namespace hz::cli {

enum ExitStatus : int {
    kAllFound = 0,
    kSomeRefused = 1, // the found characters were still written
    kFailed = 2,      // usage error, missing library, invalid UTF-8, unwritable output
};

} // namespace hz::cli
