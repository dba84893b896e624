#include "core/output/lvgl_font.h"

#include <algorithm>
#include <stdexcept>

namespace hz {
namespace {

// A run of consecutive codes at least this long gets a range of its own: a character map entry
// costs about as much as a dozen sparse codes, and LVGL walks the entries one by one.
constexpr std::size_t kRangeRun = 16;
constexpr std::uint32_t kMaxSpan = 65535;

struct InkBounds {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < left; }
};

InkBounds inkBounds(const DotCell& cell) {
    InkBounds b{cell.width(), cell.height(), -1, -1};
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.level(x, y) != 0) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    if (b.right < 0)
        return {};
    return b;
}

void addSparse(std::vector<LvglCmap>& cmaps, const std::vector<char32_t>& codes, std::size_t from, std::size_t to,
               std::uint16_t firstGlyphId) {
    while (from < to) {
        LvglCmap cmap;
        cmap.type = LvglCmapType::Sparse;
        cmap.rangeStart = codes[from];
        cmap.glyphIdStart = static_cast<std::uint16_t>(firstGlyphId + from);
        std::size_t i = from;
        while (i < to && codes[i] - cmap.rangeStart < kMaxSpan) {
            cmap.offsets.push_back(static_cast<std::uint16_t>(codes[i] - cmap.rangeStart));
            ++i;
        }
        cmap.rangeLength = codes[i - 1] - cmap.rangeStart + 1;
        cmaps.push_back(std::move(cmap));
        from = i;
    }
}

void addRange(std::vector<LvglCmap>& cmaps, const std::vector<char32_t>& codes, std::size_t from, std::size_t to,
              std::uint16_t firstGlyphId) {
    while (from < to) {
        const std::size_t n = std::min<std::size_t>(to - from, kMaxSpan);
        LvglCmap cmap;
        cmap.type = LvglCmapType::Range;
        cmap.rangeStart = codes[from];
        cmap.rangeLength = static_cast<std::uint32_t>(n);
        cmap.glyphIdStart = static_cast<std::uint16_t>(firstGlyphId + from);
        cmaps.push_back(std::move(cmap));
        from += n;
    }
}

} // namespace

std::vector<std::uint8_t> packLvglBox(const DotCell& cell, int left, int top, int width, int height, int bpp) {
    std::vector<std::uint8_t> bytes((static_cast<std::size_t>(width) * height * bpp + 7) / 8, 0);
    std::size_t bit = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x, bit += static_cast<std::size_t>(bpp)) {
            const unsigned level = static_cast<unsigned>(cell.level(x, y));
            bytes[bit / 8] |= static_cast<std::uint8_t>(level << (8 - bpp - static_cast<int>(bit % 8)));
        }
    return bytes;
}

std::vector<LvglCmap> lvglCmaps(const std::vector<char32_t>& codes, std::uint16_t firstGlyphId) {
    std::vector<LvglCmap> cmaps;
    std::size_t sparseFrom = 0;
    std::size_t i = 0;
    while (i < codes.size()) {
        std::size_t end = i + 1;
        while (end < codes.size() && codes[end] == codes[end - 1] + 1)
            ++end;
        if (end - i >= kRangeRun) {
            addSparse(cmaps, codes, sparseFrom, i, firstGlyphId);
            addRange(cmaps, codes, i, end, firstGlyphId);
            sparseFrom = end;
        }
        i = end;
    }
    addSparse(cmaps, codes, sparseFrom, codes.size(), firstGlyphId);
    return cmaps;
}

LvglFont makeLvglFont(const LvglFontInput& input) {
    if (!DotCell::validDepth(input.bpp))
        throw std::invalid_argument("an LVGL font has 1, 2, 4 or 8 bits a dot");
    LvglFont font;
    font.bpp = input.bpp;
    font.lineHeight = input.lineHeight;
    font.baseLine = input.baseline;
    if (input.glyphs.size() > LvglFont::kMaxGlyphs) {
        font.refusal = LvglRefusal::TooManyGlyphs;
        return font;
    }

    std::vector<const LvglGlyphInput*> order;
    order.reserve(input.glyphs.size());
    for (const auto& glyph : input.glyphs)
        order.push_back(&glyph);
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->character < b->character; });
    for (std::size_t i = 1; i < order.size(); ++i)
        if (order[i]->character == order[i - 1]->character)
            throw std::invalid_argument("a character given twice to an LVGL font");

    font.boxes.reserve(order.size() + 1);
    font.boxes.push_back({});
    font.characters.reserve(order.size());
    for (const LvglGlyphInput* glyph : order) {
        const DotCell cell = glyph->cell.depth() == input.bpp ? glyph->cell : glyph->cell.withDepth(input.bpp);
        const InkBounds ink = inkBounds(cell);
        LvglGlyphBox box;
        box.bitmapIndex = static_cast<std::uint32_t>(font.bitmap.size());
        box.advance16 = static_cast<std::uint32_t>(cell.width()) * 16;
        if (!ink.empty()) {
            box.boxWidth = ink.right - ink.left + 1;
            box.boxHeight = ink.bottom - ink.top + 1;
            box.offsetX = ink.left;
            box.offsetY = (cell.height() - input.baseline) - (ink.bottom + 1);
            const auto bytes = packLvglBox(cell, ink.left, ink.top, box.boxWidth, box.boxHeight, input.bpp);
            font.bitmap.insert(font.bitmap.end(), bytes.begin(), bytes.end());
        }
        font.boxes.push_back(box);
        font.characters.push_back(glyph->character);
    }
    if (font.bitmap.size() >= LvglFont::kMaxBitmapBytes) {
        LvglFont refused;
        refused.refusal = LvglRefusal::BitmapTooLarge;
        refused.bitmapBytesNeeded = font.bitmap.size();
        return refused;
    }
    font.cmaps = lvglCmaps(font.characters, 1);
    return font;
}

} // namespace hz
