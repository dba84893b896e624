#pragma once
// The command line of hzdot-mkfont.

#include <optional>
#include <string>
#include <vector>

namespace mkfont {

struct Options {
    std::string fontPath;
    int faceIndex = 0;
    int size = 0; // dots per cell side: 12, 16 or 24
    bool traditional = false;
    std::string outputPath;
    std::optional<int> threshold; // set: render grey and keep dots covered more than this (0..255)
    bool verbose = false;
    bool help = false;
};

// Throws MkfontError naming the offending argument.
Options parseOptions(const std::vector<std::string>& args);

const char* usageText();

} // namespace mkfont
