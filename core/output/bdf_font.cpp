#include "core/output/bdf_font.h"

#include <algorithm>
#include <cstdio>

namespace hz {

namespace {

// An XLFD field or a property string: no '-' (the field separator), no '"' (the string quote), no
// '?' or '*' (XLFD wildcards), nothing outside printable ASCII.
std::string xlfdField(std::string_view text) {
    std::string field;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        field += (u < 0x20 || u >= 0x7F || c == '-' || c == '"' || c == '?' || c == '*') ? ' ' : c;
    }
    while (!field.empty() && field.back() == ' ')
        field.pop_back();
    return field.empty() ? "HzDot" : field;
}

// A COMMENT line's text: one line, printable.
std::string commentLine(std::string_view text) {
    std::string line;
    for (char c : text)
        line += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return line;
}

std::string glyphName(char32_t c) {
    char name[16];
    std::snprintf(name, sizeof name, c > 0xFFFF ? "u%05X" : "uni%04X", static_cast<unsigned>(c));
    return name;
}

void appendGlyph(std::string& out, const FontGlyph& glyph, int baseline, int pixels) {
    const DotCell& cell = glyph.cell;
    const GlyphBox box = glyphBox(cell, baseline);
    const int advance = cell.width();
    out += "STARTCHAR " + glyphName(glyph.character) + "\n";
    out += "ENCODING " + std::to_string(static_cast<unsigned>(glyph.character)) + "\n";
    out += "SWIDTH " + std::to_string((advance * 1000 + pixels / 2) / pixels) + " 0\n";
    out += "DWIDTH " + std::to_string(advance) + " 0\n";
    out += "BBX " + std::to_string(box.width) + " " + std::to_string(box.height) + " " + std::to_string(box.x) +
           " " + std::to_string(box.y) + "\n";
    out += "BITMAP\n";
    static const char kHex[] = "0123456789ABCDEF";
    const int rowBytes = (box.width + 7) / 8;
    for (int row = 0; row < box.height; ++row) {
        const std::uint64_t bits = cell.row(baseline - box.top() + row) << box.x;
        for (int b = 0; b < rowBytes; ++b) {
            const auto byte = static_cast<unsigned>((bits >> (56 - 8 * b)) & 0xFF);
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
        out += '\n';
    }
    out += "ENDCHAR\n";
}

} // namespace

std::string makeBdfFont(const BdfFontInput& input) {
    std::vector<const FontGlyph*> glyphs;
    glyphs.reserve(input.glyphs.size());
    for (const FontGlyph& glyph : input.glyphs)
        glyphs.push_back(&glyph);
    std::sort(glyphs.begin(), glyphs.end(),
              [](const FontGlyph* a, const FontGlyph* b) { return a->character < b->character; });

    const int pixels = std::max(1, input.cellHeight);
    const GlyphBox box = fontBox(input.glyphs, input.baseline);
    const int ascent = input.baseline;
    const int descent = input.cellHeight - input.baseline;

    // One advance for all: a character-cell font; else proportional.
    bool oneAdvance = true;
    long advances = 0;
    for (const FontGlyph* glyph : glyphs) {
        advances += glyph->cell.width();
        oneAdvance = oneAdvance && glyph->cell.width() == glyphs.front()->cell.width();
    }
    const std::string spacing = oneAdvance ? "C" : "P";
    const long averageWidth = glyphs.empty() ? 0 : (advances * 10 + static_cast<long>(glyphs.size()) / 2) /
                                                       static_cast<long>(glyphs.size());
    const std::string family = xlfdField(input.family);
    const std::string px = std::to_string(pixels);
    const std::string pt = std::to_string(pixels * 10);
    // DEFAULT_CHAR names a glyph the font has: the space when there is one.
    char32_t defaultChar = glyphs.empty() ? U' ' : glyphs.front()->character;
    for (const FontGlyph* glyph : glyphs)
        if (glyph->character == U' ')
            defaultChar = U' ';

    std::string out;
    out.reserve(64 * glyphs.size() + 1024);
    out += "STARTFONT 2.1\n";
    out += "COMMENT made by HzDot from " + commentLine(input.description) + "\n";
    out += "FONT -HzDot-" + family + "-Medium-R-Normal--" + px + "-" + pt + "-72-72-" + spacing + "-" +
           std::to_string(averageWidth) + "-ISO10646-1\n";
    out += "SIZE " + px + " 72 72\n";
    out += "FONTBOUNDINGBOX " + std::to_string(box.width) + " " + std::to_string(box.height) + " " +
           std::to_string(box.x) + " " + std::to_string(box.y) + "\n";
    const std::vector<std::string> properties = {
        "FOUNDRY \"HzDot\"",
        "FAMILY_NAME \"" + family + "\"",
        "WEIGHT_NAME \"Medium\"",
        "SLANT \"R\"",
        "SETWIDTH_NAME \"Normal\"",
        "ADD_STYLE_NAME \"\"",
        "PIXEL_SIZE " + px,
        "POINT_SIZE " + pt,
        "RESOLUTION_X 72",
        "RESOLUTION_Y 72",
        "SPACING \"" + spacing + "\"",
        "AVERAGE_WIDTH " + std::to_string(averageWidth),
        "CHARSET_REGISTRY \"ISO10646\"",
        "CHARSET_ENCODING \"1\"",
        "FONT_ASCENT " + std::to_string(ascent),
        "FONT_DESCENT " + std::to_string(descent),
        "DEFAULT_CHAR " + std::to_string(static_cast<unsigned>(defaultChar)),
        // Every glyph stands in a cell of this height on the font's own baseline: HzDot reads the
        // font back with its placement as it is.
        "HZDOT_CELL_SIZE " + px,
    };
    out += "STARTPROPERTIES " + std::to_string(properties.size()) + "\n";
    for (const std::string& property : properties)
        out += property + "\n";
    out += "ENDPROPERTIES\n";
    out += "CHARS " + std::to_string(glyphs.size()) + "\n";
    for (const FontGlyph* glyph : glyphs)
        appendGlyph(out, *glyph, input.baseline, pixels);
    out += "ENDFONT\n";
    return out;
}

} // namespace hz
