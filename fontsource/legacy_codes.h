#pragma once
// The two older double-byte code sets fonts are indexed by besides code page 936.

#include <cstdint>
#include <optional>

namespace hz::fontsource {

// The character's Big5 code, for fonts indexed by Big5 (first byte high); nothing when Big5 has
// no code for it.
std::optional<std::uint16_t> big5Code(char32_t character);

// Whether GB2312 itself assigns the code. Code page 936 also fills a few cells that GB2312 leaves
// empty (small roman numerals, vertical punctuation, some pinyin letters).
bool gb2312Assigns(std::uint16_t code);

} // namespace hz::fontsource
