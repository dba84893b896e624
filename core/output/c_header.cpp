#include "core/output/c_header.h"
#include "core/output/c_header_parts.h"

#include "core/layout/arrangements.h"
#include "core/layout/layout_presets.h"
#include "core/text/code_point_text.h"
#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <numeric>
#include <stdexcept>
#include <unordered_set>

namespace hz {

namespace header_text {

namespace {

// C99 and C++17 keywords (and the alternative operator spellings): the header compiles as both.
// clang-format off
constexpr std::string_view kKeywords[] = {
    "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "else", "enum", "extern",
    "float", "for", "goto", "if", "inline", "int", "long", "register", "restrict", "return", "short", "signed",
    "sizeof", "static", "struct", "switch", "typedef", "union", "unsigned", "void", "volatile", "while", "_Bool",
    "_Complex", "_Imaginary", "alignas", "alignof", "and", "and_eq", "asm", "bitand", "bitor", "bool", "catch",
    "char16_t", "char32_t", "class", "compl", "constexpr", "const_cast", "decltype", "delete", "dynamic_cast",
    "explicit", "export", "false", "friend", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "reinterpret_cast", "static_assert", "static_cast",
    "template", "this", "thread_local", "throw", "true", "try", "typeid", "typename", "using", "virtual", "wchar_t",
    "xor", "xor_eq", "char8_t", "concept", "consteval", "constinit", "co_await", "co_return", "co_yield", "requires",
};
// clang-format on

// Long enough for any font's name; short enough that NAME_MAX_WIDTH and friends stay within the 63
// significant characters C99 promises.
constexpr std::size_t kMaxNameLength = 48;

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether a character may stand as itself inside a /* */ comment: no "*/" can form, no line splice
// or trigraph, nothing invisible.
bool showableInComment(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029)
        return false;
    return c != U'*' && c != U'/' && c != U'\\' && c != U'?';
}

// A text of the user's (a file name, a font's name) as it may stand inside the header's comment:
// anything that could end the comment, splice a line or hide is written as its code point instead,
// so that no path can put code into a firmware that includes the header. Bytes that are not UTF-8
// are written as U+FFFD.
std::string commentText(std::string_view utf8) {
    std::u32string decoded;
    for (std::size_t offset = 0; offset < utf8.size();) {
        const std::optional<char32_t> c = decodeUtf8At(utf8, offset);
        decoded += c.value_or(U'\uFFFD');
        if (!c)
            ++offset;
    }
    std::string out;
    char32_t previous = 0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const char32_t c = decoded[i];
        const char32_t next = i + 1 < decoded.size() ? decoded[i + 1] : 0;
        const bool ends = (c == U'*' && next == U'/') || (c == U'/' && (previous == U'*' || next == U'*'));
        const bool trigraph = c == U'?' && (previous == U'?' || next == U'?');
        const bool hidden = c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029 || c == U'\\';
        out += ends || trigraph || hidden ? codePointText(c) : encodeUtf8(c);
        previous = c;
    }
    return out;
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The sentence for a layout of 2, 4 or 8 bits a dot (rows or columns; pages has no grey form).
std::string greySentence(const Layout& layout) {
    const std::string bits = std::to_string(layout.bpp);
    const bool rows = layout.scan == Scan::Rows;
    std::string text = rows ? "rows top to bottom, (width*" + bits + "+7)/8 bytes a row"
                            : "columns left to right, (height*" + bits + "+7)/8 bytes a column";
    text += ", " + bits + " bits a dot";
    if (layout.bpp < 8)
        text += ", " + std::to_string(8 / layout.bpp) + " dots a byte, the " + (rows ? "leftmost" : "topmost") +
                " in the " + (layout.bit == BitOrder::Msb ? "highest" : "lowest") + " bits";
    const std::string top = std::to_string((1 << layout.bpp) - 1);
    text += "; a dot's level from 0 (clear) to " + top + " (fully covered)";
    if (layout.up)
        text += "; rows taken bottom to top";
    if (layout.left)
        text += "; columns taken right to left";
    if (layout.invert)
        text += "; a level L is written as " + top + "-L";
    return text;
}

// One sentence a firmware writer needs to read a glyph's bytes.
std::string layoutSentence(const Layout& layout) {
    if (layout.bpp > 1)
        return greySentence(layout);
    std::string text;
    switch (layout.scan) {
    case Scan::Rows:
        text = "rows top to bottom, (width+7)/8 bytes a row, the leftmost dot in bit ";
        break;
    case Scan::Columns:
        text = "columns left to right, (height+7)/8 bytes a column, the topmost dot in bit ";
        break;
    case Scan::Pages:
        text = "8-row bands top to bottom, a byte per column in each band, the topmost dot in bit ";
        break;
    }
    text += layout.bit == BitOrder::Msb ? "7" : "0";
    if (layout.up)
        text += "; rows taken bottom to top";
    if (layout.left)
        text += "; columns taken right to left";
    if (layout.invert)
        text += "; a set dot is a 0 bit";
    return text;
}

// Writes the comment lines " * TEXT" wrapped before 100 columns.
void appendWrapped(std::string& out, std::string_view label, std::string_view text) {
    const std::string indent(label.size(), ' ');
    std::string line = " * " + std::string(label);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(start, end - start);
        if (line.size() + word.size() > 100 && line.size() > 3 + label.size()) {
            line.pop_back();
            out += line + "\n";
            line = " * " + indent;
        }
        line += word;
        line += ' ';
        start = end + 1;
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out += line + "\n";
}

void appendComment(std::string& out, const CHeaderInput& input, const std::vector<char32_t>& characters,
                   const std::string& byteType) {
    const std::string& name = input.name;
    out += "/* " + name + ".h: a dot-matrix font of " + std::to_string(characters.size()) +
           (characters.size() == 1 ? " character" : " characters") + ", made by HzDot" +
           (input.compress ? ", compressed" : "") + ".\n *\n";
    const std::string height = input.sourceHeight > 0 ? ", " + std::to_string(input.sourceHeight) + " dots high" : "";
    appendWrapped(out, "Source:     ", commentText(input.source) + height);

    std::string layout = layoutName(input.layout);
    if (const auto arrangement = namedArrangement(input.layout))
        layout += " (" + std::string(arrangementName(*arrangement)) + ")";
    if (const std::string presets = presetNames(input.layout); !presets.empty())
        layout += ", presets " + presets;
    appendWrapped(out, "Layout:     ", layout);
    if (const std::string drivers = presetDrivers(input.layout); !drivers.empty())
        appendWrapped(out, "Drivers:    ", drivers);
    appendWrapped(out, "Bytes:      ", layoutSentence(input.layout));
    appendWrapped(out, "Keys:       ",
                  input.key == HeaderKey::Unicode
                      ? "Unicode code points"
                      : "GB2312 (code page 936) codes, first byte high (0xB0A1 for U+554A); "
                        "a half-width character is its single byte");

    std::string list;
    for (char32_t c : characters)
        list += (list.empty() ? "" : " ") + (showableInComment(c) ? encodeUtf8(c) : codePointText(c));
    appendWrapped(out, "Characters: ", list.empty() ? "none" : list);
    if (input.compress) {
        out += " *\n * " + byteType + " glyph[" + name + "_MAX_BYTES], width, height;\n";
        out += " * if (" + name + "_glyph(key, glyph, &width, &height)) ... the glyph's bytes are in glyph\n";
        out += " * 0 (width and height 0) when there is no such key; width and height may be NULL.\n */\n";
        return;
    }
    out += " *\n * const " + byteType + " *glyph = " + name + "_find(key, &width, &height);\n";
    out += " * NULL (width and height 0) when there is no such key; width and height may be NULL.\n */\n";
}

Dialect dialectOf(const std::string& name, HeaderStandard standard) {
    if (standard == HeaderStandard::C89)
        return {name + "_u8", name + "_u16", name + "_u32", true};
    return {"uint8_t", "uint16_t", "uint32_t", false};
}

void appendBytes(std::string& out, std::string_view type, const std::string& name, const std::vector<Entry>& entries,
                 std::size_t total) {
    out += tableStart(type, name, "bytes", total) + "\n";
    if (entries.empty())
        out += "    0 /* no glyphs */\n";
    for (const Entry& e : entries) {
        out += "    /* " + commentCharacter(e.character) + ", " + std::to_string(e.width) + "x" +
               std::to_string(e.height) + " */";
        for (std::size_t i = 0; i < e.bytes.size(); ++i) {
            out += i % 16 == 0 ? "\n    " : " ";
            out += hex(e.bytes[i], 2) + ",";
        }
        out += "\n";
    }
    out += "};\n";
}

// The integer types of the C89 header: <stdint.h>'s where the compiler is known to have it,
// otherwise unsigned types whose sizes <limits.h> confirms.
constexpr std::string_view kC89Types = R"(#if (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L) || \
    (defined(__cplusplus) && __cplusplus >= 201103L)
#include <stdint.h>
typedef uint8_t NAME_u8;
typedef uint16_t NAME_u16;
typedef uint32_t NAME_u32;
#else
#include <limits.h>
#if UCHAR_MAX == 0xFF
typedef unsigned char NAME_u8;
#else
#error "NAME.h needs an 8-bit unsigned char"
#endif
#if USHRT_MAX == 0xFFFF
typedef unsigned short NAME_u16;
#else
#error "NAME.h needs a 16-bit unsigned short"
#endif
#if UINT_MAX == 0xFFFFFFFF
typedef unsigned int NAME_u32;
#elif ULONG_MAX == 0xFFFFFFFF
typedef unsigned long NAME_u32;
#else
#error "NAME.h needs a 32-bit unsigned int or long"
#endif
#endif
)";

void appendIncludes(std::string& out, const std::string& name, const Dialect& dialect) {
    out += "#include <stddef.h>\n";
    out += dialect.c89 ? named(kC89Types, name) : "#include <stdint.h>\n";
    out += "\n";
}

// Where the tables are kept and how the lookup reads them, each left to the firmware to define first.
constexpr std::string_view kAccess =
    R"(/* Where the tables are kept and how the lookup reads them: plain constants unless defined before
 * this header is included, for compilers that keep constants in a code space of their own. AVR:
 * NAME_STORAGE PROGMEM, NAME_READ8(p) pgm_read_byte(p), NAME_READ16(p) pgm_read_word(p) and
 * NAME_READ32(p) pgm_read_dword(p), and the glyph NAME_find returns read with pgm_read_byte too;
 * 8051: NAME_STORAGE __code (SDCC) or code (Keil C51). Each READ macro takes a pointer to a table
 * element. */
#ifndef NAME_STORAGE
#define NAME_STORAGE
#endif
#ifndef NAME_READ8
#define NAME_READ8(p) (*(p))
#endif
#ifndef NAME_READ16
#define NAME_READ16(p) (*(p))
#endif
#ifndef NAME_READ32
#define NAME_READ32(p) (*(p))
#endif
)";

