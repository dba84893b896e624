#pragma once
// hzdot-cli's messages on standard error, each on a line of its own after the program's name.

#include <string>

namespace hz::cli {

void printError(const std::string& message);
// A bad command line: the message, then where to read more.
void printUsageError(const std::string& message);

} // namespace hz::cli
