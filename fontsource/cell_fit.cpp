#include "fontsource/cell_fit.h"

#include "fontsource/font_failure.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace hz::fontsource {

namespace {

// Tries to draw an outline narrower this many times before merging its columns instead.
constexpr int kNarrowingTries = 4;
// A width no glyph reaches: only the height is fitted.
constexpr int kAnyWidth = 1 << 16;

DrawnGlyph renderForms(const FontFace& face, std::span<const char32_t> forms, std::optional<int> threshold,
                       double across = 1.0) {
    DrawnGlyph drawn;
    for (const char32_t form : forms) {
        if (form == 0)
            continue;
        RenderedGlyph rendered = face.render(form, threshold, across);
        if (rendered.status == RenderStatus::Drawn) {
            drawn.status = RenderStatus::Drawn;
            drawn.bitmap = std::move(rendered.bitmap);
            drawn.ink = drawn.bitmap.inkBox();
            drawn.advance = rendered.advance;
            drawn.shown = form;
            drawn.pixels = face.pixelSize();
            drawn.across = across;
            return drawn;
        }
        if (rendered.status == RenderStatus::Unusable)
            drawn.status = RenderStatus::Unusable;
    }
    return drawn;
}

bool fits(const DrawnGlyph& glyph, int width, int height) {
    return !glyph.ink || (glyph.ink->width() <= width && glyph.ink->height() <= height);
}

// Outline glyphs larger than the cell are drawn at the largest smaller size at which they fit;
// strikes are drawn as the font has them.
hz::Result<void> shrinkToFit(FontFace& face, const CellRule& rule, std::span<const char32_t> forms, DrawnGlyph& glyph,
                             int width) {
    if (rule.drawing != Drawing::Outline || fits(glyph, width, rule.size))
        return {};
    for (int smaller = rule.pixels - 1; !fits(glyph, width, rule.size) && smaller >= rule.smallestPixels(); --smaller) {
        if (auto set = face.setPixelSize(smaller); !set)
            return set;
        DrawnGlyph candidate = renderForms(face, forms, rule.threshold);
        if (fits(candidate, width, rule.size)) {
            candidate.shrunk = true;
            glyph = std::move(candidate);
        }
    }
    return face.setPixelSize(rule.pixels);
}

// Each inked row's first and last dot, from the ink's top row down, relative to the ink's left.
std::vector<std::optional<std::pair<int, int>>> rowEdges(const GlyphBitmap& bitmap, const InkBox& ink) {
    std::vector<std::optional<std::pair<int, int>>> rows;
    for (int py = ink.top; py <= ink.bottom; ++py) {
        std::optional<std::pair<int, int>> edges;
        const int y = py + bitmap.top;
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.ink(x, y)) {
                const int at = bitmap.left + x - ink.left;
                edges = std::pair{edges ? edges->first : at, at};
            }
        }
        rows.push_back(edges);
    }
    return rows;
}

// Whether a glyph drawn again narrower is the one it was drawn from: ink on the same rows, each
// row's first and last dot where the narrowing puts them, within a dot. Hinting a narrower outline
// can drop a thin stroke or move one; then the columns are merged instead.
bool keepsItsShape(const GlyphBitmap& wide, const InkBox& wideInk, const GlyphBitmap& narrow, const InkBox& narrowInk) {
    if (narrowInk.top != wideInk.top || narrowInk.bottom != wideInk.bottom)
        return false;
    const double scale = static_cast<double>(narrowInk.width() - 1) / (wideInk.width() - 1);
    const auto before = rowEdges(wide, wideInk);
    const auto after = rowEdges(narrow, narrowInk);
    for (std::size_t y = 0; y < before.size(); ++y) {
        if (!before[y])
            continue;
        if (!after[y] || std::abs(after[y]->first - before[y]->first * scale) > 1.0 ||
            std::abs(after[y]->second - before[y]->second * scale) > 1.0)
            return false;
    }
    return true;
}