void appendAccess(std::string& out, const std::string& name, bool compress) {
    std::string text(kAccess);
    // The compressed header hands out no pointer into its tables: its decoder writes to the caller's.
    if (compress)
        text = replaced(
            text, {{"NAME_READ32(p) pgm_read_dword(p), and the glyph NAME_find returns read with pgm_read_byte too;",
                    "NAME_READ32(p) pgm_read_dword(p);"}});
    out += named(text, name) + "\n";
}

std::string glyphBytesMacro(const Layout& layout) {
    switch (layout.scan) {
    case Scan::Rows:
        return "#define NAME_GLYPH_BYTES(w, h) ((h) * (((w) * NAME_BPP + 7) / 8))\n";
    case Scan::Columns:
        return "#define NAME_GLYPH_BYTES(w, h) ((w) * (((h) * NAME_BPP + 7) / 8))\n";
    case Scan::Pages:
        return "#define NAME_GLYPH_BYTES(w, h) ((w) * (((h) + 7) / 8))\n";
    }
    return {};
}

void appendSizes(std::string& out, const std::string& name, std::size_t count, const IndexShape& shape,
                 const Layout& layout, std::size_t maxBytes, bool compress) {
    out += "#define " + name + "_COUNT " + std::to_string(count) + "\n";
    out += "#define " + name + "_HEIGHT " + std::to_string(shape.height) + "\n";
    out += "#define " + name + "_MAX_WIDTH " + std::to_string(shape.maxWidth) + "\n";
    // A one-bit header stays as it always was: the depth and the byte count are spelled out only
    // for grey levels, and for the compressed header, whose decoder needs them.
    if (layout.bpp > 1 || compress) {
        out += "#define " + name + "_BPP " + std::to_string(layout.bpp) + "\n";
        out += "/* The bytes of a glyph of width w and height h. */\n";
        out += named(glyphBytesMacro(layout), name);
    }
    if (compress) {
        out += named("/* The most bytes a glyph takes: the size of the buffer NAME_glyph fills. */\n", name);
        out += "#define " + name + "_MAX_BYTES " + std::to_string(std::max<std::size_t>(maxBytes, 1)) + "\n";
    }
    out += "\n";
}

