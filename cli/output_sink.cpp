#include "cli/output_sink.h"

#include "cli/output_writer.h"
#include "cli/problem_text.h"

#include "core/system/safe_writer.h"
#include "core/text/codepage.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

namespace hz::cli {
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
    std::optional<std::string> encode(std::string_view utf8, std::string& bytes) const override {
        return encodeForStandardOutput(utf8, encoding, bytes);
    }
    std::optional<std::string> finish(bool) override { return std::nullopt; }

private:
    OutputEncoding encoding;
};

// The file is written to the safe writer's temporary file as it comes and put in place at the end.
// An existing file with exactly these bytes is left as it was, time stamp and all, so a build does
// not redo what depends on it.
class FileSink : public OutputSink {
public:
    explicit FileSink(std::string path) : path(std::move(path)) {}
    std::optional<std::string> writeText(std::string_view utf8) override {
        std::string bytes;
        if (auto error = encode(utf8, bytes))
            return error;
        return writeBytes(bytes);
    }
    std::optional<std::string> encode(std::string_view utf8, std::string& bytes) const override {
        bytes.clear();
        if (auto problem = hz::appendCp936(bytes, utf8))
            return "cannot write " + path + ": " + problemText(*problem);
        return std::nullopt;
    }
    std::optional<std::string> writeBytes(std::string_view bytes) override {
        if (!opened) {
            opened = true;
            if (auto result = writer.open(path); !result)
                return "cannot write " + problemText(result.problem());
            struct stat info {};
            if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                existing.open(path, std::ios::binary);
            same = existing.is_open();
        }
        if (same) {
            compared.resize(bytes.size());
            same = existing.read(compared.data(), static_cast<std::streamsize>(compared.size())) &&
                   std::string_view(compared) == bytes;
        }
        if (auto result = writer.write(bytes); !result)
            return "cannot write " + problemText(result.problem());
        return std::nullopt;
    }
    std::optional<std::string> finish(bool keep) override {
        if (!keep)
            return std::nullopt; // the writer, never committed, leaves nothing behind
        if (!opened)
            if (auto error = writeBytes({}))
                return error;
        if (same && existing.peek() == std::char_traits<char>::eof()) {
            std::fprintf(stderr, "hzdot-cli: %s unchanged\n", path.c_str());
            return std::nullopt;
        }
        if (auto result = writer.commit(); !result)
            return "cannot write " + problemText(result.problem());
        return std::nullopt;
    }

private:
    std::string path;
    hz::SafeFileWriter writer;
    bool opened = false;
    std::ifstream existing;
    bool same = false;
    std::string compared;
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

} // namespace hz::cli
