#include "core/layout_detect.h"

#include "core/layout_presets.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <set>

namespace hz {

namespace {

constexpr int kMinSide = 8;

// The reference brought to the candidate's size: cut out around its ink when the ink fits (a 12x12
// glyph placed in a 16x16 cell), resampled otherwise.
DotCell fitted(const DotCell& reference, int width, int height) {
    if (reference.width() == width && reference.height() == height)
        return reference;
    int top = reference.height(), bottom = -1, leftmost = reference.width(), rightmost = -1;
    for (int y = 0; y < reference.height(); ++y) {
        const std::uint64_t r = reference.row(y);
        if (!r)
            continue;
        top = std::min(top, y);
        bottom = y;
        leftmost = std::min(leftmost, std::countl_zero(r));
        rightmost = std::max(rightmost, 63 - std::countr_zero(r));
    }
    const int inkW = rightmost - leftmost + 1;
    const int inkH = bottom - top + 1;
    if (bottom < 0 || reference.width() < width || reference.height() < height || inkW > width || inkH > height)
        return resampleCell(reference, width, height);
    // Centre the ink in the smaller cell.
    const int x0 = std::clamp(leftmost - (width - inkW) / 2, 0, reference.width() - width);
    const int y0 = std::clamp(top - (height - inkH) / 2, 0, reference.height() - height);
    DotCell out(width, height, reference.widthClass());
    for (int y = 0; y < height; ++y)
        out.setRow(y, reference.row(y0 + y) << x0);
    return out;
}

// Nearest counts below and above byteCount that fit some cell, for the refusal.
std::string nearFits(std::size_t byteCount) {
    std::set<std::size_t> counts;
    for (int n = kMinSide; n <= DotCell::kMaxSide; ++n)
        for (int w : {n, (n + 1) / 2})
            for (Scan scan : {Scan::Rows, Scan::Columns})
                counts.insert(encodedSize(Layout{scan}, w, n));
    std::string text;
    auto describe = [](std::size_t count) {
        std::string cells;
        for (Scan scan : {Scan::Rows, Scan::Columns})
            for (const CellSize& c : cellsForByteCount(count, scan)) {
                const std::string one = std::to_string(c.width) + "x" + std::to_string(c.height);
                if (cells.find(one) == std::string::npos)
                    cells += (cells.empty() ? "" : ", ") + one;
            }
        return std::to_string(count) + " (" + cells + ")";
    };
    const auto above = counts.upper_bound(byteCount);
    if (above != counts.begin())
        text = describe(*std::prev(above));
    if (above != counts.end())
        text += (text.empty() ? "" : " or ") + describe(*above);
    return text;
}

struct Fit {
    CellSize cell;
    Scan scan;
};

std::vector<Fit> fitsFor(std::size_t byteCount) {
    std::vector<Fit> fits;
    for (Scan scan : {Scan::Rows, Scan::Columns})
        for (const CellSize& c : cellsForByteCount(byteCount, scan))
            fits.push_back({c, scan});
    return fits;
}

} // namespace

DotCell resampleCell(const DotCell& cell, int width, int height) {
    DotCell out(width, height, cell.widthClass());
    const int sw = cell.width();
    const int sh = cell.height();
    // Target dot (x, y) covers source columns [x*sw/width, (x+1)*sw/width) and rows likewise; it
    // is set when set source dots cover over a third of it. Worked in units of 1/(width*height).
    for (int y = 0; y < height; ++y) {
        const int y0 = y * sh, y1 = (y + 1) * sh; // in source rows times height
        for (int x = 0; x < width; ++x) {
            const int x0 = x * sw, x1 = (x + 1) * sw;
            long covered = 0;
            for (int sy = y0 / height; sy * height < y1 && sy < sh; ++sy) {
                const long oy = std::min(y1, (sy + 1) * height) - std::max(y0, sy * height);
                for (int sx = x0 / width; sx * width < x1 && sx < sw; ++sx)
                    if (cell.dot(sx, sy))
                        covered += oy * (std::min(x1, (sx + 1) * width) - std::max(x0, sx * width));
            }
            if (covered * 3 > static_cast<long>(sw) * sh)
                out.setDot(x, y);
        }
    }
    return out;
}

namespace {

struct InkBox {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; right < left when empty
    bool empty() const { return right < left; }
    double width() const { return right - left + 1; }
    double height() const { return bottom - top + 1; }
};

InkBox inkBox(const DotCell& cell) {
    InkBox box{cell.width(), cell.height(), -1, -1};
    for (int y = 0; y < cell.height(); ++y) {
        const std::uint64_t r = cell.row(y);
        if (!r)
            continue;
        box.top = std::min(box.top, y);
        box.bottom = y;
        box.left = std::min(box.left, std::countl_zero(r));
        box.right = std::max(box.right, 63 - std::countr_zero(r));
    }
    return box;
}

// a's ink drawn again so that its ink box lies on `to`, in a cell of the given size: another font
// draws the same character larger or smaller. Each axis is scaled by at most kMaxScale either way,
// so a stray layout's noise, filling the cell, is not squeezed into shape.
DotCell mappedOnto(const DotCell& a, const InkBox& from, const InkBox& to, int width, int height) {
    constexpr double kMaxScale = 1.4;
    const double sx = std::clamp(to.width() / from.width(), 1 / kMaxScale, kMaxScale);
    const double sy = std::clamp(to.height() / from.height(), 1 / kMaxScale, kMaxScale);
    const double fromX = (from.left + from.right + 1) / 2.0, fromY = (from.top + from.bottom + 1) / 2.0;
    const double toX = (to.left + to.right + 1) / 2.0, toY = (to.top + to.bottom + 1) / 2.0;
    // Three by three samples a dot; set when a third of them fall on ink. Each axis is mapped
    // alone, so the source columns and rows of the samples are worked out once.
    auto sources = [](int count, double from, double to, double scale, int limit) {
        std::vector<int> at(static_cast<std::size_t>(3 * count));
        for (int k = 0; k < 3 * count; ++k) {
            const double p = from + ((k + 0.5) / 3 - to) / scale;
            at[static_cast<std::size_t>(k)] = p < 0 || p >= limit ? -1 : static_cast<int>(p);
        }
        return at;
    };
    const auto xs = sources(width, fromX, toX, sx, a.width());
    const auto ys = sources(height, fromY, toY, sy, a.height());
    DotCell out(width, height, a.widthClass());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int hits = 0;
            for (int j = 0; j < 3; ++j) {
                const int iy = ys[static_cast<std::size_t>(3 * y + j)];
                if (iy < 0)
                    continue;
                for (int i = 0; i < 3; ++i) {
                    const int ix = xs[static_cast<std::size_t>(3 * x + i)];
                    hits += ix >= 0 && a.dot(ix, iy);
                }
            }
            if (hits >= 3)
                out.setDot(x, y);
        }
    return out;
}

// A glyph as grey levels, blurred so that strokes a dot or two apart still overlap, with the sums
// its correlation needs. The number of blur passes and shifts grows with the cell: a dot is a larger
// part of a small glyph.
struct Blurred {
    std::vector<float> v;
    int w = 0, h = 0;
    double sum = 0;
    double variance = 0; // times the number of dots
};

int toleranceFor(int width, int height) {
    return std::max(1, std::min(width, height) / 12);
}

Blurred blurred(const DotCell& cell, int passes) {
    const int w = cell.width(), h = cell.height();
    const auto size = static_cast<std::size_t>(w * h);
    Blurred b{std::vector<float>(size), w, h};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.v[static_cast<std::size_t>(y * w + x)] = cell.dot(x, y) ? 1.0f : 0.0f;
    std::vector<float> t(size);
    for (int p = 0; p < passes; ++p) {
        // [1 2 1] across, then down; outside the cell is blank.
        for (int y = 0; y < h; ++y) {
            const float* in = &b.v[static_cast<std::size_t>(y * w)];
            float* out = &t[static_cast<std::size_t>(y * w)];
            for (int x = 0; x < w; ++x)
                out[x] = 2 * in[x] + (x > 0 ? in[x - 1] : 0.0f) + (x + 1 < w ? in[x + 1] : 0.0f);
        }
        for (int y = 0; y < h; ++y) {
            const float* mid = &t[static_cast<std::size_t>(y * w)];
            const float* above = y > 0 ? mid - w : nullptr;
            const float* below = y + 1 < h ? mid + w : nullptr;
            float* out = &b.v[static_cast<std::size_t>(y * w)];
            for (int x = 0; x < w; ++x)
                out[x] = 2 * mid[x] + (above ? above[x] : 0.0f) + (below ? below[x] : 0.0f);
        }
    }
    double sumSquares = 0;
    for (float x : b.v) {
        b.sum += x;
        sumSquares += double(x) * x;
    }
    b.variance = sumSquares - b.sum * b.sum / static_cast<double>(size);
    return b;
}

// The normalised correlation of the blurred glyphs, best over shifts of b up to maxShift dots: 1
// for the same picture, about 0 for unrelated ones, below 0 for an inverse.
double correlation(const Blurred& a, const Blurred& b, int maxShift) {
    if (a.variance <= 0 || b.variance <= 0)
        return 0;
    const int w = a.w, h = a.h;
    const double mean = a.sum * b.sum / static_cast<double>(w * h);
    double best = -1;
    for (int dy = -maxShift; dy <= maxShift; ++dy)
        for (int dx = -maxShift; dx <= maxShift; ++dx) {
            double sumAB = 0;
            const int x0 = std::max(0, dx), x1 = std::min(w, w + dx);
            for (int y = std::max(0, dy); y < std::min(h, h + dy); ++y) {
                const float* ra = &a.v[static_cast<std::size_t>(y * w)];
                const float* rb = &b.v[static_cast<std::size_t>((y - dy) * w)] - dx;
                float row = 0;
                for (int x = x0; x < x1; ++x)
                    row += ra[x] * rb[x];
                sumAB += row;
            }
            best = std::max(best, sumAB - mean);
        }
    return best / std::sqrt(a.variance * b.variance);
}

// A reference glyph brought to one cell size, ready to be compared with many candidates.
struct Reference {
    DotCell cell;
    InkBox box;
    int tolerance;
    Blurred blur;

