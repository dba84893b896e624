#include "fontsource/font_source.h"

#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/fit_cache.h"
#include "fontsource/grey_cell.h"
#include "fontsource/width_class.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <thread>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace hz::fontsource {

struct FontSource::Drawer {
    Drawer(FontFace face, CellRule rule) : face(std::move(face)), rule(std::move(rule)) {}
    FontFace face;
    CellRule rule;
    // Grey levels are drawn with a face of their own: FreeType sets a face's hinting up anew each
    // time it turns between monochrome and anti-aliased rendering, which would cost more than both
    // drawings together.
    std::optional<FontFace> greyFace;
    // The one-bit rule default stands for on this face and size, chosen at the first glyph drawn.
    std::optional<RenderRule> render;
    // Full-width glyphs the fitting drew by this very rule, kept so the first lookups need not draw
    // them again. Only a glyph drawn from the character itself is kept: one drawn in its place
    // (a traditional form) is not what a lookup of the character draws.
    std::unordered_map<char32_t, DrawnGlyph> fitted;
    // Cells already looked up, up to a budget: a file in parts looks each character up once a part.
    static constexpr std::size_t kCellBudget = std::size_t{32} << 20;
    std::unordered_map<char32_t, hz::DotCell> cells;
    std::size_t cellBytes = 0;
};

namespace {

// Fitting a face draws the whole GB2312 set, a noticeable pause; a window that reopens the same
// font (another size in the chooser and back) finds the rule here, a later run in the fit cache. A
// changed file is fitted anew.
class RuleCache {
public:
    using Key = std::tuple<std::string, int, int, int, std::uintmax_t, std::filesystem::file_time_type::rep>;

    static Key keyOf(const FontSpec& fontSpec) {
        std::error_code sizeError, timeError, pathError;
        const auto bytes = std::filesystem::file_size(fontSpec.file, sizeError);
        const auto stamp = std::filesystem::last_write_time(fontSpec.file, timeError);
        const auto path = std::filesystem::absolute(fontSpec.file, pathError);
        return {pathError ? fontSpec.file : path.string(),
                fontSpec.face,
                fontSpec.size,
                fontSpec.threshold.value_or(-1),
                sizeError ? 0 : bytes,
                timeError ? 0 : stamp.time_since_epoch().count()};
    }

    std::optional<CellRule> find(const Key& key) {
        const std::lock_guard lock(mutex);
        const auto it = rules.find(key);
        return it == rules.end() ? std::nullopt : std::optional<CellRule>(it->second);
    }

    void keep(const Key& key, const CellRule& rule) {
        const std::lock_guard lock(mutex);
        rules.insert_or_assign(key, rule);
    }

private:
    std::mutex mutex;
    std::map<Key, CellRule> rules;
};

RuleCache& ruleCache() {
    static RuleCache cache;
    return cache;
}

std::optional<hz::Problem> checkSpec(const FontSpec& fontSpec) {
    using Kind = hz::ProblemKind;
    if (fontSpec.file.empty())
        return hz::Problem{.kind = Kind::FontNotGiven};
    if (fontSpec.size < FontSource::kMinSize || fontSpec.size > FontSource::kMaxSize)
        return hz::Problem{.kind = Kind::FontSizeOutOfRange, .file = fontSpec.file, .number = fontSpec.size};
    if (fontSpec.face < 0)
        return hz::Problem{.kind = Kind::FontFaceNegative, .file = fontSpec.file, .number = fontSpec.face};
    // 255 would keep no dot at all.
    if (fontSpec.threshold && (*fontSpec.threshold < 0 || *fontSpec.threshold > FontSource::kMaxThreshold))
        return hz::Problem{.kind = Kind::FontThresholdOutOfRange, .file = fontSpec.file, .number = *fontSpec.threshold};
    return std::nullopt;
}

} // namespace

namespace {

void keepFitted(const std::vector<CodeEntry>& entries, std::vector<DrawnGlyph> glyphs,
                std::unordered_map<char32_t, DrawnGlyph>& kept) {
    kept.reserve(glyphs.size());
    for (std::size_t i = 0; i < entries.size() && i < glyphs.size(); ++i) {
        DrawnGlyph& glyph = glyphs[i];
        if (entries[i].character && glyph.status == RenderStatus::Drawn && glyph.shown == *entries[i].character)
            kept.try_emplace(glyph.shown, std::move(glyph));
    }
}

hz::Result<std::unique_ptr<FontSource>> withGreyFace(const FontSpec& fontSpec,
                                                     std::unique_ptr<FontSource::Drawer> drawer) {
    if (fontSpec.bpp > 1) {
        auto greyFace = FontFace::open(fontSpec.file, fontSpec.face, fontSpec.size);
        if (!greyFace)
            return greyFace.problem();
        drawer->greyFace.emplace(std::move(*greyFace));
    }
    return std::make_unique<FontSource>(fontSpec, std::move(drawer));
}

} // namespace

