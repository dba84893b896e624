#include "core/output/u8g2_font.h"

#include <algorithm>
#include <limits>

namespace hz {

namespace {

// Bits a field needs for an unsigned value up to `high` (at least one).
int unsignedBits(int high) {
    int bits = 1;
    while ((1 << bits) <= high)
        ++bits;
    return bits;
}

// Bits a field needs for signed values low..high, stored plus 2^(bits-1).
int signedBits(int low, int high) {
    int bits = 1;
    while (low < -(1 << (bits - 1)) || high > (1 << (bits - 1)) - 1)
        ++bits;
    return bits;
}

// The least significant bit of each byte first, as u8g2 reads its fields.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out(out) {}
    void put(unsigned value, int bits) {
        for (int i = 0; i < bits; ++i) {
            if (used == 0)
                out.push_back(0);
            out.back() = static_cast<std::uint8_t>(out.back() | (((value >> i) & 1U) << used));
            used = (used + 1) & 7;
        }
    }

private:
    std::vector<std::uint8_t>& out;
    int used = 0; // bits of the last byte already written
};

class BitCounter {
public:
    void put(unsigned, int bits) { count += static_cast<std::size_t>(bits); }
    std::size_t count = 0;
};

// A glyph's dots as alternating runs: clear dots, then set dots, row after row through the box.
struct Run {
    int clear = 0;
    int set = 0;
};

struct Prepared {
    const FontGlyph* glyph = nullptr;
    GlyphBox box;
    std::vector<Run> runs;
};

std::vector<Run> runsOf(const DotCell& cell, const GlyphBox& box, int baseline) {
    std::vector<Run> runs;
    Run run;
    for (int row = 0; row < box.height; ++row) {
        for (int col = 0; col < box.width; ++col) {
            if (boxDot(cell, box, baseline, col, row)) {
                ++run.set;
            } else {
                if (run.set > 0) {
                    runs.push_back(run);
                    run = {};
                }
                ++run.clear;
            }
        }
    }
    if (run.clear > 0 || run.set > 0)
        runs.push_back(run);
    return runs;
}

// The run pairs as written: runs longer than a field holds are split, a clear run into pairs with
// no set dots, a set run into pairs with no clear dots. A pair equal to the one before is a 1 bit.
template <class Sink>
void putRuns(const std::vector<Run>& runs, int zeroBits, int oneBits, Sink& sink) {
    const int maxClear = (1 << zeroBits) - 1;
    const int maxSet = (1 << oneBits) - 1;
    bool open = false;
    Run last;
    auto pair = [&](int clear, int set) {
        if (open && clear == last.clear && set == last.set) {
            sink.put(1, 1);
            return;
        }
        if (open)
            sink.put(0, 1);
        sink.put(static_cast<unsigned>(clear), zeroBits);
        sink.put(static_cast<unsigned>(set), oneBits);
        last = {clear, set};
        open = true;
    };
    for (Run run : runs) {
        while (run.clear > maxClear) {
            pair(maxClear, 0);
            run.clear -= maxClear;
        }
        int set = std::min(run.set, maxSet);
        pair(run.clear, set);
        for (run.set -= set; run.set > 0; run.set -= set) {
            set = std::min(run.set, maxSet);
            pair(0, set);
        }
    }
    if (open)
        sink.put(0, 1);
}

struct Fields {
    int width = 1;
    int height = 1;
    int x = 1;
    int y = 1;
    int advance = 1;
    int zero = 2;
    int one = 2;