    Reference(const DotCell& reference, int width, int height)
        : cell(fitted(reference, width, height)), box(inkBox(cell)), tolerance(toleranceFor(width, height)),
          blur(blurred(cell, tolerance)) {}

    double likeness(const DotCell& candidate) const {
        const InkBox candBox = inkBox(candidate);
        if (box.empty() || candBox.empty())
            return 0;
        const int w = cell.width(), h = cell.height();
        const double asDrawn = correlation(blur, blurred(candidate, tolerance), tolerance);
        const double rescaled =
            correlation(blur, blurred(mappedOnto(candidate, candBox, box, w, h), tolerance), tolerance);
        return std::clamp(std::max(asDrawn, rescaled), 0.0, 1.0);
    }
};

} // namespace

double glyphSimilarity(const DotCell& reference, const DotCell& candidate) {
    return Reference(reference, candidate.width(), candidate.height()).likeness(candidate);
}

std::vector<double> scoreLayouts(std::span<const std::uint8_t> bytes, CellSize cell, const DotCell& reference) {
    std::vector<double> scores(Layout::kCount, 0.0);
    const Reference ref(reference, cell.width, cell.height);
    for (int i = 0; i < Layout::kCount; ++i) {
        const Layout layout = Layout::fromIndex(i);
        if (encodedSize(layout, cell.width, cell.height) == bytes.size())
            scores[static_cast<std::size_t>(i)] = ref.likeness(decodeCell(bytes, layout, cell.width, cell.height));
    }
    return scores;
}

