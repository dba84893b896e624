// The compressed C header: glyphs coded as glyph_coder.h describes, an index that finds glyph i's
// bytes from a start for every 64 glyphs and the lengths in between, and NAME_glyph, a decoder in
// C that takes one glyph at a time into the caller's buffer. docs/compressed-header.md has the tables.

#include "core/output/c_header_parts.h"
#include "core/output/glyph_coder.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace hz::header_text {

namespace {

constexpr std::size_t kGroup = 64; // glyphs to a start in NAME_starts

// The keys as 256-key pages: the page numbers (key >> 8) in order, each with a mark for each of its
// 256 keys and the number of glyphs before it.
struct KeyPages {
    std::vector<std::uint32_t> pages;
    std::vector<std::uint32_t> ranks;
    std::vector<std::uint8_t> marks; // 32 bytes a page, key k's mark in byte k/8, bit k%8
};

KeyPages keyPages(const std::vector<Entry>& entries) {
    KeyPages out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t page = entries[i].key >> 8;
        if (out.pages.empty() || out.pages.back() != page) {
            out.pages.push_back(page);
            out.ranks.push_back(static_cast<std::uint32_t>(i));
            out.marks.resize(out.marks.size() + 32);
        }
        const std::uint32_t low = entries[i].key & 0xFF;
        out.marks[(out.pages.size() - 1) * 32 + low / 8] |= static_cast<std::uint8_t>(1U << (low % 8));
    }
    return out;
}

void appendData(std::string& out, const std::string& name, const Dialect& dialect, const std::vector<Entry>& entries,
                const CodedGlyphs& coded) {
    out += tableStart(dialect.u8, name, "data", coded.dataBytes) + "\n";
    if (coded.dataBytes == 0)
        out += "    0 /* no glyph has any bytes */\n";
    for (std::size_t g = 0; g < entries.size(); ++g) {
        const std::vector<std::uint8_t>& bytes = coded.glyphs[g];
        out += "    /* " + commentCharacter(entries[g].character) + ", " + std::to_string(entries[g].width) + "x" +
               std::to_string(entries[g].height) + ", " + std::to_string(bytes.size()) + " bytes */";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out += i % 16 == 0 ? "\n    " : " ";
            out += hex(bytes[i], 2) + ",";
        }
        out += "\n";
    }
    out += "};\n";
}

// The term of context bit k: the plane's bit of the dot at kContextDots[k], from the decoder's rows
// (r1 the row above, r0 the one above that, each kContextReach clear dots to the left) or, on this
// row, from the last three levels c1, c2, c3.
std::string contextTerm(std::size_t k, bool grey) {
    const ContextDot d = kContextDots[k];
    std::string at;
    if (d.dy == 0) {
        at = "c" + std::to_string(-d.dx);
    } else {
        const int index = kContextReach + d.dx;
        at = std::string(d.dy == -1 ? "r1" : "r0") + "[x" + (index == 0 ? "" : " + " + std::to_string(index)) + "]";
    }
    std::string term = grey ? "(" + at + " >> shift & 1u)" : "(unsigned)" + at;
    if (k > 0)
        term += " << " + std::to_string(k);
    return term;
}

// The context's terms ORed, a line for every three, continued under the first at indent.
std::string contextSum(int bits, bool grey, int indent) {
    std::string sum;
    const std::string next = " |\n" + std::string(static_cast<std::size_t>(indent), ' ');
    for (int k = 0; k < bits; ++k) {
        sum += k == 0 ? "" : k % 3 == 0 ? next : " | ";
        sum += contextTerm(static_cast<std::size_t>(k), grey);
    }
    return sum.empty() ? "0" : sum;
}

constexpr std::string_view kDecodeBit = R"(bound = (range >> 8) * NAME_READ8(&NAME_model[context]);
if (code < bound) {
    range = bound;
    bit = 0;
} else {
    code -= bound;
    range -= bound;
    bit = 1;
}
while (range < 0x1000000UL) {
    range <<= 8;
    code = (code << 8) | NAME_NEXT;
}
)";

std::string indented(std::string_view text, int spaces) {
    std::string out;
    const std::string pad(static_cast<std::size_t>(spaces), ' ');
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out += pad + std::string(text.substr(start, end - start)) + "\n";
        start = end + 1;
    }
    return out;
}

