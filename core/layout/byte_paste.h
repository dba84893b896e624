#pragma once
// Reading one glyph's bytes as a user pastes them from their firmware's sources.
//
// The text is cut into words (runs of letters, digits and '_'); everything else separates them,
// including full-width commas and other non-ASCII text. Skipped entirely: // and ; comments to the
// end of the line, /* */ comments, "..." and '...' literals, and lines starting with '#'.
//
// The paste is read in one of three ways, chosen from the whole text:
//
//   C        the text holds a '{'. Only words inside braces count, so `font[32]` in a
//            declaration is no byte.
//   assembly no braces, but a marked number somewhere: 0x1F, 1FH, $1F, 0b00011111 or 00011111B
//            (the binary forms with all eight digits).
//   bare hex neither: a hex dump. Every word made only of hex digits is a run of hex pairs
//            ("1F 2A", "1F2A..."); an odd number of digits is an error. DB or DW as the first
//            word of a line is the directive; anywhere else DB is the byte 0xDB.
//
// In C and assembly the numbers are (case-insensitive; a C suffix u or l after 0x or decimal is
// allowed):
//   0x1F            hex
//   1FH, 0FFh       hex; it must start with a digit, as assemblers require (FFh is a name)
//   $1F, $FF        hex, as 6502 and 68k assemblers write it
//   0b00011111      binary
//   00011111B, 1B   binary (binary digits only before the B)
//   31              decimal; leading zeros do not make it octal
//   -1              right after a minus sign, as in a signed char table: the byte 0xFF (down
//                   to -128)
// A word starting with a letter or '_' is a name (DB, static, font, x12) and is skipped; a word
// starting with a digit that is none of these is an error, as is a value above 255.
//
// Only eight-digit binary words choose assembly over bare hex: "0B" or "1B" in a hex dump are
// bytes 0x0B and 0x1B.

#include "core/system/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

// A glyph is at most 64x64 dots: 512 bytes, and a header of width and height. A paste holding more
// is no glyph; its text is refused beyond kMaxPasteText, before it is read at all.
inline constexpr std::size_t kMaxPastedBytes = 514;
inline constexpr std::size_t kMaxPasteText = 64 * 1024;

// Words named in problems are cut to this many characters and "…".
inline constexpr std::size_t kMaxShownWord = 40;

// The bytes of the paste, in order. The problems name the word (cut) and its line: PasteNotAByte (a
// word starting with a digit that is no number), PasteBelowMinus128 (with its minus sign),
// PasteAbove255, PasteOddHexDigits; or the line an unterminated comment or literal starts on:
// PasteOpenComment, PasteOpenString, PasteOpenCharacter; or PasteNoBytes; or, with the limit as
// number, PasteTooLong (more than kMaxPasteText characters) and PasteTooManyBytes (more than
// kMaxPastedBytes).
Result<std::vector<std::uint8_t>> parsePastedBytes(std::string_view text);

} // namespace hz
