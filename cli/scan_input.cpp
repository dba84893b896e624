#include "cli/scan_input.h"

#include "cli/print_error.h"
#include "cli/problem_text.h"

#include "core/scan/source_scan.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>

namespace hz::cli {

ScannedText textFromScan(const CliOptions& options) {
    ScannedText scanned;
    InputText& input = scanned.input;
    std::vector<std::filesystem::path> paths(options.scanPaths.begin(), options.scanPaths.end());
    const auto scan = hz::scanSources(paths, options.scanAscii);
    if (!scan) {
        input.error = problemText(scan.problem());
        return scanned;
    }
    for (const auto& literal : scan->literals)
        printError(problemText(literal));
    scanned.literalsRefused = scan->unreadableLiterals != 0;
    for (const auto& file : scan->files) {
        scanned.files.push_back(file.path.string());
        if (!options.verbose)
            continue;
        if (file.cp936Literals == 0)
            std::fprintf(stderr, "hzdot-cli: %s: UTF-8, %zu characters\n", file.path.c_str(), file.characters);
        else
            std::fprintf(stderr, "hzdot-cli: %s: UTF-8 and code page 936 (%zu literals), %zu characters\n",
                         file.path.c_str(), file.cp936Literals, file.characters);
    }

    std::u32string characters = scan->characters;
    std::vector<std::string> origins;
    for (const hz::ScanPlace& place : scan->places)
        origins.push_back(scan->files[place.file].path.string() + ":" + std::to_string(place.line));
    if (options.text) {
        InputText given = textFromArgument(*options.text);
        if (given.error) {
            scanned.input = std::move(given);
            return scanned;
        }
        // Merged in key order; a character found in a source keeps that place.
        std::vector<std::size_t> order(characters.size() + given.characters.size());
        std::iota(order.begin(), order.end(), 0);
        std::u32string all = characters + given.characters;
        origins.resize(all.size(), "TEXT");
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return all[a] < all[b]; });
        characters.clear();
        std::vector<std::string> merged;
        for (std::size_t i : order) {
            if (!characters.empty() && characters.back() == all[i])
                continue;
            characters.push_back(all[i]);
            merged.push_back(std::move(origins[i]));
        }
        origins = std::move(merged);
    }
    input.characters = std::move(characters);
    input.origins = std::move(origins);
    return scanned;
}

} // namespace hz::cli
