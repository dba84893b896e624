#pragma once
// The characters to look up, from TEXT or from a UTF-8 file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hz::cli {

struct TextPlace {
    std::size_t line;   // 1-based
    std::size_t column; // 1-based, in characters
};

struct InputText {
    std::u32string characters;
    // For text read from a file: the position of each line's first character (line breaks are not
    // characters). Empty for TEXT.
    std::vector<std::size_t> lineStarts;
    // For scanned sources: where each character was found ("src/main.c:12", or "TEXT").
    std::vector<std::string> origins;
    std::optional<std::string> error;

    // Where the character at position lies in its file; nothing for TEXT.
    std::optional<TextPlace> place(std::size_t position) const;
};

// TEXT as given on the command line: every character counts, line breaks too.
InputText textFromArgument(std::string_view text);

// TEXT for a picture, where a line break starts a new row: with a line break in it, split as a file
// is (lines noted, breaks taken out); otherwise as textFromArgument.
InputText textLinesFromArgument(std::string_view text);

// A UTF-8 file ("-": standard input). Line breaks (CR, LF) are skipped and a leading byte-order
// mark is dropped, so that a file saved by any editor gives just its characters.
InputText textFromFile(const std::string& path);

// Splits file bytes as textFromFile does; source names the file in messages.
InputText textFromFileBytes(std::string_view bytes, const std::string& source);

} // namespace hz::cli
