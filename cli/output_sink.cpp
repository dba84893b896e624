#include "cli/output_sink.h"

#include "cli/output_writer.h"

#include "core/codepage.h"
#include "core/safe_writer.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace hzcli {
namespace {

class StandardOutputSink : public OutputSink {
public:
    explicit StandardOutputSink(OutputEncoding encoding) : encoding(encoding) {}
    std::optional<std::string> writeText(std::string_view utf8) override {
        return writeToStandardOutput(utf8, encoding);
    }
    std::optional<std::string> writeBytes(std::string_view bytes) override {
        return writeToStandardOutput(bytes, OutputEncoding::Utf8);
    }
    std::optional<std::string> finish(bool) override { return std::nullopt; }

private:
    OutputEncoding encoding;
};

// FIXME: the file is gathered whole and written at the end; it should go to the temporary file as
// it comes.
class FileSink : public OutputSink {
public:
    explicit FileSink(std::string path) : path(std::move(path)) {}
    std::optional<std::string> writeText(std::string_view utf8) override {
        auto converted = hz::utf8ToCp936(utf8);
        if (!converted)
            return "cannot write " + path + ": " + unencodableMessage(utf8);
        bytes += *converted;
        return std::nullopt;
    }
    std::optional<std::string> writeBytes(std::string_view more) override {
        bytes += more;
        return std::nullopt;
    }
    std::optional<std::string> finish(bool keep) override {
        if (!keep)
            return std::nullopt;
        // A generated file that would not change keeps its time stamp, so a build does not redo
        // what depends on it.
        if (sameAsExisting()) {
            std::fprintf(stderr, "hzdot-cli: %s unchanged\n", path.c_str());
            return std::nullopt;
        }
        hz::WriteResult result = hz::writeFileSafely(path, bytes);
        if (!result)
            return "cannot write " + (result.error.empty() ? path : result.error);
        return std::nullopt;
    }

private:
    bool sameAsExisting() const {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            static_cast<std::uint64_t>(info.st_size) != bytes.size())
            return false;
        std::ifstream file(path, std::ios::binary);
        std::string old(bytes.size(), '\0');
        return file.read(old.data(), static_cast<std::streamsize>(old.size())) && old == bytes;
    }

    std::string path;
    std::string bytes;
};

} // namespace

std::unique_ptr<OutputSink> standardOutputSink(OutputEncoding encoding) {
    return std::make_unique<StandardOutputSink>(encoding);
}

std::unique_ptr<OutputSink> fileSink(const std::string& path) {
    return std::make_unique<FileSink>(path);
}

void ChunkedOutput::flush() {
    if (!failure && !pending.empty())
        failure = bytes ? sink.writeBytes(pending) : sink.writeText(pending);
    pending.clear();
}

} // namespace hzcli
