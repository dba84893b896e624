#include "cli/whole_output.h"

#include "cli/exit_status.h"
#include "cli/output_sink.h"
#include "cli/print_error.h"

namespace hz::cli {

int writeWholeOutput(const CliOptions& options, const GlyphPass& pass, const std::string& bytes) {
    const int found = pass.refusedCount() == 0 ? kAllFound : kSomeRefused;
    std::unique_ptr<OutputSink> sink = fileSink(*options.outputFile);
    auto error = sink->writeBytes(bytes);
    if (!error)
        error = sink->finish(true);
    if (error) {
        printError(*error);
        return kFailed;
    }
    return found;
}

} // namespace hz::cli
