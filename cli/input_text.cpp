#include "cli/input_text.h"

#include "core/system/regular_file.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace hz::cli {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::optional<std::string> readAll(std::FILE* file, std::string& bytes) {
    char buffer[1 << 16];
    for (;;) {
        std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, n);
        if (n < sizeof buffer) {
            if (std::ferror(file))
                return std::string(std::strerror(errno));
            return std::nullopt;
        }
    }
}

// A named input must be a file: a pipe or device could block or never end (standard input, "-", is
// the way to read from a pipe). Opened without blocking, so that a FIFO with no writer is refused
// rather than waited for.
std::optional<std::string> readRegularFile(const std::string& path, std::string& bytes) {
    auto opened = hz::openRegularFile(path);
    if (!opened) {
        const hz::Problem& problem = opened.problem();
        if (problem.kind == hz::ProblemKind::NotAFile && problem.systemError == 0)
            return std::string("not a regular file (a pipe or device); give - to read standard input");
        return std::string(std::strerror(problem.kind == hz::ProblemKind::NotAFile ? EISDIR : problem.systemError));
    }
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(opened->fd.get(), "rb"));
    if (!file)
        return std::string(std::strerror(errno));
    opened->fd.release(); // the stream owns it now
    return readAll(file.get(), bytes);
}

// Keeps the characters of text from start on, with the line breaks (CR LF, a lone CR or LF) taken out
// and where each line starts noted.
void splitLines(InputText& input, std::u32string&& text, std::size_t start) {
    // The characters are moved down over the line breaks in place, so a long text is held once.
    std::size_t kept = 0;
    input.lineStarts.assign(1, 0);
    for (std::size_t i = start; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (ch == U'\n' || ch == U'\r') {
            // CR LF is one break; a lone CR or LF is one too.
            if (!(ch == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n'))
                input.lineStarts.push_back(kept);
            continue;
        }
        text[kept++] = ch;
    }
    text.resize(kept);
    text.shrink_to_fit();
    input.characters = std::move(text);
}

} // namespace

std::optional<TextPlace> InputText::place(std::size_t position) const {
    if (lineStarts.empty())
        return std::nullopt;
    // The last line that starts at or before the position (empty lines share a start).
    auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), position);
    const auto line = static_cast<std::size_t>(after - lineStarts.begin());
    return TextPlace{line, position - *(after - 1) + 1};
}

InputText textFromArgument(std::string_view text) {
    InputText input;
    auto decoded = hz::decodeUtf8(text);
    if (decoded.error) {
        input.error = "TEXT is not valid UTF-8 (bad byte at offset " + std::to_string(decoded.error->byteOffset) + ")";
        return input;
    }
    input.characters = std::move(decoded.text);
    return input;
}

InputText textFromFileBytes(std::string_view bytes, const std::string& source) {
    InputText input;
    auto decoded = hz::decodeUtf8(bytes);
    if (decoded.error) {
        input.error =
            source + " is not valid UTF-8 (bad byte at offset " + std::to_string(decoded.error->byteOffset) + ")";
        return input;
    }
    std::u32string& text = decoded.text;
    const std::size_t start = (!text.empty() && text.front() == U'\uFEFF') ? 1 : 0;
    splitLines(input, std::move(text), start);
    return input;
}

InputText textLinesFromArgument(std::string_view text) {
    InputText input = textFromArgument(text);
    if (!input.error && input.characters.find_first_of(U"\r\n") != std::u32string::npos) {
        std::u32string characters = std::move(input.characters);
        splitLines(input, std::move(characters), 0);
    }
    return input;
}

InputText textFromFile(const std::string& path) {
    std::string bytes;
    std::optional<std::string> failure;
    std::string source;
    if (path == "-") {
        source = "standard input";
        failure = readAll(stdin, bytes);
    } else {
        source = path;
        failure = readRegularFile(path, bytes);
    }
    if (failure) {
        InputText input;
        input.error = "cannot read " + source + ": " + *failure;
        return input;
    }
    return textFromFileBytes(bytes, source);
}

} // namespace hz::cli