// A glyph wider than `width` is drawn narrower, as wide as the cell. An outline is drawn again,
// scaled across at the size it was drawn at, so that its strokes are drawn for the new width; a
// strike, or an outline that does not keep its shape that way, has its columns merged.
hz::Result<void> narrowToFit(FontFace& face, const CellRule& rule, std::span<const char32_t> forms, DrawnGlyph& glyph,
                             int width) {
    if (glyph.status != RenderStatus::Drawn || !glyph.ink || glyph.ink->width() <= width)
        return {};
    if (rule.drawing == Drawing::Outline && width > 1) {
        if (auto set = face.setPixelSize(glyph.pixels); !set)
            return set;
        double across = static_cast<double>(width) / glyph.ink->width();
        for (int tries = 0; tries < kNarrowingTries; ++tries) {
            DrawnGlyph candidate = renderForms(face, forms, rule.threshold, across);
            if (candidate.status != RenderStatus::Drawn || !candidate.ink)
                break;
            const int drawnWidth = candidate.ink->width();
            if (drawnWidth <= width && drawnWidth >= width - 1) {
                if (!keepsItsShape(glyph.bitmap, *glyph.ink, candidate.bitmap, *candidate.ink))
                    break;
                candidate.shrunk = glyph.shrunk;
                candidate.narrowed = true;
                glyph = std::move(candidate);
                return face.setPixelSize(rule.pixels);
            }
            across *= (drawnWidth > width ? width - 0.5 : width + 0.5) / drawnWidth;
        }
        if (auto set = face.setPixelSize(rule.pixels); !set)
            return set;
    }
    glyph.mergedFrom = glyph.ink;
    glyph.bitmap = mergeColumns(glyph.bitmap, *glyph.ink, width);
    glyph.ink = glyph.bitmap.inkBox();
    glyph.narrowed = true;
    return {};
}

// Centred across a cell `width` wide on the pen advance, so narrow letters keep their side
// bearings; a glyph without a sensible advance, or drawn narrower than the font has it, is centred
// on its ink. Full-width glyphs of a font with hanzi share the hanzi's origin.
PlacedGlyph placeAcross(const DrawnGlyph& glyph, const CellRule& rule, hz::WidthClass widthClass, int width) {
    if (widthClass == hz::WidthClass::Full && rule.fromHanzi)
        return placeGlyph(glyph.bitmap, rule.origin, width, rule.size, widthClass);
    CellOrigin origin{0, rule.origin.y};
    if (glyph.advance > 0 && glyph.advance <= 2 * width && !glyph.narrowed) {
        origin.x = static_cast<int>(std::floor((width - glyph.advance) / 2.0));
    } else if (glyph.ink) {
        origin.x = static_cast<int>(std::floor((width - glyph.ink->width()) / 2.0)) - glyph.ink->left;
    }
    return placeGlyph(glyph.bitmap, origin, width, rule.size, widthClass);
}

// A cell as wide as the glyph's advance, widened to take in any ink outside it, with the pen origin
// at its left edge; at most the full cell.
PlacedGlyph placeOwnWidth(const DrawnGlyph& glyph, const CellRule& rule, hz::WidthClass widthClass) {
    const int full = rule.size;
    const bool advanceServes = glyph.advance > 0 && glyph.advance <= 2 * full && !glyph.narrowed;
    if (!glyph.ink) {
        const int width = advanceServes ? std::min(glyph.advance, full) : rule.width(widthClass);
        return {hz::DotCell(width, rule.size, widthClass)};
    }
    int from = glyph.ink->left;
    int to = glyph.ink->right + 1;
    if (advanceServes) {
        from = std::min(from, 0);
        to = std::max(to, glyph.advance);
    }
    if (to - from <= full)
        return placeGlyph(glyph.bitmap, {-from, rule.origin.y}, to - from, rule.size, widthClass);
    // Its bearings make it wider than the cell: it takes the full cell as fixed widths place it, so
    // a hanzi stays dot for dot where it is in a fixed cell.
    return placeAcross(glyph, rule, widthClass, full);
}

// A size the face refuses ends the fitting; fitCells hands the problem back.
void orFail(hz::Result<void> done) {
    if (!done)
        throw FontFailure(done.problem());
}

std::vector<InkBox> boxesOf(const std::vector<DrawnGlyph>& glyphs, const std::vector<std::size_t>& indices) {
    std::vector<InkBox> boxes;
    for (const std::size_t i : indices) {
        if (glyphs[i].ink)
            boxes.push_back(*glyphs[i].ink);
    }
    return boxes;
}

