// hzdot-mkfont: builds a dot-matrix library file from an outline or bitmap font.

#include "tools/mkfont/library_builder.h"
#include "tools/mkfont/mkfont_error.h"
#include "tools/mkfont/options.h"

#include "cmdline/command_line.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    constexpr int kBadInput = 2;
    constexpr std::string_view kProgram = "hzdot-mkfont";
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        try {
            const hz::mkfont::Options options = hz::mkfont::parseOptions(args);
            if (options.help) {
                std::cout << hz::mkfont::usageText();
                return 0;
            }
            hz::mkfont::buildLibrary(options, std::cout);
            return 0;
        } catch (const hz::cmdline::UsageError& error) {
            // Called with nothing at all, the whole usage is the better answer.
            if (args.empty()) {
                hz::cmdline::printError(kProgram, error.message);
                std::cerr << hz::mkfont::usageText();
            } else {
                hz::cmdline::printUsageError(kProgram, error.message);
            }
            return kBadInput;
        } catch (const hz::mkfont::MkfontError& error) {
            hz::cmdline::printError(kProgram, error.what());
            return kBadInput;
        }
    } catch (const std::bad_alloc&) {
        // No allocation here: there may be no memory left for a message built at run time.
        std::fputs("hzdot-mkfont: out of memory; the library file was not written\n", stderr);
        return kBadInput;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hzdot-mkfont: internal error: %s\n", error.what());
        return kBadInput;
    }
}
