#pragma once
// The command line of hzdot-cli, parsed into settings.

#include "core/arrangements.h"
#include "core/dot_matrix_text.h"

#include <optional>
#include <string>
#include <vector>

namespace hzcli {

enum class OutputEncoding { Utf8, Cp936 };

struct CliOptions {
    std::optional<std::string> fontsDir; // nothing: the executable's folder
    int library = 1;
    hz::Arrangement arrangement = hz::Arrangement::Rows;
    int spaceX = 2;
    int spaceY = 2;
    std::optional<std::string> text;      // TEXT as given
    std::optional<std::string> inputFile; // "-" is standard input
    std::optional<std::string> outputFile;
    bool current = false;
    bool view = false;
    hz::Marks marks;
    OutputEncoding encoding = OutputEncoding::Utf8;
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    CliOptions options;
    std::optional<std::string> error; // a usage error, naming the option
};

// Accepts "-l 3", "-l3", "--library 3" and "--library=3"; "--" ends the options.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace hzcli
