#pragma once
// What the plain and the compressed C header share: the glyphs to write, the C spellings, and the
// writers of tables and of the key, width and height tables both use. Only c_header*.cpp and
// compressed_header.cpp include this.

#include "core/glyph/dot_cell.h"
#include "core/layout/layout.h"
#include "core/output/c_header.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hz::header_text {

struct Entry {
    std::uint32_t key;
    char32_t character;
    DotCell cell;
    std::vector<std::uint8_t> bytes; // in the header's layout
    int width;
    int height;
};

// The spellings that differ between the C99 header and the one for C89 compilers.
struct Dialect {
    std::string u8;  // "uint8_t", or the header's own "NAME_u8"
    std::string u16; // "uint16_t" or "NAME_u16"
    std::string u32; // "uint32_t" or "NAME_u32"
    bool c89 = false;
};

// Which of the index tables a header needs.
struct IndexShape {
    bool keys16 = false;      // every key fits in 16 bits
    bool widthTable = false;  // the glyphs differ in width
    bool heightTable = false; // the glyphs differ in height
    int height = 0;           // the tallest glyph's
    int maxWidth = 0;
};

IndexShape indexShape(const std::vector<Entry>& entries);

std::string hex(std::uint32_t value, int digits);
std::string commentCharacter(char32_t c);
// Replaces each NAME in text with the header's name.
std::string named(std::string_view text, const std::string& name);

// text with each mark replaced by its value, in the order given.
std::string replaced(std::string text, const std::vector<std::pair<std::string_view, std::string>>& marks);

// "static const TYPE NAME_STORAGE NAME_table[N] = {", N at least 1.
std::string tableStart(std::string_view type, const std::string& name, std::string_view table, std::size_t size);

// A table of values, perLine to a line; with none, the one unused 0 C needs.
template <typename Value>
void appendValues(std::string& out, std::string_view type, const std::string& name, std::string_view table,
                  const std::vector<Value>& values, int perLine, int hexDigits = 0) {
    out += tableStart(type, name, table, values.size());
    if (values.empty())
        out += "0";
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += i % static_cast<std::size_t>(perLine) == 0 ? "\n    " : " ";
        out += hexDigits > 0 ? hex(static_cast<std::uint32_t>(values[i]), hexDigits) : std::to_string(values[i]);
        out += ',';
    }
    out += values.empty() ? "};\n" : "\n};\n";
}

// The bytes a table of count elements of elementBytes each takes (one element at least).
inline std::size_t tableBytes(std::size_t count, std::size_t elementBytes) {
    return std::max<std::size_t>(count, 1) * elementBytes;
}

// NAME_keys (unless leaveOutKeys), NAME_widths and NAME_heights where the shape wants them; returns
// their bytes.
std::size_t appendKeyTables(std::string& out, const std::string& name, const Dialect& dialect,
                            const std::vector<Entry>& entries, HeaderKey key, const IndexShape& shape,
                            bool leaveOutKeys);

// The marks a lookup body uses for a glyph's width and height, read from where the shape keeps them,
// for glyph number VAR.
std::string widthRead(const IndexShape& shape, std::string_view var);
std::string heightRead(const IndexShape& shape, std::string_view var);

// C89 has no inline: the header's functions are plain static ones, marked as maybe unused.
extern const std::string_view kC89Unused;

// The compressed tables and NAME_glyph; returns the bytes of every table written.
std::size_t appendCompressed(std::string& out, const std::string& name, const Dialect& dialect,
                             const std::vector<Entry>& entries, const Layout& layout, HeaderKey key,
                             const IndexShape& shape);

} // namespace hz::header_text
