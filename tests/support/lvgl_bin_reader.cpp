#include "lvgl_bin_reader.h"

#include <cstdio>

namespace hz::test {
namespace {

struct Cursor {
    const std::vector<std::uint8_t>& bytes;
    std::size_t at;
    bool ok = true;
    std::uint32_t le(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) {
            if (at + i >= bytes.size()) {
                ok = false;
                return 0;
            }
            v |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
        }
        at += static_cast<std::size_t>(n);
        return v;
    }
};

struct Bits {
    const std::vector<std::uint8_t>& bytes;
    std::size_t bit;
    std::size_t end; // in bits
    bool ok = true;
    std::uint32_t read(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++bit) {
            if (bit >= end) {
                ok = false;
                return 0;
            }
            v = (v << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1U);
        }
        return v;
    }
    int readSigned(int n) {
        const std::uint32_t v = read(n);
        return n > 0 && (v >> (n - 1)) & 1U ? static_cast<int>(v) - (1 << n) : static_cast<int>(v);
    }
};

std::string tagAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return at + 8 <= bytes.size() ? std::string(bytes.begin() + static_cast<long>(at) + 4, bytes.begin() + static_cast<long>(at) + 8)
                                  : std::string();
}

} // namespace

std::optional<LvglBinFont> readLvglBin(const std::vector<std::uint8_t>& file, std::string& error) {
    LvglBinFont font;
    std::map<std::string, std::pair<std::size_t, std::size_t>> tables; // tag -> start, size
    for (std::size_t at = 0; at < file.size();) {
        Cursor c{file, at};
        const std::uint32_t size = c.le(4);
        if (!c.ok || size < 8 || at + size > file.size()) {
            error = "a table's size runs past the file at " + std::to_string(at);
            return std::nullopt;
        }
        const std::string tag = tagAt(file, at);
        font.tags.push_back(tag);
        tables[tag] = {at, size};
        at += size;
    }
    for (const char* needed : {"head", "cmap", "loca", "glyf"})
        if (!tables.count(needed)) {
            error = std::string("no ") + needed + " table";
            return std::nullopt;
        }
    font.kern = tables.count("kern") != 0;

    // The head as LVGL's loader reads it: a 32-bit version, then 16-bit fields, then bytes.
    Cursor h{file, tables["head"].first + 8};
    h.le(4); // version
    h.le(2); // table count
    font.fontSize = static_cast<int>(h.le(2));
    font.ascent = static_cast<int>(h.le(2));
    font.descent = static_cast<std::int16_t>(h.le(2));
    h.le(2), h.le(2), h.le(2), h.le(2), h.le(2); // typographic ascent, descent, gap; min and max y
    const int defaultAdvance = static_cast<int>(h.le(2));
    h.le(2); // kerning scale
    const int locaFormat = static_cast<int>(h.le(1));
    h.le(1); // glyph id format
    const int advanceFormat = static_cast<int>(h.le(1));
    font.bpp = static_cast<int>(h.le(1));
    const int xyBits = static_cast<int>(h.le(1));
    const int whBits = static_cast<int>(h.le(1));
    const int advBits = static_cast<int>(h.le(1));
    font.compression = static_cast<int>(h.le(1));
    h.le(1), h.le(1), h.le(2), h.le(2); // subpixels, padding; underline position and thickness
    if (!h.ok || h.at > tables["head"].first + tables["head"].second) {
        error = "the head table is short";
        return std::nullopt;
    }

    const std::size_t cmapAt = tables["cmap"].first;
    Cursor cm{file, cmapAt + 8};
    const std::uint32_t subtables = cm.le(4);
    for (std::uint32_t i = 0; i < subtables && cm.ok; ++i) {
        const std::uint32_t dataOffset = cm.le(4);
        const std::uint32_t start = cm.le(4);
        const std::uint32_t length = cm.le(2);
        const std::uint32_t idOffset = cm.le(2);
        const std::uint32_t entries = cm.le(2);
        const std::uint32_t type = cm.le(1);
        cm.le(1);
        if (type == 2) {
            for (std::uint32_t k = 0; k < length; ++k)
                font.glyphIds[start + k] = static_cast<int>(idOffset + k);
        } else if (type == 3) {
            Cursor d{file, cmapAt + dataOffset};
            for (std::uint32_t k = 0; k < entries; ++k) {
                const std::uint32_t code = d.le(2);
                if (code >= length) {
                    error = "a sparse code lies outside its range";
                    return std::nullopt;
                }
                font.glyphIds[start + code] = static_cast<int>(idOffset + k);
            }
            if (!d.ok) {
                error = "a sparse list runs past the file";
                return std::nullopt;
            }
        } else {
            error = "cmap subtable type " + std::to_string(type);
            return std::nullopt;
        }
    }

    Cursor lo{file, tables["loca"].first + 8};
    const std::uint32_t count = lo.le(4);
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < count; ++i)
        offsets.push_back(lo.le(locaFormat == 0 ? 2 : 4));
    if (!lo.ok) {
        error = "the loca table is short";
        return std::nullopt;
    }
    const auto [glyfAt, glyfSize] = tables["glyf"];
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? offsets[i + 1] : glyfSize;
        if (offsets[i] > end || end > glyfSize) {
            error = "glyph " + std::to_string(i) + " lies outside glyf";
            return std::nullopt;
        }
        Bits b{file, (glyfAt + offsets[i]) * 8, (glyfAt + end) * 8};
        LvglBinGlyph g;
        if (offsets[i] == end) { // an empty record: no glyph (glyph id 0)
            font.glyphs.push_back(std::move(g));
            continue;
        }
        g.advance16 = advBits == 0 ? defaultAdvance : static_cast<int>(b.read(advBits));
        if (advanceFormat == 0)
            g.advance16 *= 16;
        g.x = b.readSigned(xyBits);
        g.y = b.readSigned(xyBits);
        g.width = static_cast<int>(b.read(whBits));
        g.height = static_cast<int>(b.read(whBits));
        for (int k = 0; k < g.width * g.height; ++k)
            g.levels.push_back(static_cast<int>(b.read(font.bpp)));
        if (!b.ok) {
            error = "glyph " + std::to_string(i) + "'s record is short";
            return std::nullopt;
        }
        font.glyphs.push_back(std::move(g));
    }
    return font;
}

