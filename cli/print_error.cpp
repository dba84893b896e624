#include "cli/print_error.h"

#include "cmdline/command_line.h"

namespace hz::cli {

namespace {
constexpr std::string_view kProgram = "hzdot-cli";
}

void printError(const std::string& message) {
    cmdline::printError(kProgram, message);
}

void printUsageError(const std::string& message) {
    cmdline::printUsageError(kProgram, message);
}

} // namespace hz::cli
