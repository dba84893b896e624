#include "tools/mkfont/glyph_set.h"

namespace mkfont {

namespace {

// Tries the preferred form, then its variant, then the character itself.
std::optional<GlyphBitmap> renderEntry(const FontFace& face, const CodeEntry& entry, std::optional<int> threshold,
                                       char32_t& shown) {
    if (!entry.character)
        return std::nullopt;
    for (const char32_t form : {entry.drawn, entry.variant, *entry.character}) {
        if (form == 0)
            continue;
        if (auto glyph = face.render(form, threshold)) {
            shown = form;
            return glyph;
        }
    }
    return std::nullopt;
}

bool fits(const std::optional<GlyphBitmap>& glyph, int cellSize) {
    const auto box = glyph ? glyph->inkBox() : std::nullopt;
    return !box || (box->width() <= cellSize && box->height() <= cellSize);
}

bool hanziFit(const GlyphSet& set, const std::vector<CodeEntry>& entries, int cellSize) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].hanzi() && !fits(set.glyphs[i], cellSize))
            return false;
    }
    return true;
}

} // namespace

std::vector<InkBox> GlyphSet::hanziBoxes(const std::vector<CodeEntry>& entries) const {
    std::vector<InkBox> boxes;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (auto box = glyphs[i] && entries[i].hanzi() ? glyphs[i]->inkBox() : std::nullopt)
            boxes.push_back(*box);
    }
    return boxes;
}

std::vector<InkBox> GlyphSet::allBoxes() const {
    std::vector<InkBox> boxes;
    for (const auto& glyph : glyphs) {
        if (auto box = glyph ? glyph->inkBox() : std::nullopt)
            boxes.push_back(*box);
    }
    return boxes;
}

GlyphSet renderGlyphs(const FontFace& face, const std::vector<CodeEntry>& entries, std::optional<int> threshold) {
    GlyphSet set;
    set.glyphs.reserve(entries.size());
    set.shown.assign(entries.size(), 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        set.glyphs.push_back(renderEntry(face, entries[i], threshold, set.shown[i]));
    set.shrunk.assign(entries.size(), false);
    return set;
}

GlyphSet fitOutlines(FontFace& face, const std::vector<CodeEntry>& entries, std::optional<int> threshold, int cellSize,
                     GlyphSet atCellSize) {
    const int largest = cellSize + cellSize / 4;
    const int smallest = cellSize - cellSize / 4;
    GlyphSet best = std::move(atCellSize);
    int pixels = cellSize;
    if (hanziFit(best, entries, cellSize)) {
        while (pixels < largest) {
            face.setPixelSize(pixels + 1);
            GlyphSet bigger = renderGlyphs(face, entries, threshold);
            if (!hanziFit(bigger, entries, cellSize))
                break;
            best = std::move(bigger);
            ++pixels;
        }
    } else {
        while (pixels > smallest) {
            face.setPixelSize(--pixels);
            best = renderGlyphs(face, entries, threshold);
            if (hanziFit(best, entries, cellSize))
                break;
        }
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (int smaller = pixels - 1; !fits(best.glyphs[i], cellSize) && smaller >= smallest; --smaller) {
            face.setPixelSize(smaller);
            auto glyph = renderEntry(face, entries[i], threshold, best.shown[i]);
            if (fits(glyph, cellSize)) {
                best.glyphs[i] = std::move(glyph);
                best.shrunk[i] = true;
            }
        }
    }
    face.setPixelSize(pixels);
    return best;
}

} // namespace mkfont