std::string drawLvglBin(const LvglBinFont& font, const std::vector<std::uint32_t>& codes) {
    const int line = font.ascent - font.descent;
    const int base = -font.descent;
    std::string out = "line " + std::to_string(line) + " base " + std::to_string(base) + " bpp " +
                      std::to_string(font.bpp) + " format " + std::to_string(font.compression) + " kern " +
                      std::to_string(font.kern ? 1 : 0) + "\n";
    char text[32];
    for (std::uint32_t code : codes) {
        const auto it = font.glyphIds.find(code);
        if (it == font.glyphIds.end() || it->second == 0 || it->second >= static_cast<int>(font.glyphs.size())) {
            std::snprintf(text, sizeof text, "U+%04X none\n", code);
            out += text;
            continue;
        }
        const LvglBinGlyph& g = font.glyphs[static_cast<std::size_t>(it->second)];
        std::snprintf(text, sizeof text, "U+%04X adv %d\n", code, g.advance16);
        out += text;
        const int width = g.advance16 / 16;
        std::vector<std::vector<int>> grid(static_cast<std::size_t>(line), std::vector<int>(static_cast<std::size_t>(width), 0));
        const int top = (line - base) - g.y - g.height;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const int gx = g.x + x;
                const int gy = top + y;
                if (gx < 0 || gx >= width || gy < 0 || gy >= line) {
                    out += "dot outside the line\n";
                    continue;
                }
                grid[static_cast<std::size_t>(gy)][static_cast<std::size_t>(gx)] = g.levels[static_cast<std::size_t>(y * g.width + x)];
            }
        for (const auto& row : grid) {
            for (int level : row) {
                std::snprintf(text, sizeof text, "%02x", level);
                out += level == 0 ? " ." : text;
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace hz::test
