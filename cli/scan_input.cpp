#include "cli/scan_input.h"

#include "cli/print_error.h"

#include "core/scan/source_scan.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace hz::cli {

InputText textFromScan(const CliOptions& options) {
    InputText input;
    std::vector<std::filesystem::path> paths(options.scanPaths.begin(), options.scanPaths.end());
    const hz::ScanResult scan = hz::scanSources(paths, options.scanAscii);
    if (!scan.ok()) {
        input.error = scan.error;
        return input;
    }
    for (const auto& file : scan.files) {
        if (!file.problem.empty())
            printError(file.path.string() + ": " + file.problem);
        else if (options.verbose)
            std::fprintf(stderr, "hzdot-cli: %s: %s, %zu characters\n", file.path.c_str(),
                         hz::encodingName(file.encoding), file.characters);
    }
    std::u32string characters = scan.characters;
    if (options.text) {
        InputText given = textFromArgument(*options.text);
        if (given.error)
            return given;
        characters += given.characters;
        std::sort(characters.begin(), characters.end());
        characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    }
    input.characters = std::move(characters);
    return input;
}

} // namespace hz::cli