std::vector<CellSize> cellsForByteCount(std::size_t byteCount, Scan scan) {
    std::vector<CellSize> cells;
    const Layout layout{scan};
    for (int n = kMinSide; n <= DotCell::kMaxSide; ++n)
        for (int w : {n, (n + 1) / 2}) {
            const CellSize cell{w, n};
            if (encodedSize(layout, w, n) == byteCount && std::find(cells.begin(), cells.end(), cell) == cells.end())
                cells.push_back(cell);
        }
    return cells;
}

LayoutDetection detectLayout(std::span<const std::uint8_t> bytes, const DotCell& reference) {
    LayoutDetection result;
    if (bytes.empty()) {
        result.error = "no bytes to match";
        return result;
    }
    if (reference.width() == 0 || reference.inkCount() == 0) {
        result.error = "the character's glyph has no dots to match against";
        return result;
    }

    // A header of width and height before the glyph is skipped when it names a cell that fits.
    std::vector<Fit> fits;
    if (bytes.size() > 2) {
        for (const Fit& fit : fitsFor(bytes.size() - 2))
            if (bytes[0] == fit.cell.width && bytes[1] == fit.cell.height)
                fits.push_back(fit);
        result.headerSkipped = !fits.empty();
    }
    if (fits.empty())
        fits = fitsFor(bytes.size());
    if (fits.empty()) {
        result.error = std::to_string(bytes.size()) +
                       " bytes fit no glyph cell; the nearest counts that do: " + nearFits(bytes.size());
        return result;
    }
    const CellSize own{reference.width(), reference.height()};
    if (std::any_of(fits.begin(), fits.end(), [&](const Fit& f) { return f.cell == own; }))
        std::erase_if(fits, [&](const Fit& f) { return !(f.cell == own); });

    const auto glyph = result.headerSkipped ? bytes.subspan(2) : bytes;
    for (const Fit& fit : fits) {
        const std::vector<double> scores = scoreLayouts(glyph, fit.cell, reference);
        for (int i = 0; i < Layout::kCount; ++i) {
            const Layout layout = Layout::fromIndex(i);
            if ((layout.scan == Scan::Rows) == (fit.scan == Scan::Rows))
                result.candidates.push_back(
                    {layout, fit.cell, scores[static_cast<std::size_t>(i)], presetNames(layout)});
        }
    }
    std::stable_sort(result.candidates.begin(), result.candidates.end(),
                     [](const LayoutCandidate& x, const LayoutCandidate& y) { return x.score > y.score; });

    if (result.candidates.size() >= 2) {
        const LayoutCandidate& first = result.candidates[0];
        const LayoutCandidate& second = result.candidates[1];
        Layout mirrored = second.layout;
        const bool sameBase = first.cell == second.cell && first.layout.scan == mirrored.scan &&
                              first.layout.bit == mirrored.bit && first.layout.invert == mirrored.invert;
        const bool mirror = sameBase && !(first.layout == mirrored);
        result.mirrorAmbiguous = mirror && first.score - second.score <= kMirrorMargin;
    }
    return result;
}

std::string mirrorNote(const LayoutDetection& detection) {
    if (!detection.mirrorAmbiguous || detection.candidates.size() < 2)
        return {};
    return "the best two layouts, " + layoutName(detection.candidates[0].layout) + " and " +
           layoutName(detection.candidates[1].layout) +
           ", differ only by a mirror: the character looks the same mirrored, so its bytes cannot tell them "
           "apart; paste the bytes of a character that does not, such as 我 or 的";
}

std::string detectionLines(const LayoutDetection& detection, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < detection.candidates.size() && i < count; ++i) {
        const LayoutCandidate& c = detection.candidates[i];
        char score[16];
        std::snprintf(score, sizeof score, "%.3f", c.score);
        text += layoutName(c.layout) + "\t" + score + "\t" + c.presets + "\n";
    }
    return text;
}

} // namespace hz
