#include "core/output/lvgl_font_bin.h"

#include <algorithm>
#include <stdexcept>

namespace hz {
namespace {

class Bytes {
public:
    void u8(unsigned v) { out.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void tag(const char (&t)[5]) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<unsigned char>(t[i]));
    }
    void padTo4() {
        while (out.size() % 4 != 0)
            u8(0);
    }
    void putU32At(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::size_t size() const { return out.size(); }
    std::vector<std::uint8_t> out;
};

// Opens a table: its size is filled in by closeTable.
std::size_t openTable(Bytes& b, const char (&tag)[5]) {
    const std::size_t at = b.size();
    b.u32(0);
    b.tag(tag);
    return at;
}

void closeTable(Bytes& b, std::size_t at) {
    b.putU32At(at, static_cast<std::uint32_t>(b.size() - at));
}

void writeHead(Bytes& b, const LvglFont& font, bool longOffsets) {
    int minY = 0;
    int maxY = 0;
    for (std::size_t id = 1; id < font.boxes.size(); ++id) {
        const LvglGlyphBox& box = font.boxes[id];
        if (box.boxHeight == 0)
            continue;
        minY = std::min(minY, box.offsetY);
        maxY = std::max(maxY, box.offsetY + box.boxHeight);
    }
    const int ascent = font.lineHeight - font.baseLine;
    const int descent = -font.baseLine;
    // The fields in the order and widths LVGL's loader reads them.
    const std::size_t at = openTable(b, "head");
    b.u32(1);                                      // version
    b.u16(3);                                      // tables after this one: cmap, loca, glyf
    b.u16(static_cast<unsigned>(font.lineHeight)); // font size
    b.u16(static_cast<unsigned>(ascent));
    b.u16(static_cast<std::uint16_t>(descent));
    b.u16(static_cast<unsigned>(ascent)); // typographic ascent, descent, line gap
    b.u16(static_cast<std::uint16_t>(descent));
    b.u16(0);
    b.u16(static_cast<std::uint16_t>(minY));
    b.u16(static_cast<std::uint16_t>(maxY));
    b.u16(0);                              // default advance: every glyph has its own
    b.u16(0);                              // kerning scale: no kerning
    b.u8(longOffsets ? 1 : 0);             // loca offsets: 16 or 32 bits
    b.u8(font.boxes.size() > 256 ? 1 : 0); // glyph ids: 1 or 2 bytes
    b.u8(0);                               // advances in whole dots
    b.u8(static_cast<unsigned>(font.bpp));
    b.u8(kLvglBinOffsetBits);
    b.u8(kLvglBinBoxBits);
    b.u8(kLvglBinAdvanceBits);
    b.u8(0); // bitmaps uncompressed
    b.u8(0); // no subpixels
    b.u8(0);
    b.u16(static_cast<std::uint16_t>(-1)); // underline position and thickness, as the C file has them
    b.u16(1);
    b.padTo4();
    closeTable(b, at);
}

void writeCmap(Bytes& b, const LvglFont& font) {
    const std::size_t at = openTable(b, "cmap");
    b.u32(static_cast<std::uint32_t>(font.cmaps.size()));
    // The headers, then each list's data from a four-byte boundary; data offsets count from the
    // table's first byte.
    std::size_t dataAt = 12 + 16 * font.cmaps.size();
    std::vector<std::uint32_t> offsets;
    for (const LvglCmap& cmap : font.cmaps) {
        if (cmap.type == LvglCmapType::Sparse) {
            offsets.push_back(static_cast<std::uint32_t>(dataAt));
            dataAt += (cmap.offsets.size() * 2 + 3) / 4 * 4;
        } else {
            offsets.push_back(0);
        }
    }
    for (std::size_t i = 0; i < font.cmaps.size(); ++i) {
        const LvglCmap& cmap = font.cmaps[i];
        b.u32(offsets[i]);
        b.u32(cmap.rangeStart);
        b.u16(cmap.rangeLength);
        b.u16(cmap.glyphIdStart);
        b.u16(cmap.type == LvglCmapType::Sparse ? static_cast<unsigned>(cmap.offsets.size()) : 0);
        b.u8(static_cast<unsigned>(cmap.type));
        b.u8(0);
    }
    for (const LvglCmap& cmap : font.cmaps) {
        for (std::uint16_t offset : cmap.offsets)
            b.u16(offset);
        b.padTo4();
    }
    closeTable(b, at);
}

} // namespace

std::vector<std::uint8_t> lvglBinary(const LvglFont& font) {
    if (font.refusal != LvglRefusal::None)
        throw std::invalid_argument("a refused LVGL font has no binary file");
    if (!lvglBinaryDepth(font.bpp))
        throw std::invalid_argument("LVGL's binary font file holds 1, 2 or 4 bits a dot");

    constexpr std::size_t kRecordHead = (kLvglBinAdvanceBits + 2 * kLvglBinOffsetBits + 2 * kLvglBinBoxBits) / 8;
    // Where each glyph record starts in glyf, counted from the table's first byte.
    std::vector<std::uint32_t> starts;
    std::size_t glyfSize = 8;
    for (std::size_t id = 0; id < font.boxes.size(); ++id) {
        starts.push_back(static_cast<std::uint32_t>(glyfSize));
        if (id != 0)
            glyfSize += kRecordHead + font.bitmapEnd(id) - font.boxes[id].bitmapIndex;
    }
    const bool longOffsets = glyfSize > 0xFFFF;

    Bytes b;
    writeHead(b, font, longOffsets);
    writeCmap(b, font);

    const std::size_t loca = openTable(b, "loca");
    b.u32(static_cast<std::uint32_t>(starts.size()));
    for (std::uint32_t start : starts) {
        if (longOffsets)
            b.u32(start);
        else
            b.u16(start);
    }
    b.padTo4();
    closeTable(b, loca);

    const std::size_t glyf = openTable(b, "glyf");
    for (std::size_t id = 1; id < font.boxes.size(); ++id) {
        const LvglGlyphBox& box = font.boxes[id];
        b.u8(box.advance16 / 16); // the record is a bit stream, most significant bit first
        b.u8(static_cast<std::uint8_t>(box.offsetX));
        b.u8(static_cast<std::uint8_t>(box.offsetY));
        b.u8(static_cast<unsigned>(box.boxWidth));
        b.u8(static_cast<unsigned>(box.boxHeight));
        b.out.insert(b.out.end(), font.bitmap.begin() + box.bitmapIndex, font.bitmap.begin() + font.bitmapEnd(id));
    }
    closeTable(b, glyf);
    return std::move(b.out);
}

} // namespace hz
