#include "cli/output_writer.h"

#include "cli/problem_text.h"
#include "core/system/same_file.h"
#include "core/text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace hz::cli {
namespace {

std::optional<std::string> encode(std::string_view utf8, OutputEncoding encoding, std::string& bytes) {
    if (encoding == OutputEncoding::Utf8) {
        bytes.assign(utf8);
        return std::nullopt;
    }
    auto converted = hz::utf8ToCp936(utf8);
    if (!converted)
        return problemText(converted.problem());
    bytes = std::move(*converted);
    return std::nullopt;
}

} // namespace

std::optional<std::string> encodeForStandardOutput(std::string_view utf8, OutputEncoding encoding, std::string& bytes) {
    if (auto error = encode(utf8, encoding, bytes))
        return "cannot write standard output: " + *error;
    return std::nullopt;
}

std::optional<std::string> writeToStandardOutput(std::string_view utf8, OutputEncoding encoding) {
    std::string bytes;
    if (auto error = encodeForStandardOutput(utf8, encoding, bytes))
        return error;
    errno = 0;
    std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        if (errno == EPIPE)
            throw StandardOutputClosed{};
        return std::string("cannot write standard output: ") + (errno ? std::strerror(errno) : "write failed");
    }
    return std::nullopt;
}

std::optional<std::string> checkOutputTarget(const CliOptions& options, const std::vector<FileRead>& reads) {
    if (!options.outputFile)
        return std::nullopt;
    const std::string& output = *options.outputFile;
    // One look at the output for all of them: a scan may have read thousands of files.
    std::vector<std::string> paths;
    paths.reserve(reads.size());
    for (const FileRead& read : reads)
        paths.push_back(read.path);
    const auto same = hz::sameFileAs(output, paths);
    if (!same)
        return std::nullopt;
    const FileRead& read =
        reads[static_cast<std::size_t>(std::find(paths.begin(), paths.end(), *same) - paths.begin())];
    return "refusing to write " + output + ": it is the " + read.what + " being read (" + read.path + ")";
}

} // namespace hz::cli