// The statements that decode dot x of the row into level.
std::string dotDecoder(const Layout& layout, int contextBits) {
    if (layout.bpp == 1)
        return "            context = " + contextSum(contextBits, false, 22) + ";\n" + indented(kDecodeBit, 12) +
               "            level = bit;\n";
    const std::string planeZero = std::to_string(1U << contextBits) + "u";
    return "            level = 0;\n"
           "            for (plane = 0; plane < NAME_BPP; ++plane) {\n"
           "                shift = NAME_BPP - 1 - plane;\n"
           "                context = " +
           contextSum(contextBits, true, 26) +
           ";\n"
           "                if (plane > 0)\n"
           "                    context += plane * 2u * " +
           planeZero + " - " + planeZero + " + (level & 1u) * " + planeZero + ";\n" + indented(kDecodeBit, 16) +
           "                level = (level << 1) | bit;\n"
           "            }\n";
}

// The statements that put level, the dot at x, y of a w x h glyph, into out, as encodeCell does.
std::string dotWriter(const Layout& layout) {
    const std::string bpp = std::to_string(layout.bpp);
    std::string text = std::string("            tc = ") + (layout.left ? "w - 1 - x" : "x") + ";\n" +
                       "            tr = " + (layout.up ? "h - 1 - y" : "y") + ";\n";
    const std::string value =
        layout.invert ? "(" + std::to_string((1 << layout.bpp) - 1) + "u - level)" : std::string("level");
    const bool msb = layout.bit == BitOrder::Msb;
    std::string index, shift;
    const auto packed = [&](const std::string& along, const std::string& across, const std::string& side) {
        if (layout.bpp == 1) {
            index = across + " * ((" + side + " + 7) / 8) + " + along + " / 8";
            shift = msb ? "7 - " + along + " % 8" : along + " % 8";
        } else {
            index = across + " * ((" + side + " * " + bpp + " + 7) / 8) + " + along + " * " + bpp + " / 8";
            shift = msb ? std::to_string(8 - layout.bpp) + " - " + along + " * " + bpp + " % 8"
                        : along + " * " + bpp + " % 8";
        }
    };
    switch (layout.scan) {
    case Scan::Rows:
        packed("tc", "tr", "w");
        break;
    case Scan::Columns:
        packed("tr", "tc", "h");
        break;
    case Scan::Pages:
        index = "tr / 8 * w + tc";
        shift = msb ? "7 - tr % 8" : "tr % 8";
        break;
    }
    return text + "            out[" + index + "] |= (uint8_t)(" + value + " << (" + shift + "));\n";
}

constexpr std::string_view kAbsent = R"(    if (width != NULL)
        *width = 0;
    if (height != NULL)
        *height = 0;
    return 0;
)";

std::string listFinder() {
    return std::string(R"(    low = 0;
    high = NAME_COUNT;
    while (low < high) {
        mid = low + (high - low) / 2;
        if (@KEYREAD@(&NAME_keys[mid]) < key)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == NAME_COUNT || @KEYREAD@(&NAME_keys[low]) != key) {
)") + indented(kAbsent, 4) +
           "    }\n    i = low;\n";
}

std::string pageFinder(std::size_t pageCount, bool ranks16) {
    const std::string count = std::to_string(pageCount);
    return "    low = 0;\n    high = " + count + ";\n" + R"(    while (low < high) {
        mid = low + (high - low) / 2;
        if (NAME_READ16(&NAME_pages[mid]) < key >> 8)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == )" +
           count +
           R"( || NAME_READ16(&NAME_pages[low]) != key >> 8 ||
        !(NAME_READ8(&NAME_marks[low * 32 + (key & 255) / 8]) >> (key & 7) & 1)) {
)" + indented(kAbsent, 4) +
           "    }\n    /* The glyph's number: the glyphs before the page and the marks before the key's. */\n" +
           "    i = " + (ranks16 ? "NAME_READ16" : "NAME_READ32") + "(&NAME_ranks[low]);\n" +
           R"(    for (j = low * 32; j < low * 32 + (key & 255) / 8; ++j)
        for (bit = NAME_READ8(&NAME_marks[j]); bit != 0; bit &= bit - 1)
            ++i;
    for (bit = NAME_READ8(&NAME_marks[j]) & ((1u << (key & 7)) - 1); bit != 0; bit &= bit - 1)
        ++i;
)";
}

