#include "cli/probe_command.h"

#include "cli/exit_status.h"
#include "cli/output_writer.h"
#include "cli/print_error.h"
#include "cli/source_choice.h"

namespace hz::cli {

int runProbe(const CliOptions& options, const std::string& programDir) {
    const LibraryProbe probe = probeUserLibrary(options, programDir);
    if (probe.error) {
        printError(*probe.error);
        return kFailed;
    }
    return writeToStandardOutput(hz::probeReport(probe.result), OutputEncoding::Utf8) ? kFailed : kAllFound;
}

} // namespace hz::cli
