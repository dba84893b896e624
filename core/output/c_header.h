#pragma once
// A C font header: the glyphs of a text in one byte layout, each character once, with a table of
// keys and a lookup function, ready to be #included in firmware (C99 or C++, or C89 on request).
//
//   NAME_STORAGE, NAME_READ8(p), NAME_READ16(p), NAME_READ32(p)
//                    where the tables are kept (between each table's type and name) and how the
//                    lookup reads an element through a pointer to it; empty and (*(p)) unless the
//                    firmware defines them first, as compilers with a separate code space need
//   NAME_COUNT, NAME_HEIGHT, NAME_MAX_WIDTH       macros
//   NAME_BPP, NAME_GLYPH_BYTES(w, h)              for a layout of 2, 4 or 8 bits a dot only: the
//                    depth, and a glyph's byte count from its width, height and depth
//   NAME_bytes[]     uint8_t   the glyphs one after another, in key order, in the chosen layout
//   NAME_keys[]      uint16_t  ascending: Unicode code points, or code page 936 codes (0xC4E3);
//                    uint32_t when a key does not fit in 16 bits
//   NAME_widths[]    uint8_t   each glyph's width in dots; only when the glyphs differ in width
//                              (otherwise every glyph is NAME_MAX_WIDTH wide)
//   NAME_offsets[]   uint16_t  where each glyph starts in NAME_bytes (uint32_t past 64 KB); only
//                              when the glyphs differ in size (otherwise glyph i starts at i times
//                              the one size)
//   NAME_heights[]   uint8_t   only when the glyphs differ in height
//   NAME_find(key, &width, &height)  binary search; the glyph's bytes, or NULL with width and
//                                    height 0
//
// A compressed header (CHeaderInput::compress) keeps the glyphs coded instead (see glyph_coder.h and
// docs/compressed-header.md) and has NAME_glyph(key, out, &width, &height) in place of NAME_find,
// which decodes one glyph into NAME_MAX_BYTES bytes of the caller's, in the chosen layout.
//
// Every table is `static const`, so it lands in flash on targets that keep constants there. With no
// glyph at all the tables hold one unused zero, since C has no empty arrays.

#include "core/glyph/dot_cell.h"
#include "core/glyph/glyph_record.h"
#include "core/layout/layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

enum class HeaderKey { Unicode, Gb2312 };

// C99 (and C++): <stdint.h> and a static inline lookup. C89: no inline, integer types of its own
// (NAME_u8, NAME_u32) checked against <limits.h> where <stdint.h> may be missing.
enum class HeaderStandard { C99, C89 };

struct HeaderGlyph {
    std::size_t position; // where the character stands in what the user gave, for messages
    char32_t character;
    DotCell cell;
};

struct CHeaderInput {
    std::vector<HeaderGlyph> glyphs; // in the user's order; a repeated character is stored once
    std::string source;              // the source's description: "hzk16宋", "wqy-zenhei.ttc face 0, 20 dots"
    int sourceHeight = 0;            // the source's full-width height, for the comment
    Layout layout;
    HeaderKey key = HeaderKey::Unicode;
    std::string name; // a valid name (checkHeaderName); the macros and tables start with it
    HeaderStandard standard = HeaderStandard::C99;
    bool compress = false; // coded glyphs and a decoder instead of the plain bytes and NAME_find
};

enum class HeaderRefusal {
    NoGb2312Code, // the character has no code in code page 936
    SameKey,      // another character earlier in the list has the same code
};

struct HeaderLeftOut {
    std::size_t position;
    char32_t character;
    HeaderRefusal reason;
};

struct CHeader {
    std::string text;                   // UTF-8, LF line ends; the header even when glyphCount is 0
    std::size_t glyphCount = 0;         // distinct characters written
    std::size_t dataBytes = 0;          // the bytes of every table: the font data's size in flash
    std::vector<HeaderLeftOut> leftOut; // in input order
};

// The glyphs of records, each character once, at its first place in the list.
std::vector<HeaderGlyph> headerGlyphs(std::span<const GlyphRecord> records);

// The key of a character: its code point, or in Gb2312 mode its two-byte code (first byte high) or
// the single byte of a half-width character. Nothing when it has none.
std::optional<std::uint32_t> headerKey(char32_t character, HeaderKey key);

// Throws std::invalid_argument when input.name is not a valid name.
CHeader makeCHeader(const CHeaderInput& input);

// Nothing for a usable name; otherwise why it is not: not a C identifier, a C or C++ keyword, a
// name the compilers keep for themselves, or too long.
std::optional<std::string> checkHeaderName(std::string_view name);

// A name made from the source's description and the size: "hzk16宋", 16 -> "hzk16_16";
// "wqy-zenhei.ttc face 0, 20 dots", 20 -> "wqy_zenhei_20". Always passes checkHeaderName.
std::string defaultHeaderName(std::string_view source, int size);

} // namespace hz