// Every glyph of the same size needs no offsets: glyph i starts at i times that size.
bool sameSize(const std::vector<Entry>& entries) {
    return std::all_of(entries.begin(), entries.end(),
                       [&entries](const Entry& e) { return e.bytes.size() == entries.front().bytes.size(); });
}

// The plain tables; returns their bytes.
std::size_t appendTables(std::string& out, const std::string& name, const Dialect& dialect,
                         const std::vector<Entry>& entries, HeaderKey key, const IndexShape& shape) {
    std::size_t total = 0;
    for (const Entry& e : entries)
        total += e.bytes.size();
    appendBytes(out, dialect.u8, name, entries, total);
    out += "\n";
    std::size_t bytes = tableBytes(total, 1) + appendKeyTables(out, name, dialect, entries, key, shape, false);
    if (!sameSize(entries)) {
        std::vector<std::uint32_t> offsets;
        std::uint32_t offset = 0;
        for (const Entry& e : entries) {
            offsets.push_back(offset);
            offset += static_cast<std::uint32_t>(e.bytes.size());
        }
        const bool small = offsets.empty() || offsets.back() <= 0xFFFF;
        appendValues(out, small ? dialect.u16 : dialect.u32, name, "offsets", offsets, 12);
        bytes += tableBytes(offsets.size(), small ? 2 : 4);
    }
    out += "\n";
    return bytes;
}