hz::Result<std::unique_ptr<FontSource>> FontSource::open(const FontSpec& fontSpec) {
    if (!hz::DotCell::validDepth(fontSpec.bpp))
        throw std::invalid_argument("a font drawn at " + std::to_string(fontSpec.bpp) +
                                    " bits a dot; it must be 1, 2, 4 or 8");
    if (fontSpec.bpp > 1 && fontSpec.threshold)
        throw std::invalid_argument("a threshold cuts one-bit glyphs; it has no meaning with grey levels");
    if (auto problem = checkSpec(fontSpec))
        return *problem;
    const RuleCache::Key key = RuleCache::keyOf(fontSpec);
    std::optional<CellRule> known = ruleCache().find(key);
    if (!known) {
        known = loadFittedRule(fontSpec);
        if (known)
            ruleCache().keep(key, *known);
    }
    if (auto rule = known) {
        auto face = FontFace::open(fontSpec.file, fontSpec.face, fontSpec.size);
        if (!face)
            return face.problem();
        return withGreyFace(fontSpec, std::make_unique<Drawer>(std::move(*face), *rule));
    }
    auto pool = FacePool::open(fontSpec.file, fontSpec.face, fontSpec.size);
    if (!pool)
        return pool.problem();
    auto fitted = fitCells(*pool, gb2312Table(), fontSpec.size, fontSpec.threshold);
    if (!fitted)
        return fitted.problem();
    ruleCache().keep(key, fitted->rule);
    storeFittedRule(fontSpec, fitted->rule);
    auto drawer = std::make_unique<Drawer>(pool->takeFront(), fitted->rule);
    keepFitted(gb2312Table(), std::move(fitted->glyphs), drawer->fitted);
    return withGreyFace(fontSpec, std::move(drawer));
}

FontSource::FontSource(FontSpec fontSpec, std::unique_ptr<Drawer> drawer)
    : fontSpec_(std::move(fontSpec)), drawer_(std::move(drawer)) {}

FontSource::~FontSource() = default;

namespace {

// A character's cell as a lookup draws it, with the faces given; fitted is the glyph the fitting
// drew of it by the same rule, if kept.
hz::LookupStatus drawCell(FontFace& face, FontFace* greyFace, const CellRule& rule, const FontSpec& fontSpec,
                          RenderRule render, char32_t character, const DrawnGlyph* fitted, hz::DotCell& cell) {
    const hz::WidthClass widthClass = widthClassOf(character, fontSpec.ambiguous);
    DrawnGlyph drawn;
    if (fitted) {
        drawn = *fitted;
    } else {
        const char32_t forms[] = {character};
        drawn = drawGlyph(face, rule, forms, widthClass, fontSpec.widths);
    }
    if (drawn.status == RenderStatus::Unusable)
        return hz::LookupStatus::FontUnreadable;
    if (drawn.status == RenderStatus::NotMapped)
        return hz::LookupStatus::NotInFont;
    PlacedGlyph placed = placeDrawn(drawn, rule, widthClass, fontSpec.widths);
    if (fontSpec.bpp > 1)
        cell = greyCell(*greyFace, rule, drawn, placed, fontSpec.bpp);
    else if (render != RenderRule::Classic)
        cell = strokeCell(face, rule, drawn, placed, render);
    else
        cell = std::move(placed.cell);
    return hz::LookupStatus::Found;
}

std::size_t cellBytes(const hz::DotCell& cell, int bpp) {
    return sizeof(hz::DotCell) + static_cast<std::size_t>(cell.width() * cell.height()) * (bpp > 1 ? 1 : 0);
}

// Fewer characters than this are drawn one by one: opening another face costs more than it saves.
constexpr std::size_t kFewestToShare = 256;
// Characters are handed to the workers in runs of this many.
constexpr std::size_t kRun = 32;

} // namespace

hz::LookupStatus FontSource::glyph(char32_t character, hz::DotCell& cell) {
    if (const auto known = drawer_->cells.find(character); known != drawer_->cells.end()) {
        cell = known->second;
        return hz::LookupStatus::Found;
    }
    if (!drawer_->face.maps(character))
        return hz::LookupStatus::NotInFont;
    const bool full = widthClassOf(character, fontSpec_.ambiguous) == hz::WidthClass::Full;
    const auto kept = full ? drawer_->fitted.find(character) : drawer_->fitted.end();
    std::optional<DrawnGlyph> fitted;
    if (kept != drawer_->fitted.end()) {
        // Handed over: its cell is remembered below, or, over the budget, drawn again if asked for.
        fitted = std::move(kept->second);
        drawer_->fitted.erase(kept);
    }
    FontFace* greyFace = drawer_->greyFace ? &*drawer_->greyFace : nullptr;
    const hz::LookupStatus status =
        drawCell(drawer_->face, greyFace, drawer_->rule, fontSpec_, oneBitRule(), character, fitted ? &*fitted : nullptr,
                 cell);
    if (status != hz::LookupStatus::Found)
        return status;
    const std::size_t bytes = cellBytes(cell, fontSpec_.bpp);
    if (drawer_->cellBytes + bytes <= Drawer::kCellBudget) {
        drawer_->cells.emplace(character, cell);
        drawer_->cellBytes += bytes;
    }
    return hz::LookupStatus::Found;
}

