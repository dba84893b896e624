#include "core/layout/layout_detect.h"

#include "core/layout/layout_presets.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>

namespace hz {

namespace {

constexpr int kMinSide = 8;

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

// The reference brought to the candidate's size: cut out around its ink when the ink fits (a 12x12
// glyph placed in a 16x16 cell), resampled otherwise.
DotCell fitted(const DotCell& reference, int width, int height) {
    if (reference.width() == width && reference.height() == height)
        return reference;
    const InkBox ink = inkBox(reference);
    if (ink.empty() || reference.width() < width || reference.height() < height || ink.width() > width ||
        ink.height() > height)
        return resampleCell(reference, width, height);
    // Centre the ink in the smaller cell.
    const int inkW = static_cast<int>(ink.width()), inkH = static_cast<int>(ink.height());
    const int x0 = std::clamp(ink.left - (width - inkW) / 2, 0, reference.width() - width);
    const int y0 = std::clamp(ink.top - (height - inkH) / 2, 0, reference.height() - height);
    DotCell out(width, height, reference.widthClass());
    for (int y = 0; y < height; ++y)
        out.setRow(y, reference.row(y0 + y) << x0);
    return out;
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

// The cells a paste may fill, by scan. A header of width and height before the glyph is skipped
// when it names a cell that fits.
std::vector<Fit> pasteFits(std::span<const std::uint8_t> bytes, bool& headerSkipped) {
    std::vector<Fit> fits;
    if (bytes.size() > 2) {
        for (const Fit& fit : fitsFor(bytes.size() - 2))
            if (bytes[0] == fit.cell.width && bytes[1] == fit.cell.height)
                fits.push_back(fit);
    }
    headerSkipped = !fits.empty();
    if (fits.empty())
        fits = fitsFor(bytes.size());
    return fits;
}

} // namespace

std::vector<CellSize> pasteCells(std::span<const std::uint8_t> bytes) {
    bool headerSkipped = false;
    std::vector<CellSize> cells;
    for (const Fit& fit : pasteFits(bytes, headerSkipped))
        if (std::find(cells.begin(), cells.end(), fit.cell) == cells.end())
            cells.push_back(fit.cell);
    return cells;
}

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
    for (int y = 0; y < height; ++y) {
        std::array<std::uint64_t, 3> rows{};
        for (int j = 0; j < 3; ++j) {
            const int iy = ys[static_cast<std::size_t>(3 * y + j)];
            rows[static_cast<std::size_t>(j)] = iy < 0 ? 0 : a.row(iy);
        }
        if (!(rows[0] | rows[1] | rows[2]))
            continue;
        std::uint64_t row = 0;
        for (int x = 0; x < width; ++x) {
            int hits = 0;
            for (int i = 0; i < 3; ++i) {
                const int ix = xs[static_cast<std::size_t>(3 * x + i)];
                if (ix >= 0)
                    hits += static_cast<int>(((rows[0] >> (63 - ix)) & 1) + ((rows[1] >> (63 - ix)) & 1) +
                                             ((rows[2] >> (63 - ix)) & 1));
            }
            if (hits >= 3)
                row |= std::uint64_t{1} << (63 - x);
        }
        out.setRow(y, row);
    }
    return out;
}

// A glyph as grey levels, blurred so that strokes a dot or two apart still overlap, with the sums
// its correlation needs. The blur and the shifts tried grow with the cell: a dot is a larger part
// of a small glyph. Levels are whole numbers (an unscaled [1 2 1] kernel), at most 4^6 after the
// three passes allowed, so a row of products stays within 32 bits.
struct Blurred {
    std::vector<std::int32_t> v;
    int w = 0, h = 0;
    double sum = 0;
    double variance = 0; // times the number of dots
};

constexpr int kMaxBlurPasses = 3;

int toleranceFor(int width, int height) {
    return std::max(1, std::min(width, height) / 12);
}

// Blurs the levels of b in place with passes of an unscaled [1 2 1] kernel and works out its sums.
void blurLevels(Blurred& b, int passes) {
    const int w = b.w, h = b.h;
    std::vector<std::int32_t> t(b.v.size());
    for (int p = 0; p < std::min(passes, kMaxBlurPasses); ++p) {
        // [1 2 1] across, then down; outside the cell is blank.
        for (int y = 0; y < h; ++y) {
            const std::int32_t* in = &b.v[static_cast<std::size_t>(y * w)];
            std::int32_t* out = &t[static_cast<std::size_t>(y * w)];
            for (int x = 0; x < w; ++x)
                out[x] = 2 * in[x] + (x > 0 ? in[x - 1] : 0) + (x + 1 < w ? in[x + 1] : 0);
        }
        for (int y = 0; y < h; ++y) {
            const std::int32_t* mid = &t[static_cast<std::size_t>(y * w)];
            const std::int32_t* above = y > 0 ? mid - w : nullptr;
            const std::int32_t* below = y + 1 < h ? mid + w : nullptr;
            std::int32_t* out = &b.v[static_cast<std::size_t>(y * w)];
            for (int x = 0; x < w; ++x)
                out[x] = 2 * mid[x] + (above ? above[x] : 0) + (below ? below[x] : 0);
        }
    }
    double sumSquares = 0;
    b.sum = 0;
    for (std::int32_t x : b.v) {
        b.sum += x;
        sumSquares += double(x) * x;
    }
    b.variance = sumSquares - b.sum * b.sum / static_cast<double>(b.v.size());
}

Blurred blurred(const DotCell& cell, int passes) {
    const int w = cell.width(), h = cell.height();
    Blurred b{std::vector<std::int32_t>(static_cast<std::size_t>(w * h)), w, h};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.v[static_cast<std::size_t>(y * w + x)] = cell.dot(x, y);
    blurLevels(b, passes);
    return b;
}

// The sum of products of a and b moved dx right and dy down.
double productSum(const Blurred& a, const Blurred& b, int dx, int dy) {
    const int w = a.w, h = a.h;
    const int x0 = std::max(0, dx), x1 = std::min(w, w + dx);
    double sum = 0;
    for (int y = std::max(0, dy); y < std::min(h, h + dy); ++y) {
        const std::int32_t* ra = &a.v[static_cast<std::size_t>(y * w)];
        const std::int32_t* rb = &b.v[static_cast<std::size_t>((y - dy) * w)] - dx;
        // Four sums side by side, so the products need not wait for one another.
        std::int32_t r0 = 0, r1 = 0, r2 = 0, r3 = 0;
        int x = x0;
        for (; x + 4 <= x1; x += 4) {
            r0 += ra[x] * rb[x];
            r1 += ra[x + 1] * rb[x + 1];
            r2 += ra[x + 2] * rb[x + 2];
            r3 += ra[x + 3] * rb[x + 3];
        }
        for (; x < x1; ++x)
            r0 += ra[x] * rb[x];
        sum += static_cast<double>(r0) + r1 + r2 + r3;
    }
    return sum;
}

// The normalised correlation of the blurred glyphs, best over shifts of b up to maxShift dots: 1
// for the same picture, about 0 for unrelated ones, below 0 for an inverse. Blurred pictures
// change smoothly with the shift, so the best shift is climbed to from no shift rather than
// searched for over the whole square.
double correlation(const Blurred& a, const Blurred& b, int maxShift) {
    if (a.variance <= 0 || b.variance <= 0)
        return 0;
    // Sums already worked out, by shift; shifts never exceed the cell.
    const int span = 2 * maxShift + 1;
    std::vector<double> known(static_cast<std::size_t>(span * span), -1);
    auto sumAt = [&](int x, int y) {
        double& slot = known[static_cast<std::size_t>((y + maxShift) * span + x + maxShift)];
        if (slot < 0)
            slot = productSum(a, b, x, y);
        return slot;
    };
    int dx = 0, dy = 0;
    double best = sumAt(0, 0);
    for (bool moved = true; moved;) {
        moved = false;
        int nextX = dx, nextY = dy;
        for (int sy = -1; sy <= 1; ++sy)
            for (int sx = -1; sx <= 1; ++sx) {
                const int x = dx + sx, y = dy + sy;
                if ((sx || sy) && std::abs(x) <= maxShift && std::abs(y) <= maxShift && sumAt(x, y) > best) {
                    best = sumAt(x, y);
                    nextX = x;
                    nextY = y;
                    moved = true;
                }
            }
        dx = nextX;
        dy = nextY;
    }
    const double mean = a.sum * b.sum / static_cast<double>(a.w * a.h);
    return (best - mean) / std::sqrt(a.variance * b.variance);
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

// The glyph's ink box drawn onto a fixed grid of grey levels and blurred: another font drawing the
// character larger, smaller or elsewhere in its cell, at any cell size, lands on the same grid, and
// only the strokes are compared, not where the ink sits in the cell. Each axis of the box is
// stretched to the grid, one at most kMaxStretch times more than the other, so that a flat 一 stays
// flat. A grid dot holds kGridSamples squared samples, so levels stay small enough for
// productSum after one blur pass (16 * 16 at most).
constexpr int kGrid = 24;
constexpr int kGridSamples = 4;
constexpr double kMaxStretch = 1.5;
constexpr int kGridBlurPasses = 1;
constexpr int kGridShift = 1;

Blurred inkGrid(const DotCell& cell) {
    Blurred b{std::vector<std::int32_t>(kGrid * kGrid), kGrid, kGrid};
    const InkBox box = inkBox(cell);
    if (box.empty())
        return b;
    double sx = kGrid / box.width(), sy = kGrid / box.height();
    sx = std::min(sx, sy * kMaxStretch);
    sy = std::min(sy, sx * kMaxStretch);
    // The source column (row) of each sample across (down) the grid, -1 outside the cell.
    constexpr int kSamples = kGrid * kGridSamples;
    auto sources = [](double centre, double scale, int limit) {
        std::array<int, kSamples> at{};
        for (int k = 0; k < kSamples; ++k) {
            const double p = centre + ((k + 0.5) / kGridSamples - kGrid / 2.0) / scale;
            at[static_cast<std::size_t>(k)] = p < 0 || p >= limit ? -1 : static_cast<int>(p);
        }
        return at;
    };
    const auto xs = sources((box.left + box.right + 1) / 2.0, sx, cell.width());
    const auto ys = sources((box.top + box.bottom + 1) / 2.0, sy, cell.height());
    for (int k = 0; k < kSamples; ++k) {
        const int from = ys[static_cast<std::size_t>(k)];
        const std::uint64_t row = from < 0 ? 0 : cell.row(from);
        if (!row)
            continue;
        std::int32_t* out = &b.v[static_cast<std::size_t>(k / kGridSamples * kGrid)];
        for (int j = 0; j < kSamples; ++j) {
            const int x = xs[static_cast<std::size_t>(j)];
            if (x >= 0)
                out[j / kGridSamples] += static_cast<std::int32_t>((row >> (63 - x)) & 1);
        }
    }
    blurLevels(b, kGridBlurPasses);
    return b;
}

double gridLikeness(const Blurred& reference, const Blurred& candidate) {
    return std::clamp(correlation(reference, candidate, kGridShift), 0.0, 1.0);
}

bool sameDots(const DotCell& a, const DotCell& b) {
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (a.row(y) != b.row(y))
            return false;
    return true;
}

} // namespace

double glyphSimilarity(const DotCell& reference, const DotCell& candidate) {
    return Reference(reference, candidate.width(), candidate.height()).likeness(candidate);
}

double inkBoxSimilarity(const DotCell& reference, const DotCell& candidate) {
    return gridLikeness(inkGrid(reference), inkGrid(candidate));
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

std::vector<std::size_t> nearestFittingCounts(std::size_t byteCount) {
    std::set<std::size_t> counts;
    for (int n = kMinSide; n <= DotCell::kMaxSide; ++n)
        for (int w : {n, (n + 1) / 2})
            for (Scan scan : {Scan::Rows, Scan::Columns})
                counts.insert(encodedSize(Layout{scan}, w, n));
    std::vector<std::size_t> nearest;
    const auto above = counts.upper_bound(byteCount);
    if (above != counts.begin())
        nearest.push_back(*std::prev(above));
    if (above != counts.end())
        nearest.push_back(*above);
    return nearest;
}

Result<LayoutDetection> detectLayout(std::span<const std::uint8_t> bytes, std::span<const DotCell> references) {
    if (bytes.empty())
        return Problem{.kind = ProblemKind::MatchNoBytes};
    if (references.empty() || references.front().width() == 0 || references.front().inkCount() == 0)
        return Problem{.kind = ProblemKind::MatchBlankReference};
    std::vector<const DotCell*> faces;
    for (const DotCell& reference : references)
        if (reference.width() > 0 && reference.inkCount() > 0)
            faces.push_back(&reference);

    LayoutDetection result;
    std::vector<Fit> fits = pasteFits(bytes, result.headerSkipped);
    if (fits.empty())
        return Problem{.kind = ProblemKind::MatchNoCell, .number = static_cast<long long>(bytes.size())};
    auto ownSize = [&](const CellSize& cell) {
        return std::any_of(faces.begin(), faces.end(),
                           [&](const DotCell* f) { return f->width() == cell.width && f->height() == cell.height; });
    };
    if (std::any_of(fits.begin(), fits.end(), [&](const Fit& f) { return ownSize(f.cell); }))
        std::erase_if(fits, [&](const Fit& f) { return !ownSize(f.cell); });

    const auto glyph = result.headerSkipped ? bytes.subspan(2) : bytes;
    std::vector<Blurred> refs;
    refs.reserve(faces.size());
    for (const DotCell* face : faces)
        refs.push_back(inkGrid(*face));
    // The best half of the faces speak for a layout: bytes of a Hei font are judged by the faces
    // drawn like them, not dragged down by a Kai face; and a stray layout that happens to look like
    // one or two faces is still held back by the others.
    const std::size_t speaking = (refs.size() + 1) / 2;
    std::vector<double> likeness(refs.size());
    for (const Fit& fit : fits) {
        for (int i = 0; i < Layout::kCount; ++i) {
            const Layout layout = Layout::fromIndex(i);
            if ((layout.scan == Scan::Rows) != (fit.scan == Scan::Rows))
                continue;
            const DotCell decoded = decodeCell(glyph, layout, fit.cell.width, fit.cell.height);
            const Blurred grid = inkGrid(decoded);
            // Bytes drawn exactly as one face draws the character are that face's.
            bool exact = false;
            for (std::size_t f = 0; f < refs.size(); ++f) {
                likeness[f] = gridLikeness(refs[f], grid);
                exact = exact || sameDots(decoded, *faces[f]);
            }
            std::partial_sort(likeness.begin(), likeness.begin() + static_cast<std::ptrdiff_t>(speaking),
                              likeness.end(), std::greater<>());
            double sum = 0;
            for (std::size_t f = 0; f < speaking; ++f)
                sum += likeness[f];
            const double mean = sum / static_cast<double>(speaking);
            result.candidates.push_back({layout, fit.cell, exact ? 1.0 : mean, presetNames(layout), mean});
        }
    }
    std::stable_sort(result.candidates.begin(), result.candidates.end(),
                     [](const LayoutCandidate& x, const LayoutCandidate& y) { return x.score > y.score; });

    const LayoutCandidate& first = result.candidates.front();
    // Chance alone makes a small cell look like anything, so it needs a higher score.
    const double dots = static_cast<double>(first.cell.width * first.cell.height);
    result.unlike = first.score < kLikeScore + kSmallCellExtra * std::max(0.0, 1 - dots / kFullSizeDots);
    // The next layout, not the same layout at another cell size.
    const auto second = std::find_if(result.candidates.begin() + 1, result.candidates.end(),
                                     [&](const LayoutCandidate& c) { return !(c.layout == first.layout); });
    if (second != result.candidates.end()) {
        result.runnerUp = static_cast<std::size_t>(second - result.candidates.begin());
        // One is the other drawn mirrored: up or left toggled, nothing else.
        Layout upToggled = first.layout, leftToggled = first.layout;
        upToggled.up = !upToggled.up;
        leftToggled.left = !leftToggled.left;
        const bool sameCell = first.cell == second->cell;
        const bool mirror = sameCell && (second->layout == upToggled || second->layout == leftToggled);
        // Or mirrored in parts: the dots of each byte in the other order, with or without a mirror.
        // A character that looks nearly the same so tells them apart by a few dots, which another
        // font draws otherwise; so a wider lead is asked for, and a face matched dot for dot
        // counts only as like as the other faces find it.
        const bool mirrored =
            sameCell && second->layout.scan == first.layout.scan && second->layout.invert == first.layout.invert;
        result.ambiguous = first.score - second->score < kClearMargin ||
                           (mirrored && first.likeness - second->likeness < kMirrorMargin);
        result.mirrorAmbiguous = mirror && result.ambiguous;
    }
    return result;
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
