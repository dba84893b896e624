#pragma once
// Where hzdot-cli's output goes, a chunk at a time: standard output (UTF-8 or code page 936) or a
// file (code page 936 for text, raw for bytes), written all or nothing.

#include "cli/cli_options.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hz::cli {

class OutputSink {
public:
    virtual ~OutputSink() = default;
    // Text in UTF-8, converted as the destination needs. Returns a message on failure.
    virtual std::optional<std::string> writeText(std::string_view utf8) = 0;
    // Bytes written as they are.
    virtual std::optional<std::string> writeBytes(std::string_view bytes) = 0;
    // The bytes writeText writes for utf8, into bytes, so that text made once can be written often.
    virtual std::optional<std::string> encode(std::string_view utf8, std::string& bytes) const = 0;
    // Ends the output: keep writes it (a file replaces the old one only now); otherwise nothing
    // written so far is kept where that can be helped.
    virtual std::optional<std::string> finish(bool keep) = 0;
};

std::unique_ptr<OutputSink> standardOutputSink(OutputEncoding encoding);
std::unique_ptr<OutputSink> fileSink(const std::string& path);

// Collects output and hands it to a sink in chunks of about a megabyte, whole records at a time.
class ChunkedOutput {
public:
    // The buffer is taken whole at once rather than grown, which would copy it over and over.
    explicit ChunkedOutput(OutputSink& sink, bool bytes = false) : sink(sink), bytes(bytes) {
        pending.reserve(kChunk + kChunk / 8);
    }

    std::string& buffer() { return pending; }
    // Passes the buffer on once it is big enough; the first failure is kept and stops the rest.
    void maybeFlush() {
        if (pending.size() >= kChunk)
            flush();
    }
    void flush();
    // Stops the output with a failure of the caller's; the first failure is the one kept.
    void fail(std::string message) {
        if (!failure)
            failure = std::move(message);
    }
    const std::optional<std::string>& error() const { return failure; }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    OutputSink& sink;
    bool bytes;
    std::string pending;
    std::optional<std::string> failure;
};

} // namespace hz::cli
