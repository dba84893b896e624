#pragma once
// Code page 936 (GB2312 at its core) through iconv.

#include "core/system/result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hz {

// The character's code in code page 936 as one 16-bit number (first byte high), or nothing when
// the character is a single-byte character or the code page cannot represent it.
std::optional<std::uint16_t> cp936Code(char32_t character);

// The character a double-byte code page 936 code stands for, or nothing when it stands for none.
std::optional<char32_t> cp936Character(std::uint16_t code);

// UTF-8 text to code page 936 bytes. NotInCodePage names the first character the code page has no
// code for, and where it is; NotUtf8 says where the text stops being UTF-8.
Result<std::string> utf8ToCp936(std::string_view utf8);
// The same appended to out, which keeps what was converted before a problem.
std::optional<Problem> appendCp936(std::string& out, std::string_view utf8);

// Code page 936 bytes to UTF-8; nothing when the bytes are not valid code page 936.
std::optional<std::string> cp936ToUtf8(std::string_view cp936);

} // namespace hz
