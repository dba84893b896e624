#include "core/picture/picture_layout.h"

#include <algorithm>
#include <stdexcept>

namespace hz {

namespace {

constexpr int kTile = DotCell::kMaxSide;

// The picture after the layout's up, left and invert flags, at the layout's depth.
DotPicture transformed(const DotPicture& picture, const Layout& layout) {
    const DotPicture deep = pictureAtDepth(picture, layout.bpp);
    const int w = deep.width();
    const int h = deep.height();
    const int top = deep.maxLevel();
    DotPicture out(w, h, layout.bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int level = deep.level(layout.left ? w - 1 - x : x, layout.up ? h - 1 - y : y);
            out.setLevel(x, y, layout.invert ? top - level : level);
        }
    return out;
}

// Where byte k of a tile's bytes (encoded without flags) lands in the whole picture's. Every tile
// starts on a byte: 64 dots are a whole number of bytes at any depth.
struct TilePlace {
    int x0, y0, tw, th; // the tile's corner and size
    int width, height;  // the picture's
};

std::size_t wholeByte(const TilePlace& t, const Layout& layout, std::size_t k) {
    const auto bpp = static_cast<std::size_t>(layout.bpp);
    const auto w = static_cast<std::size_t>(t.width);
    const auto h = static_cast<std::size_t>(t.height);
    const auto tw = static_cast<std::size_t>(t.tw);
    const auto th = static_cast<std::size_t>(t.th);
    const auto x0 = static_cast<std::size_t>(t.x0);
    const auto y0 = static_cast<std::size_t>(t.y0);
    switch (layout.scan) {
    case Scan::Rows: {
        const std::size_t perRow = (tw * bpp + 7) / 8;
        return (y0 + k / perRow) * ((w * bpp + 7) / 8) + x0 * bpp / 8 + k % perRow;
    }
    case Scan::Columns: {
        const std::size_t perColumn = (th * bpp + 7) / 8;
        return (x0 + k / perColumn) * ((h * bpp + 7) / 8) + y0 * bpp / 8 + k % perColumn;
    }
    case Scan::Pages:
        return (y0 / 8 + k / tw) * w + x0 + k % tw;
    }
    return 0;
}

Layout withoutFlags(Layout layout) {
    layout.up = layout.left = layout.invert = false;
    return layout;
}

void requireForm(const Layout& layout) {
    if (!hasGreyForm(layout))
        throw std::invalid_argument("pages is a one-bit layout; it has no " + std::to_string(layout.bpp) + "-bit form");
}

template <typename Visit> void forEachTile(int width, int height, Visit visit) {
    for (int y0 = 0; y0 < height; y0 += kTile)
        for (int x0 = 0; x0 < width; x0 += kTile)
            visit(TilePlace{x0, y0, std::min(kTile, width - x0), std::min(kTile, height - y0), width, height});
}

} // namespace

DotPicture pictureAtDepth(const DotPicture& picture, int depth) {
    if (!DotCell::validDepth(depth))
        throw std::invalid_argument("a depth of " + std::to_string(depth) + " bits a dot; it must be 1, 2, 4 or 8");
    if (depth == picture.depth())
        return picture;
    DotPicture out(picture.width(), picture.height(), depth);
    const int from = picture.maxLevel();
    const int to = out.maxLevel();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const int level = picture.level(x, y);
            // one bit keeps the dots at or above half level; deeper, the nearest level of the same
            // share, halves rounded up (DotCell::withDepth)
            out.setLevel(x, y, depth == 1 ? (2 * level >= from + 1 ? 1 : 0) : (2 * level * to + from) / (2 * from));
        }
    return out;
}

std::vector<std::uint8_t> encodePicture(const DotPicture& picture, const Layout& layout) {
    requireForm(layout);
    const DotPicture ready = transformed(picture, layout);
    const Layout plain = withoutFlags(layout);
    std::vector<std::uint8_t> out(encodedSize(layout, picture.width(), picture.height()));
    forEachTile(picture.width(), picture.height(), [&](const TilePlace& t) {
        const std::vector<std::uint8_t> bytes = encodeCell(ready.part(t.x0, t.y0, t.tw, t.th), plain);
        for (std::size_t k = 0; k < bytes.size(); ++k)
            out[wholeByte(t, plain, k)] = bytes[k];
    });
    return out;
}

DotPicture decodePicture(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height) {
    requireForm(layout);
    DotPicture plainPicture(width, height, layout.bpp);
    const Layout plain = withoutFlags(layout);
    forEachTile(width, height, [&](const TilePlace& t) {
        std::vector<std::uint8_t> tileBytes(encodedSize(plain, t.tw, t.th));
        for (std::size_t k = 0; k < tileBytes.size(); ++k) {
            const std::size_t from = wholeByte(t, plain, k);
            tileBytes[k] = from < bytes.size() ? bytes[from] : 0;
        }
        const DotCell cell = decodeCell(tileBytes, plain, t.tw, t.th);
        for (int y = 0; y < t.th; ++y)
            for (int x = 0; x < t.tw; ++x)
                plainPicture.setLevel(t.x0 + x, t.y0 + y, cell.level(x, y));
    });
    // The flags are each their own inverse.
    return transformed(plainPicture, layout);
}

} // namespace hz