    int glyphHeaderBits() const { return width + height + x + y + advance; }
};

template <class Sink>
void putGlyphBits(const Prepared& p, const Fields& f, Sink& sink) {
    const int advance = p.glyph->cell.width();
    sink.put(static_cast<unsigned>(p.box.width), f.width);
    sink.put(static_cast<unsigned>(p.box.height), f.height);
    sink.put(static_cast<unsigned>(p.box.x + (1 << (f.x - 1))), f.x);
    sink.put(static_cast<unsigned>(p.box.y + (1 << (f.y - 1))), f.y);
    sink.put(static_cast<unsigned>(advance + (1 << (f.advance - 1))), f.advance);
    if (!p.box.empty())
        putRuns(p.runs, f.zero, f.one, sink);
}

std::size_t codeBytes(char32_t c) {
    return c < 0x100 ? 1 : 2;
}

// Glyphs enough to choose the run field widths by: a font's glyphs share their strokes' widths
// and spacing, so an even sample of a large font chooses as the whole font would.
constexpr std::size_t kRunSample = 512;

// The run field widths that make the font smallest, with its glyphs' box fields fixed.
void chooseRunBits(const std::vector<Prepared>& glyphs, Fields& f) {
    std::vector<const Prepared*> sample;
    const std::size_t stride = glyphs.size() / kRunSample + 1;
    for (std::size_t i = 0; i < glyphs.size(); i += stride)
        sample.push_back(&glyphs[i]);
    std::size_t best = std::numeric_limits<std::size_t>::max();
    Fields trial = f;
    for (trial.zero = 1; trial.zero <= 8; ++trial.zero) {
        for (trial.one = 1; trial.one <= 8; ++trial.one) {
            std::size_t total = 0;
            for (const Prepared* p : sample) {
                BitCounter counter;
                putRuns(p->runs, trial.zero, trial.one, counter);
                total += (counter.count + static_cast<std::size_t>(f.glyphHeaderBits()) + 7) / 8;
                if (total >= best)
                    break;
            }
            if (total < best) {
                best = total;
                f.zero = trial.zero;
                f.one = trial.one;
            }
        }
    }
}

std::vector<std::uint8_t> glyphBytes(const Prepared& p, const Fields& f) {
    std::vector<std::uint8_t> bytes;
    const char32_t c = p.glyph->character;
    if (c >= 0x100)
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(0); // the size, known once the bits are written
    BitWriter writer(bytes);
    putGlyphBits(p, f, writer);
    if (bytes.size() <= kU8g2MaxGlyphBytes)
        bytes[codeBytes(c)] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

void putWord(std::vector<std::uint8_t>& out, std::size_t at, std::size_t value) {
    out[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

void appendWord(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint8_t signedByte(int value) {
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(value));
}

// Glyphs a block of the Unicode lookup table: a lookup walks the table, then one block.
constexpr std::size_t kBlockGlyphs = 64;

} // namespace

U8g2Font makeU8g2Font(const U8g2FontInput& input) {
    U8g2Font font;
    std::vector<Prepared> prepared;
    prepared.reserve(input.glyphs.size());
    for (const FontGlyph& glyph : input.glyphs) {
        if (glyph.character > 0xFFFF) {
            font.leftOut.push_back({glyph.position, glyph.character, U8g2Refusal::BeyondBmp, 0});
            continue;
        }
        Prepared p;
        p.glyph = &glyph;
        p.box = glyphBox(glyph.cell, input.baseline);
        if (!p.box.empty())
            p.runs = runsOf(glyph.cell, p.box, input.baseline);
        prepared.push_back(std::move(p));
    }
    std::sort(prepared.begin(), prepared.end(),
              [](const Prepared& a, const Prepared& b) { return a.glyph->character < b.glyph->character; });

    Fields f;
    int maxWidth = 0, maxHeight = 0, minX = 0, maxX = 0, minY = 0, maxY = 0, minAdvance = 0, maxAdvance = 0;
    for (const Prepared& p : prepared) {
        maxWidth = std::max(maxWidth, p.box.width);
        maxHeight = std::max(maxHeight, p.box.height);
        minX = std::min(minX, p.box.x);
        maxX = std::max(maxX, p.box.x);
        minY = std::min(minY, p.box.y);
        maxY = std::max(maxY, p.box.y);
        minAdvance = std::min(minAdvance, p.glyph->cell.width());
        maxAdvance = std::max(maxAdvance, p.glyph->cell.width());
    }
    f.width = unsignedBits(maxWidth);
    f.height = unsignedBits(maxHeight);
    f.x = signedBits(minX, maxX);
    f.y = signedBits(minY, maxY);
    f.advance = signedBits(minAdvance, maxAdvance);
    chooseRunBits(prepared, f);

    // Glyphs too large for their one-byte size field are left out and said so.
    std::vector<std::pair<const Prepared*, std::vector<std::uint8_t>>> coded;
    for (const Prepared& p : prepared) {
        std::vector<std::uint8_t> bytes = glyphBytes(p, f);
        if (bytes.size() > kU8g2MaxGlyphBytes) {
            font.leftOut.push_back({p.glyph->position, p.glyph->character, U8g2Refusal::TooLarge, bytes.size()});
            continue;
        }
        coded.emplace_back(&p, std::move(bytes));
    }
    std::sort(font.leftOut.begin(), font.leftOut.end(),
              [](const U8g2LeftOut& a, const U8g2LeftOut& b) { return a.position < b.position; });
    font.glyphCount = coded.size();

    std::vector<FontGlyph> kept;
    for (const auto& c : coded)
        kept.push_back(*c.first->glyph);
    const GlyphBox fbox = fontBox(kept, input.baseline);
    auto boxOf = [&](char32_t c) -> const GlyphBox* {
        for (const auto& k : coded)
            if (k.first->glyph->character == c)
                return &k.first->box;
        return nullptr;
    };
    // Without the letter, the font's own box stands in: its top for an ascent, its bottom for a
    // descent, so a line of hanzi still gets its height.
    auto ascentOf = [&](char32_t c) { const GlyphBox* b = boxOf(c); return b && !b->empty() ? b->top() : fbox.top(); };
    auto descentOf = [&](char32_t c) { const GlyphBox* b = boxOf(c); return b && !b->empty() ? b->y : fbox.y; };

    std::vector<std::uint8_t>& out = font.bytes;
    out.assign(kU8g2HeaderSize, 0);
    out[0] = static_cast<std::uint8_t>(std::min<std::size_t>(coded.size(), 255));
    out[1] = 0;
    out[2] = static_cast<std::uint8_t>(f.zero);
    out[3] = static_cast<std::uint8_t>(f.one);
    out[4] = static_cast<std::uint8_t>(f.width);
    out[5] = static_cast<std::uint8_t>(f.height);
    out[6] = static_cast<std::uint8_t>(f.x);
    out[7] = static_cast<std::uint8_t>(f.y);
    out[8] = static_cast<std::uint8_t>(f.advance);
    out[9] = static_cast<std::uint8_t>(fbox.width);
    out[10] = static_cast<std::uint8_t>(fbox.height);
    out[11] = signedByte(fbox.x);
    out[12] = signedByte(fbox.y);
    out[13] = signedByte(ascentOf(U'A'));
    out[14] = signedByte(descentOf(U'g'));
    out[15] = signedByte(ascentOf(U'('));
    out[16] = signedByte(descentOf(U'('));

    std::size_t upperA = std::string::npos;
    std::size_t lowerA = std::string::npos;
    std::size_t k = 0;
    for (; k < coded.size() && coded[k].first->glyph->character < 0x100; ++k) {
        const char32_t c = coded[k].first->glyph->character;
        const std::size_t at = out.size() - kU8g2HeaderSize;
        if (upperA == std::string::npos && c >= U'A')
            upperA = at;
        if (lowerA == std::string::npos && c >= U'a')
            lowerA = at;
        out.insert(out.end(), coded[k].second.begin(), coded[k].second.end());
    }
    const std::size_t asciiEnd = out.size() - kU8g2HeaderSize;
    out.push_back(0);
    out.push_back(0);
    putWord(out, 17, upperA == std::string::npos ? asciiEnd : upperA);
    putWord(out, 19, lowerA == std::string::npos ? asciiEnd : lowerA);
    putWord(out, 21, out.size() - kU8g2HeaderSize);

    // The lookup table: one entry a block and the closing one.
    const std::size_t first = k;
    const std::size_t blocks = (coded.size() - first + kBlockGlyphs - 1) / kBlockGlyphs;
    std::vector<std::size_t> blockSizes;
    std::vector<char32_t> blockLast;
    for (std::size_t b = 0; b < blocks; ++b) {
        std::size_t size = 0;
        const std::size_t end = std::min(coded.size(), first + (b + 1) * kBlockGlyphs);
        for (std::size_t i = first + b * kBlockGlyphs; i < end; ++i)
            size += coded[i].second.size();
        blockSizes.push_back(size);
        blockLast.push_back(coded[end - 1].first->glyph->character);
    }
    std::size_t offset = 4 * (blocks + 1);
    for (std::size_t b = 0; b < blocks; ++b) {
        appendWord(out, offset);
        appendWord(out, blockLast[b]);
        offset = blockSizes[b];
    }
    appendWord(out, offset);
    appendWord(out, 0xFFFF);
    for (std::size_t i = first; i < coded.size(); ++i)
        out.insert(out.end(), coded[i].second.begin(), coded[i].second.end());
    out.push_back(0);
    out.push_back(0);
    return font;
}

namespace {

// A text of the user's inside a /* */ comment: nothing that could end it, splice a line or form a
// trigraph.
std::string commentSafe(std::string_view text) {
    std::string safe;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        safe += (u < 0x20 || u == 0x7F || c == '*' || c == '\\' || c == '?') ? '_' : c;
    }
    return safe;
}

} // namespace

std::string u8g2CText(const U8g2Font& font, std::string_view name, std::string_view description) {
    const std::string n(name);
    std::string text;
    text += "/* " + n + ": a u8g2 font of " + std::to_string(font.glyphCount) + " glyphs, " +
            std::to_string(font.bytes.size()) + " bytes, made by HzDot from " + commentSafe(description) +
            ".\n   Draw with it: u8g2_SetFont(&u8g2, " + n + "); u8g2_DrawUTF8(&u8g2, x, y, \"...\");\n"
            "   (C++: u8g2.setFont(" + n + "); u8g2.drawUTF8(x, y, \"...\");) and declare it where it is used:\n"
            "   extern const uint8_t " + n + "[]; */\n\n";
    text += "#include <stdint.h>\n\n";
    text += "#ifndef U8G2_FONT_SECTION\n"
            "#if defined(__AVR__)\n"
            "#include <avr/pgmspace.h>\n"
            "#define U8G2_FONT_SECTION(name) PROGMEM\n"
            "#else\n"
            "#define U8G2_FONT_SECTION(name)\n"
            "#endif\n"
            "#endif\n\n";
    // Declared extern first: compiled as C++, a const array would otherwise be local to its file.
    const std::string array = n + "[" + std::to_string(font.bytes.size()) + "]";
    text += "extern const uint8_t " + array + ";\n";
    text += "const uint8_t " + array + " U8G2_FONT_SECTION(\"" + n + "\") = {\n";
    static const char kDigits[] = "0123456789ABCDEF";
    text.reserve(text.size() + font.bytes.size() * 6 + 16);
    for (std::size_t i = 0; i < font.bytes.size(); ++i) {
        if (i % 16 == 0)
            text += "    ";
        const char hex[4] = {'0', 'x', kDigits[font.bytes[i] >> 4], kDigits[font.bytes[i] & 15]};
        text.append(hex, 4);
        if (i + 1 < font.bytes.size())
            text += (i % 16 == 15) ? ",\n" : ", ";
    }
    text += "\n};\n";
    return text;
}

} // namespace hz
