#include "fontsource/reference_fonts.h"

#include "fontsource/font_face.h"
#include "fontsource/installed_fonts.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

namespace hz::fontsource {

namespace {

// Faces opened at one size, kept for the process; a face that failed to open is remembered as such.
struct FaceCache {
    std::mutex lock;
    std::map<std::tuple<std::string, int, int>, std::unique_ptr<FontFace>> faces;

    FontFace* face(const ReferenceFont& font, int size) {
        auto [at, added] = faces.try_emplace({font.file, font.face, size});
        if (added) {
            auto opened = FontFace::open(font.file, font.face, size);
            if (opened)
                at->second = std::make_unique<FontFace>(std::move(*opened));
        }
        return at->second.get();
    }
};

FaceCache& cache() {
    static FaceCache faces;
    return faces;
}

// The glyph in the cell, its ink centred: drawn at the cell's height, or smaller down to three
// quarters of it while it does not fit. Nothing when it has no ink or never fits across a
// half-width cell (a hanzi there would be squeezed out of shape); a glyph too tall even then keeps
// its middle.
std::optional<hz::DotCell> drawn(FontFace& face, char32_t character, const hz::CellSize& cell) {
    const int smallest = cell.height - cell.height / 4;
    for (int pixels = cell.height; pixels >= smallest; --pixels) {
        if (face.drawing() == Drawing::Outline && !face.setPixelSize(pixels))
            return std::nullopt;
        const RenderedGlyph rendered = face.render(character, std::nullopt);
        if (rendered.status != RenderStatus::Drawn)
            return std::nullopt;
        const auto ink = rendered.bitmap.inkBox();
        if (!ink)
            return std::nullopt;
        const bool fits = ink->width() <= cell.width && ink->height() <= cell.height;
        if (!fits && pixels > smallest && face.drawing() == Drawing::Outline)
            continue;
        if (ink->width() > cell.width && cell.width < cell.height)
            return std::nullopt;
        const int moveX = (cell.width - ink->width()) / 2 - ink->left;
        const int moveY = (cell.height - ink->height()) / 2 - ink->top;
        hz::DotCell out(cell.width, cell.height,
                        cell.width < cell.height ? hz::WidthClass::Half : hz::WidthClass::Full);
        const GlyphBitmap& bitmap = rendered.bitmap;
        for (int y = 0; y < bitmap.rows; ++y)
            for (int x = 0; x < bitmap.width; ++x) {
                const int cx = bitmap.left + x + moveX, cy = y - bitmap.top + moveY;
                if (bitmap.ink(x, y) && cx >= 0 && cx < cell.width && cy >= 0 && cy < cell.height)
                    out.setDot(cx, cy);
            }
        return out;
    }
    return std::nullopt;
}

} // namespace

const std::vector<ReferenceFont>& referenceFonts() {
    static const std::vector<ReferenceFont> fonts = [] {
        std::vector<ReferenceFont> chosen;
        for (const InstalledFont& font : installedFonts()) {
            if (!font.cjk)
                continue;
            auto same =
                std::find_if(chosen.begin(), chosen.end(), [&](const ReferenceFont& f) { return f.file == font.file; });
            if (same == chosen.end())
                chosen.push_back({font.file, font.face});
            else
                same->face = std::min(same->face, font.face);
        }
        std::sort(chosen.begin(), chosen.end(),
                  [](const ReferenceFont& a, const ReferenceFont& b) { return a.file < b.file; });
        return chosen;
    }();
    return fonts;
}

std::vector<hz::DotCell> referenceGlyphs(char32_t character, std::span<const hz::CellSize> cells,
                                         std::span<const ReferenceFont> fonts) {
    std::vector<hz::DotCell> glyphs;
    FaceCache& faces = cache();
    const std::lock_guard<std::mutex> hold(faces.lock);
    for (const hz::CellSize& cell : cells)
        for (const ReferenceFont& font : fonts) {
            FontFace* face = faces.face(font, cell.height);
            if (!face || !face->maps(character))
                continue;
            if (auto glyph = drawn(*face, character, cell))
                glyphs.push_back(std::move(*glyph));
        }
    return glyphs;
}

} // namespace hz::fontsource
