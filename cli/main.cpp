#include "cli/cli_run.h"
#include "cli/output_writer.h"
#include "cli/program_folder.h"
#include "core/system/install_paths.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A reader that goes away (| head) shows as EPIPE on the next write instead of killing us.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        return hz::cli::runCli(args, hz::libraryFolder(hz::cli::programFolder(argc > 0 ? argv[0] : nullptr)));
    } catch (const hz::cli::StandardOutputClosed&) {
        // The reader has all it wanted; nothing to say about it.
        return hz::cli::kFailed;
    } catch (const std::bad_alloc&) {
        // No allocation here: there may be no memory left for a message built at run time.
        std::fputs("hzdot-cli: out of memory; no output file was changed\n", stderr);
        return hz::cli::kFailed;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hzdot-cli: internal error: %s\n", error.what());
        return hz::cli::kFailed;
    }
}