class Fitter {
public:
    Fitter(FacePool& pool, const std::vector<CodeEntry>& entries, int size, std::optional<int> threshold)
        : pool(pool), entries(entries), glyphs(entries.size()) {
        rule.size = size;
        rule.drawing = pool.front().drawing();
        rule.pixels = pool.front().pixelSize();
        rule.threshold = threshold;
        for (std::size_t i = 0; i < entries.size(); ++i)
            (entries[i].hanzi() ? hanzi : others).push_back(i);
    }

    FittedSet fit() {
        // Outlines: one hanzi too large at the cell's size settles that the size goes down, and
        // the glyphs of this size are then not needed. A misfit has ink, so a font found to have
        // no hanzi has been drawn in full.
        const bool outline = rule.drawing == Drawing::Outline;
        const bool fitAtCellSize = renderAll(hanzi, glyphs, outline);
        if (boxesOf(glyphs, hanzi).empty())
            return fitByMetrics();
        if (outline)
            fitOutlineSize(fitAtCellSize);
        orFail(pool.setPixelSize(rule.pixels));
        renderAll(others, glyphs);

        std::vector<std::size_t> all(entries.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = i;
        shrinkOversized(all);

        const std::vector<InkBox> hanziBoxes = boxesOf(glyphs, hanzi);
        const std::vector<InkBox> allBoxes = boxesOf(glyphs, all);
        if (rule.drawing == Drawing::Outline) {
            rule.origin = centredOrigin(hanziBoxes, allBoxes, rule.size);
        } else {
            // A strike places its glyphs by the font's own baseline and ascent; only when that leaves
            // the hanzi cut or off-centre (a line taller than the cell) is the baseline moved. A
            // font that says its glyphs stand in cells of this size keeps them where they are.
            rule.origin = {0, pool.front().ascent()};
            if (!pool.front().placesItsOwnCells() && !originServes(hanziBoxes, rule.origin, rule.size))
                rule.origin = centredOrigin(hanziBoxes, allBoxes, rule.size);
        }
        return {rule, std::move(glyphs), hanziBoxes};
    }

private:
    // Renders the entries at the indices into `into` at the pool's size. With stopOnMisfit, stops at
    // the first glyph larger than the cell and returns false.
    bool renderAll(const std::vector<std::size_t>& indices, std::vector<DrawnGlyph>& into, bool stopOnMisfit = false) {
        const std::optional<int> threshold = rule.threshold;
        const int size = rule.size;
        return pool.forEach(indices.size(), [&](FontFace& face, std::size_t k) {
            const std::size_t i = indices[k];
            into[i] = renderForms(face, entries[i].forms(), threshold);
            return !stopOnMisfit || fits(into[i], size, size);
        });
    }

    bool hanziFit() const {
        return std::all_of(hanzi.begin(), hanzi.end(),
                           [&](std::size_t i) { return fits(glyphs[i], rule.size, rule.size); });
    }

    // The largest hanzi first, so that a size too large is found out after a few glyphs.
    std::vector<std::size_t> largestFirst() const {
        std::vector<std::pair<int, std::size_t>> order;
        order.reserve(hanzi.size());
        for (const std::size_t i : hanzi) {
            const auto& box = glyphs[i].ink;
            order.emplace_back(box ? -std::max(box->width(), box->height()) : 0, i);
        }
        std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::size_t> indices;
        indices.reserve(order.size());
        for (const auto& entry : order)
            indices.push_back(entry.second);
        return indices;
    }

    void fitOutlineSize(bool fitAtCellSize) {
        if (fitAtCellSize) {
            while (rule.pixels < rule.largestPixels()) {
                orFail(pool.setPixelSize(rule.pixels + 1));
                std::vector<DrawnGlyph> bigger(glyphs.size());
                if (!renderAll(largestFirst(), bigger, true))
                    break;
                for (const std::size_t i : hanzi)
                    glyphs[i] = std::move(bigger[i]);
                ++rule.pixels;
            }
        } else {
            while (rule.pixels > rule.smallestPixels()) {
                orFail(pool.setPixelSize(--rule.pixels));
                // Above the smallest size a misfit means going on to the next size, so the rest of
                // this one need not be drawn.
                const bool last = rule.pixels == rule.smallestPixels();
                if (renderAll(largestFirst(), glyphs, !last) && hanziFit())
                    break;
            }
        }
    }

    void shrinkOversized(const std::vector<std::size_t>& indices) {
        const CellRule fitted = rule;
        pool.forEach(indices.size(), [&](FontFace& face, std::size_t k) {
            const std::size_t i = indices[k];
            orFail(shrinkToFit(face, fitted, entries[i].forms(), glyphs[i], fitted.size));
            return true;
        });
    }

    // A font without hanzi (a Latin font, say): the cell spans its ascender to its descender.
    FittedSet fitByMetrics() {
        rule.fromHanzi = false;
        FontFace& face = pool.front();
        if (rule.drawing == Drawing::Outline) {
            const double span = face.ascenderEm() - face.descenderEm();
            if (span > 1.0)
                rule.pixels = std::max(static_cast<int>(rule.size / span), rule.smallestPixels());
            orFail(pool.setPixelSize(rule.pixels));
            rule.origin.y = static_cast<int>(std::lround(face.ascenderEm() * rule.pixels));
            if (span <= 0)
                rule.origin.y = rule.size - rule.size / 5;
        } else {
            rule.origin.y = face.ascent();
        }
        std::vector<std::size_t> all(entries.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = i;
        renderAll(all, glyphs);
        shrinkOversized(all);
        return {rule, std::move(glyphs), {}};
    }

    FacePool& pool;
    const std::vector<CodeEntry>& entries;
    std::vector<DrawnGlyph> glyphs;
    std::vector<std::size_t> hanzi;
    std::vector<std::size_t> others;
    CellRule rule;
};

} // namespace

hz::Result<FittedSet> fitCells(FacePool& pool, const std::vector<CodeEntry>& entries, int size,
                               std::optional<int> threshold) {
    try {
        return Fitter(pool, entries, size, threshold).fit();
    } catch (const FontFailure& failure) {
        return failure.problem;
    }
}

DrawnGlyph drawGlyph(FontFace& face, const CellRule& rule, std::span<const char32_t> forms, hz::WidthClass widthClass,
                     GlyphWidths widths) {
    // A size the face refuses here leaves this one glyph undrawn, as a glyph it cannot load.
    DrawnGlyph unusable;
    unusable.status = RenderStatus::Unusable;
    if (!face.setPixelSize(rule.pixels))
        return unusable;
    DrawnGlyph glyph = renderForms(face, forms, rule.threshold);
    if (widthClass == hz::WidthClass::Full) {
        if (!shrinkToFit(face, rule, forms, glyph, rule.size))
            return unusable;
        return glyph;
    }
    // Half-width glyphs keep their height where they can: only one too tall is drawn smaller, and
    // one too wide is drawn narrower rather than smaller.
    const int width = widths == GlyphWidths::Fixed ? rule.width(widthClass) : rule.size;
    if (!shrinkToFit(face, rule, forms, glyph, kAnyWidth) || !narrowToFit(face, rule, forms, glyph, width))
        return unusable;
    return glyph;
}

PlacedGlyph placeDrawn(const DrawnGlyph& glyph, const CellRule& rule, hz::WidthClass widthClass, GlyphWidths widths) {
    if (widths == GlyphWidths::Proportional)
        return placeOwnWidth(glyph, rule, widthClass);
    return placeAcross(glyph, rule, widthClass, rule.width(widthClass));
}

GlyphBitmap mergeColumns(const GlyphBitmap& bitmap, const InkBox& ink, int width) {
    GlyphBitmap merged;
    merged.left = ink.left;
    merged.top = bitmap.top;
    merged.width = width;
    merged.rows = bitmap.rows;
    merged.dots.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(bitmap.rows), 0);
    const int first = ink.left - bitmap.left;
    const int wide = ink.width();
    for (int y = 0; y < bitmap.rows; ++y) {
        for (int x = first; x < first + wide; ++x) {
            if (bitmap.ink(x, y))
                merged.dots[static_cast<std::size_t>(y) * width + (x - first) * width / wide] = 1;
        }
    }
    return merged;
}

} // namespace hz::fontsource
