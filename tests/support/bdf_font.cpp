#include "bdf_font.h"

#include <algorithm>
#include <cstdio>

namespace hz::test {
namespace {

std::string hexRow(const std::string& row) {
    std::string hex;
    const std::size_t bytes = (row.size() + 7) / 8;
    for (std::size_t b = 0; b < bytes; ++b) {
        unsigned value = 0;
        for (std::size_t bit = 0; bit < 8; ++bit) {
            const std::size_t x = b * 8 + bit;
            if (x < row.size() && row[x] == '#')
                value |= 0x80u >> bit;
        }
        char text[3];
        std::snprintf(text, sizeof text, "%02X", value);
        hex += text;
    }
    return hex;
}

} // namespace

std::string BdfFont::text() const {
    int left = 0, bottom = -descent, right = pixelSize, top = ascent;
    for (const BdfGlyph& g : glyphs) {
        const int width = g.rows.empty() ? 0 : static_cast<int>(g.rows.front().size());
        left = std::min(left, g.xOffset);
        bottom = std::min(bottom, g.yOffset);
        right = std::max(right, g.xOffset + width);
        top = std::max(top, g.yOffset + static_cast<int>(g.rows.size()));
    }
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    const std::string size = std::to_string(pixelSize);
    line("STARTFONT 2.1");
    line("FONT -test-dots-medium-r-normal--" + size + "-" + size + "0-75-75-c-" + size + "0-" + registry + "-" +
         encoding);
    line("SIZE " + size + " 75 75");
    line("FONTBOUNDINGBOX " + std::to_string(right - left) + " " + std::to_string(top - bottom) + " " +
         std::to_string(left) + " " + std::to_string(bottom));
    line("STARTPROPERTIES 5");
    line("PIXEL_SIZE " + size);
    line("FONT_ASCENT " + std::to_string(ascent));
    line("FONT_DESCENT " + std::to_string(descent));
    line("CHARSET_REGISTRY \"" + registry + "\"");
    line("CHARSET_ENCODING \"" + encoding + "\"");
    line("ENDPROPERTIES");
    line("CHARS " + std::to_string(glyphs.size()));
    for (const BdfGlyph& g : glyphs) {
        const int width = g.rows.empty() ? 0 : static_cast<int>(g.rows.front().size());
        line("STARTCHAR c" + std::to_string(g.encoding));
        line("ENCODING " + std::to_string(g.encoding));
        line("SWIDTH 1000 0");
        line("DWIDTH " + (g.advance > 0 ? std::to_string(g.advance) : size) + " 0");
        line("BBX " + std::to_string(width) + " " + std::to_string(g.rows.size()) + " " + std::to_string(g.xOffset) +
             " " + std::to_string(g.yOffset));
        if (g.bitmapSection) {
            line("BITMAP");
            for (const std::string& row : g.rows)
                line(hexRow(row));
        }
        line("ENDCHAR");
    }
    line("ENDFONT");
    return out;
}

BdfGlyph frameGlyph(std::uint32_t encoding, int width, int height, int xOffset, int yOffset) {
    BdfGlyph glyph{encoding, xOffset, yOffset, {}};
    for (int y = 0; y < height; ++y) {
        std::string row(width, '.');
        for (int x = 0; x < width; ++x) {
            if (y == 0 || y == height - 1 || x == 0 || x == width - 1)
                row[x] = '#';
        }
        glyph.rows.push_back(row);
    }
    return glyph;
}

BdfFont latinFont() {
    BdfFont font;
    BdfGlyph a = frameGlyph('A', 6, 10, 1, 0);
    a.advance = 8;
    font.glyphs.push_back(a);
    return font;
}

} // namespace hz::test