// The lookup: a binary search over the keys, every table read through the READ macros.
constexpr std::string_view kFindBody = R"({
    size_t low = 0;
    size_t high = NAME_COUNT;
    size_t mid;
    while (low < high) {
        mid = low + (high - low) / 2;
        if (KEYREAD(&NAME_keys[mid]) < key)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == NAME_COUNT || KEYREAD(&NAME_keys[low]) != key) {
        if (width != NULL)
            *width = 0;
        if (height != NULL)
            *height = 0;
        return NULL;
    }
    if (width != NULL)
        *width = WIDTH;
    if (height != NULL)
        *height = HEIGHT;
    return &NAME_bytes[OFFSET];
}
)";

void appendFind(std::string& out, const std::string& name, const Dialect& dialect, const std::vector<Entry>& entries,
                const IndexShape& shape) {
    std::string head = dialect.c89 ? std::string(kC89Unused) + "static NAME_UNUSED const " : "static inline const ";
    head +=
        dialect.u8 + " *NAME_find(" + dialect.u32 + " key, " + dialect.u8 + " *width, " + dialect.u8 + " *height)\n";
    std::string offset;
    if (sameSize(entries)) {
        offset = "low * " + std::to_string(entries.empty() ? 0 : entries.front().bytes.size());
    } else {
        const bool small =
            entries.empty() || entries.size() == 1 ||
            std::accumulate(entries.begin(), entries.end() - 1, std::size_t{0},
                            [](std::size_t sum, const Entry& e) { return sum + e.bytes.size(); }) <= 0xFFFF;
        offset = std::string(small ? "NAME_READ16" : "NAME_READ32") + "(&NAME_offsets[low])";
    }
    const std::string body =
        replaced(std::string(kFindBody), {{"KEYREAD", shape.keys16 ? "NAME_READ16" : "NAME_READ32"},
                                          {"WIDTH", widthRead(shape, "low")},
                                          {"HEIGHT", heightRead(shape, "low")},
                                          {"OFFSET", offset}});
    out += named(head, name) + named(body, name);
}

// The glyphs to write, each character and each key once, in key order; the others noted in leftOut.
// characters gets the written ones in input order, for the comment.
std::vector<Entry> headerEntries(const CHeaderInput& input, std::vector<HeaderLeftOut>& leftOut,
                                 std::vector<char32_t>& characters) {
    std::vector<Entry> entries;
    std::unordered_set<char32_t> seenCharacters;
    std::unordered_set<std::uint32_t> seenKeys;
    for (const HeaderGlyph& glyph : input.glyphs) {
        if (!seenCharacters.insert(glyph.character).second)
            continue;
        const auto key = headerKey(glyph.character, input.key);
        if (!key) {
            leftOut.push_back({glyph.position, glyph.character, HeaderRefusal::NoGb2312Code});
            continue;
        }
        if (!seenKeys.insert(*key).second) {
            leftOut.push_back({glyph.position, glyph.character, HeaderRefusal::SameKey});
            continue;
        }
        characters.push_back(glyph.character);
        entries.push_back({*key, glyph.character, glyph.cell, encodeCell(glyph.cell, input.layout), glyph.cell.width(),
                           glyph.cell.height()});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    return entries;
}

char32_t recordCharacter(const GlyphRecord& record) {
    std::size_t at = 0;
    return decodeUtf8At(record.character, at).value_or(U'\uFFFD');
}

} // namespace