RenderRule FontSource::oneBitRule() {
    if (fontSpec_.bpp > 1 || fontSpec_.render == RenderRule::Classic)
        return RenderRule::Classic;
    if (!drawer_->render)
        drawer_->render = chosenRule(fontSpec_.render, drawer_->face, drawer_->rule);
    return *drawer_->render;
}

int FontSource::baselineRows() const {
    return std::clamp(fontSpec_.size - drawer_->rule.origin.y, 0, fontSpec_.size);
}

int FontSource::baseline() const {
    return drawer_->rule.origin.y;
}

void FontSource::prefetch(std::span<const char32_t> characters, int workers) {
    // The characters not drawn yet, each once, in their order, as many as the cells kept can hold.
    const std::size_t perCell = cellBytes(hz::DotCell(fontSpec_.size, fontSpec_.size), fontSpec_.bpp);
    std::size_t room = drawer_->cellBytes < Drawer::kCellBudget ? (Drawer::kCellBudget - drawer_->cellBytes) / perCell : 0;
    std::vector<char32_t> wanted;
    std::vector<bool> met;
    for (const char32_t character : characters) {
        if (wanted.size() >= room)
            break;
        if (character >= met.size())
            met.resize(std::max<std::size_t>(character + 1, 0x10000), false);
        if (met[character])
            continue;
        met[character] = true;
        if (!drawer_->cells.contains(character) && drawer_->face.maps(character))
            wanted.push_back(character);
    }
    if (workers <= 0)
        workers = FacePool::defaultWorkers();
    if (wanted.size() < kFewestToShare || workers < 2)
        return;

    // One face (and one for grey levels) for each worker after the first, which has the source's.
    struct Faces {
        FontFace face;
        std::optional<FontFace> grey;
    };
    std::vector<Faces> helpers;
    for (int w = 1; w < workers; ++w) {
        auto face = FontFace::open(fontSpec_.file, fontSpec_.face, fontSpec_.size);
        if (!face)
            break; // drawn with fewer helpers, or by glyph() one by one
        Faces faces{std::move(*face), std::nullopt};
        if (fontSpec_.bpp > 1) {
            auto grey = FontFace::open(fontSpec_.file, fontSpec_.face, fontSpec_.size);
            if (!grey)
                break;
            faces.grey.emplace(std::move(*grey));
        }
        helpers.push_back(std::move(faces));
    }
    if (helpers.empty())
        return;

    // The rule default stands for is chosen here, on this thread, before the workers draw by it.
    const RenderRule render = oneBitRule();
    // The fitted glyphs are only read while the workers draw.
    std::vector<std::optional<hz::DotCell>> cells(wanted.size());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&](FontFace& face, FontFace* greyFace) {
        try {
            for (std::size_t first; (first = next.fetch_add(kRun, std::memory_order_relaxed)) < wanted.size();) {
                for (std::size_t i = first; i < std::min(first + kRun, wanted.size()); ++i) {
                    const char32_t character = wanted[i];
                    const bool full = widthClassOf(character, fontSpec_.ambiguous) == hz::WidthClass::Full;
                    const auto kept = full ? drawer_->fitted.find(character) : drawer_->fitted.end();
                    const DrawnGlyph* fitted = kept != drawer_->fitted.end() ? &kept->second : nullptr;
                    hz::DotCell cell;
                    if (drawCell(face, greyFace, drawer_->rule, fontSpec_, render, character, fitted, cell) ==
                        hz::LookupStatus::Found)
                        cells[i] = std::move(cell);
                }
            }
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            next = wanted.size();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (Faces& faces : helpers)
            threads.emplace_back(work, std::ref(faces.face), faces.grey ? &*faces.grey : nullptr);
        work(drawer_->face, drawer_->greyFace ? &*drawer_->greyFace : nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);

    // Kept as glyph() keeps them; a character left without a cell is drawn by glyph() when asked.
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!cells[i])
            continue;
        const std::size_t bytes = cellBytes(*cells[i], fontSpec_.bpp);
        if (drawer_->cellBytes + bytes > Drawer::kCellBudget)
            break;
        drawer_->fitted.erase(wanted[i]);
        drawer_->cells.emplace(wanted[i], std::move(*cells[i]));
        drawer_->cellBytes += bytes;
    }
}

std::string FontSource::description() const {
    std::string text = std::filesystem::path(fontSpec_.file).filename().string() + " face " +
                       std::to_string(fontSpec_.face) + ", " + std::to_string(fontSpec_.size) + " dots";
    if (fontSpec_.widths == GlyphWidths::Proportional)
        text += ", proportional widths";
    if (fontSpec_.ambiguous == AmbiguousWidth::Half)
        text += ", ambiguous half width";
    if (fontSpec_.bpp > 1)
        text += ", " + std::to_string(fontSpec_.bpp) + " bits a dot";
    return text;
}

std::string FontSource::familyName() const {
    return drawer_->face.familyName();
}

} // namespace hz::fontsource
