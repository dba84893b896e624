#include "cli/cli_run.h"
#include "cli/program_folder.h"
#include "core/install_paths.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return hzcli::runCli(args, hz::libraryFolder(hzcli::programFolder(argc > 0 ? argv[0] : nullptr)));
}