std::string hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string commentCharacter(char32_t c) {
    return showableInComment(c) ? codePointText(c) + " " + encodeUtf8(c) : codePointText(c);
}

std::string named(std::string_view text, const std::string& name) {
    std::string out;
    for (std::size_t at = text.find("NAME"); !text.empty(); at = text.find("NAME")) {
        out += text.substr(0, at);
        if (at == std::string_view::npos)
            break;
        out += name;
        text.remove_prefix(at + 4);
    }
    return out;
}

std::string replaced(std::string text, const std::vector<std::pair<std::string_view, std::string>>& marks) {
    for (const auto& [mark, value] : marks)
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    return text;
}

std::string tableStart(std::string_view type, const std::string& name, std::string_view table, std::size_t size) {
    return "static const " + std::string(type) + " " + name + "_STORAGE " + name + "_" + std::string(table) + "[" +
           std::to_string(std::max<std::size_t>(1, size)) + "] = {";
}

IndexShape indexShape(const std::vector<Entry>& entries) {
    IndexShape shape;
    for (const Entry& e : entries) {
        shape.height = std::max(shape.height, e.height);
        shape.maxWidth = std::max(shape.maxWidth, e.width);
    }
    shape.keys16 = std::all_of(entries.begin(), entries.end(), [](const Entry& e) { return e.key <= 0xFFFF; });
    shape.widthTable =
        std::any_of(entries.begin(), entries.end(), [&shape](const Entry& e) { return e.width != shape.maxWidth; });
    shape.heightTable =
        std::any_of(entries.begin(), entries.end(), [&shape](const Entry& e) { return e.height != shape.height; });
    return shape;
}

std::size_t appendKeyTables(std::string& out, const std::string& name, const Dialect& dialect,
                            const std::vector<Entry>& entries, HeaderKey key, const IndexShape& shape,
                            bool leaveOutKeys) {
    std::size_t bytes = 0;
    if (!leaveOutKeys) {
        std::vector<std::uint32_t> keys;
        for (const Entry& e : entries)
            keys.push_back(e.key);
        appendValues(out, shape.keys16 ? dialect.u16 : dialect.u32, name, "keys", keys, 8,
                     key == HeaderKey::Unicode ? 4 : 2);
        bytes += tableBytes(keys.size(), shape.keys16 ? 2 : 4);
    }
    if (shape.widthTable) {
        std::vector<int> widths;
        for (const Entry& e : entries)
            widths.push_back(e.width);
        appendValues(out, dialect.u8, name, "widths", widths, 16);
        bytes += tableBytes(widths.size(), 1);
    }
    if (shape.heightTable) {
        std::vector<int> heights;
        for (const Entry& e : entries)
            heights.push_back(e.height);
        appendValues(out, dialect.u8, name, "heights", heights, 16);
        bytes += tableBytes(heights.size(), 1);
    }
    return bytes;
}

std::string widthRead(const IndexShape& shape, std::string_view var) {
    return shape.widthTable ? "NAME_READ8(&NAME_widths[" + std::string(var) + "])" : std::string("NAME_MAX_WIDTH");
}

std::string heightRead(const IndexShape& shape, std::string_view var) {
    return shape.heightTable ? "NAME_READ8(&NAME_heights[" + std::string(var) + "])" : std::string("NAME_HEIGHT");
}

// C89 has no inline, so a header's lookup is a plain static function, which compilers warn about in
// every file that includes the header without calling it; GCC and Clang are told that is fine.
const std::string_view kC89Unused = R"(#if defined(__GNUC__)
#define NAME_UNUSED __attribute__((unused))
#else
#define NAME_UNUSED
#endif
)";

} // namespace header_text

using namespace header_text;

