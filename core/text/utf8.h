#pragma once
// UTF-8 decoding and encoding of single code points.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hz {

struct Utf8Error {
    std::size_t byteOffset; // where the first invalid sequence starts
};

// Decodes the whole text; on invalid UTF-8 (bad sequence, overlong form, surrogate, beyond U+10FFFF)
// returns the offset of the first bad byte instead.
struct DecodedText {
    std::u32string text;
    std::optional<Utf8Error> error;
};
DecodedText decodeUtf8(std::string_view bytes);

// Decodes the one code point starting at offset and moves offset past it; nothing (offset kept)
// when the bytes there are not valid UTF-8.
std::optional<char32_t> decodeUtf8At(std::string_view bytes, std::size_t& offset);

std::string encodeUtf8(char32_t codePoint);
void appendUtf8(std::string& out, char32_t codePoint);
std::string encodeUtf8(std::u32string_view text);

} // namespace hz