std::string typed(std::string text, const Dialect& dialect) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"uint8_t", dialect.u8},
                                   {"uint16_t", dialect.u16},
                                   {"uint32_t", dialect.u32}})
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    return text;
}

} // namespace

std::size_t appendCompressed(std::string& out, const std::string& name, const Dialect& dialect,
                             const std::vector<Entry>& entries, const Layout& layout, HeaderKey key,
                             const IndexShape& shape) {
    std::vector<DotCell> cells;
    cells.reserve(entries.size());
    for (const Entry& e : entries)
        cells.push_back(e.cell);
    const CodedGlyphs coded = codeGlyphs(cells, layout.bpp);

    // Where each glyph's bytes start: a start for every kGroup glyphs, and each glyph's length in
    // as few bits as the longest needs, packed low bits first.
    std::vector<std::uint32_t> starts;
    std::uint32_t offset = 0;
    std::size_t longest = 0;
    for (std::size_t g = 0; g < entries.size(); ++g) {
        if (g % kGroup == 0)
            starts.push_back(offset);
        longest = std::max(longest, coded.glyphs[g].size());
        offset += static_cast<std::uint32_t>(coded.glyphs[g].size());
    }
    int lengthBits = 1;
    while ((std::size_t{1} << lengthBits) <= longest)
        ++lengthBits;
    // A glyph of 64 x 64 dots of 8 bits codes to about 4 KB at worst: 13 bits.
    if (lengthBits > 17)
        throw std::logic_error("compressed header: a glyph's coded bytes do not fit a length field");
    // Two bytes more than the fields fill: a field is read from the three bytes it starts in.
    std::vector<int> lengths((entries.size() * static_cast<std::size_t>(lengthBits) + 7) / 8 + 2);
    for (std::size_t g = 0; g < entries.size(); ++g)
        for (int b = 0; b < lengthBits; ++b)
            if ((coded.glyphs[g].size() >> b) & 1) {
                const std::size_t at = g * static_cast<std::size_t>(lengthBits) + static_cast<std::size_t>(b);
                lengths[at / 8] |= 1 << (at % 8);
            }
    const bool starts16 = offset <= 0xFFFF;

    // The keys as a list or as pages of marks, whichever is smaller.
    const KeyPages pages = keyPages(entries);
    const bool ranks16 = entries.size() <= 0xFFFF;
    const std::size_t listBytes = tableBytes(entries.size(), shape.keys16 ? 2 : 4);
    const std::size_t pageBytes = tableBytes(pages.pages.size(), 2) + tableBytes(pages.ranks.size(), ranks16 ? 2 : 4) +
                                  tableBytes(pages.marks.size(), 1);
    const bool keyPagesChosen = !entries.empty() && pageBytes < listBytes;

    out += "/* The chance of a 0 in 256ths for each context, " + std::to_string(coded.model.contextBits) +
           " neighbours. */\n";
    std::vector<int> chances(coded.model.chances.begin(), coded.model.chances.end());
    appendValues(out, dialect.u8, name, "model", chances, 16);
    appendData(out, name, dialect, entries, coded);
    out += "\n";
    out += "/* Each glyph's coded bytes, " + std::to_string(lengthBits) + " bits a glyph, the lowest first. */\n";
    appendValues(out, dialect.u8, name, "lengths", lengths, 16, 2);
    appendValues(out, starts16 ? dialect.u16 : dialect.u32, name, "starts", starts, 8);
    std::size_t bytes = tableBytes(chances.size(), 1) + tableBytes(coded.dataBytes, 1) + tableBytes(lengths.size(), 1) +
                        tableBytes(starts.size(), starts16 ? 2 : 4);
    if (keyPagesChosen) {
        appendValues(out, dialect.u16, name, "pages", pages.pages, 8, 4);
        appendValues(out, ranks16 ? dialect.u16 : dialect.u32, name, "ranks", pages.ranks, 8);
        appendValues(out, dialect.u8, name, "marks", pages.marks, 16, 2);
        bytes += pageBytes;
    }
    bytes += appendKeyTables(out, name, dialect, entries, key, shape, keyPagesChosen);
    out += "\n";

    std::string code;
    code = R"(/* Decodes the glyph of key into out, NAME_GLYPH_BYTES(width, height) bytes (NAME_MAX_BYTES at most),
 * in the layout above; returns 1, or 0 with width and height 0 and out untouched when there is no
 * such key. Width and height may be NULL. */
)";
    code = (dialect.c89 ? std::string(kC89Unused) : std::string()) + code;
    code += dialect.c89 ? "static NAME_UNUSED uint8_t " : "static inline uint8_t ";
    code += R"(NAME_glyph(uint32_t key, uint8_t *out, uint8_t *width, uint8_t *height)
{
    /* Two rows of levels, the one above and the one above that, with clear dots beyond each side.
     * This row's levels take the place of the upper one's from the left, three dots behind. */
    uint8_t rows[2][NAME_MAX_WIDTH + 6];
    uint8_t *r0 = rows[0];
    uint8_t *r1 = rows[1];
    uint8_t *spare;
    uint32_t at, end, range, code, bound;
    size_t low, high, mid, i, j;
    unsigned x, y, w, h, level, bit, context, tc, tr, c1, c2, c3@PLANEVARS@;
@FIND@    w = @WIDTH@;
    h = @HEIGHT@;
    if (width != NULL)
        *width = (uint8_t)w;
    if (height != NULL)
        *height = (uint8_t)h;
    /* The glyph's bytes: from the start of its group of 64 past the lengths of those before it. */
#define NAME_LENGTH(n) \
    ((NAME_READ8(&NAME_lengths[(n) * @LENGTHBITS@ / 8]) | \
      (uint32_t)NAME_READ8(&NAME_lengths[(n) * @LENGTHBITS@ / 8 + 1]) << 8 | \
      (uint32_t)NAME_READ8(&NAME_lengths[(n) * @LENGTHBITS@ / 8 + 2]) << 16) >> ((n) * @LENGTHBITS@ % 8) & @LENGTHMASK@)
    at = @STARTREAD@(&NAME_starts[i / @GROUP@]);
    for (j = i - i % @GROUP@; j < i; ++j)
        at += NAME_LENGTH(j);
    end = at + NAME_LENGTH(i);
#undef NAME_LENGTH
    for (j = 0; j < (size_t)NAME_GLYPH_BYTES(w, h); ++j)
        out[j] = 0;
    for (y = 0; y < 2; ++y)
        for (x = 0; x < NAME_MAX_WIDTH + 6; ++x)
            rows[y][x] = 0;
#define NAME_NEXT (at < end ? NAME_READ8(&NAME_data[at++]) : 0u)
    range = 0xFFFFFFFFUL;
    code = 0;
    for (j = 0; j < 4; ++j)
        code = (code << 8) | NAME_NEXT;
    for (y = 0; y < h; ++y) {
        c1 = c2 = c3 = 0;
        for (x = 0; x < w; ++x) {
            r0[x] = (uint8_t)c3;
@DOT@@PUT@            c3 = c2;
            c2 = c1;
            c1 = level;
        }
        r0[w] = (uint8_t)c3;
        r0[w + 1] = (uint8_t)c2;
        r0[w + 2] = (uint8_t)c1;
        spare = r0;
        r0 = r1;
        r1 = spare;
    }
#undef NAME_NEXT
    return 1;
}
)";
    code = replaced(code, {{"@PLANEVARS@", layout.bpp > 1 ? ", plane, shift" : ""},
                           {"@FIND@", keyPagesChosen ? pageFinder(pages.pages.size(), ranks16) : listFinder()},
                           {"@KEYREAD@", shape.keys16 ? "NAME_READ16" : "NAME_READ32"},
                           {"@WIDTH@", widthRead(shape, "i")},
                           {"@HEIGHT@", heightRead(shape, "i")},
                           {"@STARTREAD@", starts16 ? "NAME_READ16" : "NAME_READ32"},
                           {"@GROUP@", std::to_string(kGroup)},
                           {"@LENGTHBITS@", std::to_string(lengthBits)},
                           {"@LENGTHMASK@", std::to_string((1U << lengthBits) - 1) + "u"},
                           {"@DOT@", dotDecoder(layout, coded.model.contextBits)},
                           {"@PUT@", dotWriter(layout)}});
    out += named(typed(code, dialect), name);
    return bytes;
}

} // namespace hz::header_text
