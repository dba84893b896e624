#pragma once
// The font builder's failures past its command line: a font, an output path or a table that cannot
// be used, named and explained. Font and write problems carry the words hzdot-cli gives them
// (cmdline/problem_text.h); a bad command line is a hz::cmdline::UsageError instead.

#include <stdexcept>
#include <string>

namespace hz::mkfont {

// Carries a complete message for the user, e.g. "fonts/x.ttf: no such file".
class MkfontError : public std::runtime_error {
public:
    explicit MkfontError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace hz::mkfont
