#pragma once
// --scan: the characters of a firmware's string literals, with TEXT added, once each in key order.

#include "cli/cli_options.h"
#include "cli/input_text.h"

#include <string>
#include <vector>

namespace hz::cli {

struct ScannedText {
    InputText input;                // with the place each character was found
    std::vector<std::string> files; // every file read, which the output must not replace
    bool literalsRefused = false;   // a literal of no known encoding was left out (each named)
};

// Says on standard error which literals were read as code page 936 or not at all.
ScannedText textFromScan(const CliOptions& options);

} // namespace hz::cli