std::vector<HeaderGlyph> headerGlyphs(std::span<const GlyphRecord> records) {
    // A repeated character is left out here already: the header keeps its first glyph only, and a
    // long list repeats its characters many times over.
    std::vector<HeaderGlyph> glyphs;
    std::unordered_set<char32_t> seen;
    for (std::size_t row = 0; row < records.size(); ++row) {
        const char32_t character = recordCharacter(records[row]);
        if (seen.insert(character).second)
            glyphs.push_back({row, character, records[row].cell()});
    }
    return glyphs;
}

std::optional<std::uint32_t> headerKey(char32_t character, HeaderKey key) {
    if (key == HeaderKey::Unicode)
        return static_cast<std::uint32_t>(character);
    if (const auto code = cp936Code(character))
        return *code;
    // A half-width character: its one byte in the code page.
    if (const auto bytes = utf8ToCp936(encodeUtf8(character)); bytes && bytes->size() == 1)
        return static_cast<std::uint8_t>((*bytes)[0]);
    return std::nullopt;
}

CHeader makeCHeader(const CHeaderInput& input) {
    if (const auto problem = checkHeaderName(input.name))
        throw std::invalid_argument(*problem);

    CHeader header;
    std::vector<char32_t> characters; // in input order
    const std::vector<Entry> entries = headerEntries(input, header.leftOut, characters);
    const IndexShape shape = indexShape(entries);
    std::size_t maxBytes = 0;
    for (const Entry& e : entries)
        maxBytes = std::max(maxBytes, e.bytes.size());

    const std::string& name = input.name;
    const std::string guard = upper(name) + "_H";
    const Dialect dialect = dialectOf(name, input.standard);

    std::string& out = header.text;
    appendComment(out, input, characters, dialect.u8);
    out += "#ifndef " + guard + "\n#define " + guard + "\n\n";
    appendIncludes(out, name, dialect);
    appendAccess(out, name, input.compress);
    appendSizes(out, name, entries.size(), shape, input.layout, maxBytes, input.compress);
    if (input.compress) {
        header.dataBytes = appendCompressed(out, name, dialect, entries, input.layout, input.key, shape);
    } else {
        header.dataBytes = appendTables(out, name, dialect, entries, input.key, shape);
        appendFind(out, name, dialect, entries, shape);
    }
    out += "\n#endif /* " + guard + " */\n";

    header.glyphCount = entries.size();
    return header;
}

std::optional<std::string> checkHeaderName(std::string_view name) {
    const std::string quoted = "'" + std::string(name) + "'";
    if (name.empty())
        return std::string("the header name is empty");
    if (isAsciiDigit(name.front()))
        return "the header name " + quoted + " starts with a digit";
    for (char c : name)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '_')
            return "the header name " + quoted + " is not a C identifier (letters, digits and _ only)";
    if (std::find(std::begin(kKeywords), std::end(kKeywords), name) != std::end(kKeywords))
        return "the header name " + quoted + " is a C or C++ keyword";
    if (name.front() == '_' && (name.size() == 1 || name[1] == '_' || (name[1] >= 'A' && name[1] <= 'Z')))
        return "the header name " + quoted + " is kept for the compiler (it starts with _ and a capital or _)";
    if (name.find("__") != std::string_view::npos)
        return "the header name " + quoted + " contains __, which C++ keeps for the compiler";
    if (name.size() > kMaxNameLength)
        return "the header name " + quoted + " is longer than " + std::to_string(kMaxNameLength) + " characters";
    return std::nullopt;
}

std::string defaultHeaderName(std::string_view source, int size) {
    // The file name's stem: up to the first space or dot, its folder dropped.
    if (const std::size_t slash = source.find_last_of('/'); slash != std::string_view::npos)
        source.remove_prefix(slash + 1);
    source = source.substr(0, source.find_first_of(" ."));
    std::string name;
    for (char c : source) {
        if (isAsciiLetter(c) || isAsciiDigit(c))
            name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        else if (!name.empty() && name.back() != '_' && static_cast<unsigned char>(c) < 0x80)
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (name.empty() || isAsciiDigit(name.front()))
        name = "font" + (name.empty() ? std::string() : "_" + name);
    const std::string suffix = "_" + std::to_string(size);
    if (name.size() + suffix.size() > kMaxNameLength)
        name.resize(kMaxNameLength - suffix.size());
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name + suffix;
}

} // namespace hz
