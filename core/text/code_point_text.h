#pragma once
// How messages and comments name a character by its code.

#include <string>

namespace hz {

// "U+6837": at least four hex digits, upper case.
std::string codePointText(char32_t character);

} // namespace hz
