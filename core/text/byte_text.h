#pragma once
// Bytes as text: byte texts ("3C", "0E0"), bit texts ("00111100"), assembly and C fields and texts.
//
// A byte text is two upper-case hex digits, with an extra "0" in front when the first digit is a
// letter, so that an assembler reads it as a number: 0x3C -> "3C", 0xE0 -> "0E0".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hz {

std::string DecToHex(int value);              // 0..255 -> byte text
std::string HexToBin(std::string_view hex);   // two hex digits -> eight "0"/"1"; unknown digits give nothing
std::string BinToHex(std::string_view bits);  // eight "0"/"1" -> byte text; unknown groups give nothing
std::string Add0X(std::string_view byteText); // byte text -> C field "0xAB"

std::string assemblyField(std::uint8_t value); // byte text right-aligned in four, then "h": " 0E0h"
std::string cField(std::uint8_t value);        // "0xE0"

// "DB " lines of eight fields joined by ",", each line ending in CR LF (the last one too).
std::string assemblyText(std::span<const std::uint8_t> bytes);
// "0x.." fields joined by ","; CR LF after every eighth comma; no comma or line break after the last.
std::string cText(std::span<const std::uint8_t> bytes);
// The same texts added to the end of text, for long exports built a record at a time.
void appendAssemblyText(std::string& text, std::span<const std::uint8_t> bytes);
void appendCText(std::string& text, std::span<const std::uint8_t> bytes);

} // namespace hz
