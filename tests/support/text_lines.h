#pragma once
// A text's lines as the programs write them, each ended by CR LF.

#include <string>
#include <vector>

namespace hz::test {

// The lines without their CR LF. Text after the last CR LF comes as one more line, marked
// "<no line end>", so that a comparison shows it.
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start != text.size())
        lines.push_back(text.substr(start) + "<no line end>");
    return lines;
}

} // namespace hz::test
