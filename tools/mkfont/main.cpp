// hzdot-mkfont: builds a dot-matrix library file from an outline or bitmap font.

#include "tools/mkfont/library_builder.h"
#include "tools/mkfont/mkfont_error.h"
#include "tools/mkfont/options.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    constexpr int kBadInput = 2;
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const mkfont::Options options = mkfont::parseOptions(args);
        if (options.help) {
            std::cout << mkfont::usageText();
            return 0;
        }
        mkfont::buildLibrary(options, std::cout);
        return 0;
    } catch (const mkfont::MkfontError& error) {
        std::cerr << "hzdot-mkfont: " << error.what() << "\n";
        if (args.empty())
            std::cerr << mkfont::usageText();
        return kBadInput;
    } catch (const std::exception& error) {
        std::cerr << "hzdot-mkfont: " << error.what() << "\n";
        return kBadInput;
    }
}
