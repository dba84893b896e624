#pragma once
// Where the finished text goes: standard output, or a file in code page 936.

#include "cli/cli_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hz::cli {

// Each returns nothing on success, or a message saying what could not be written and why.

// Thrown when standard output's reader has gone (EPIPE): the output ends there, without a message.
struct StandardOutputClosed {};

std::optional<std::string> writeToStandardOutput(std::string_view utf8, OutputEncoding encoding);
// The bytes writeToStandardOutput would write for utf8, into bytes.
std::optional<std::string> encodeForStandardOutput(std::string_view utf8, OutputEncoding encoding, std::string& bytes);


// A message when the output file named in options is a file being read (the library, the input
// text), whatever link leads there; nothing when it may be written.
struct FileRead {
    std::string path;
    std::string what; // "library file", "input file"...
};
std::optional<std::string> checkOutputTarget(const CliOptions& options, const std::vector<FileRead>& reads);

} // namespace hz::cli
