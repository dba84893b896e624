// hzdot-cli's option parser on arbitrary command lines: the input is split at NUL bytes into
// arguments. It must answer with options or a usage error, never crash.

#include "cli/cli_options.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    const hz::cli::ParsedCommandLine parsed = hz::cli::parseCommandLine(args);
    if (parsed.error && parsed.error->empty())
        __builtin_trap();
    return 0;
}
