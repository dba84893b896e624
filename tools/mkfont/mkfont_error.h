#pragma once
// The one kind of failure the font builder reports: bad input, named and explained.

#include <stdexcept>
#include <string>

namespace mkfont {

// Carries a complete message for the user, e.g. "fonts/x.ttf: no such file".
class MkfontError : public std::runtime_error {
public:
    explicit MkfontError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace mkfont
