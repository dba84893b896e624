#pragma once
// The one kind of failure the font source reports: a font that cannot be used, named and explained.

#include <stdexcept>
#include <string>

namespace hz::fontsource {

// Carries a complete message for the user, e.g. "fonts/x.ttf: no such file".
class FontError : public std::runtime_error {
public:
    explicit FontError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace hz::fontsource
