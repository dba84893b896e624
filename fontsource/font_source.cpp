#include "fontsource/font_source.h"

#include "fontsource/cell_fit.h"
#include "fontsource/code_table.h"
#include "fontsource/face_pool.h"
#include "fontsource/font_error.h"
#include "fontsource/width_class.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <new>
#include <tuple>

namespace hz::fontsource {

struct FontSource::Drawer {
    Drawer(FontFace face, CellRule rule) : face(std::move(face)), rule(std::move(rule)) {}
    FontFace face;
    CellRule rule;
};

namespace {

// Fitting a face draws the whole GB2312 set, a noticeable pause; a window that reopens the same
// font (another size in the chooser and back) finds the rule here. A changed file is fitted anew.
class RuleCache {
public:
    using Key = std::tuple<std::string, int, int, int, std::uintmax_t, std::filesystem::file_time_type::rep>;

    static Key keyOf(const FontSpec& spec) {
        std::error_code sizeError, timeError, pathError;
        const auto bytes = std::filesystem::file_size(spec.file, sizeError);
        const auto stamp = std::filesystem::last_write_time(spec.file, timeError);
        const auto path = std::filesystem::absolute(spec.file, pathError);
        return {pathError ? spec.file : path.string(), spec.face, spec.size, spec.threshold.value_or(-1),
                sizeError ? 0 : bytes, timeError ? 0 : stamp.time_since_epoch().count()};
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

std::string checkSpec(const FontSpec& spec) {
    if (spec.file.empty())
        return "no font file given";
    if (spec.size < FontSource::kMinSize || spec.size > FontSource::kMaxSize)
        return spec.file + ": a size of " + std::to_string(spec.size) + " dots is outside " +
               std::to_string(FontSource::kMinSize) + " to " + std::to_string(FontSource::kMaxSize);
    if (spec.face < 0)
        return spec.file + ": has no face " + std::to_string(spec.face);
    if (spec.threshold && (*spec.threshold < 0 || *spec.threshold > 255))
        return spec.file + ": a threshold of " + std::to_string(*spec.threshold) + " is outside 0 to 255";
    return {};
}

} // namespace

std::unique_ptr<FontSource> FontSource::open(const FontSpec& spec, std::string& error) {
    error = checkSpec(spec);
    if (!error.empty())
        return nullptr;
    try {
        const RuleCache::Key key = RuleCache::keyOf(spec);
        if (auto rule = ruleCache().find(key)) {
            return std::make_unique<FontSource>(
                spec, std::make_unique<Drawer>(FontFace(spec.file, spec.face, spec.size), *rule));
        }
        FacePool pool(spec.file, spec.face, spec.size);
        const CellRule rule = fitCells(pool, gb2312Table(), spec.size, spec.threshold).rule;
        ruleCache().keep(key, rule);
        return std::make_unique<FontSource>(spec, std::make_unique<Drawer>(pool.takeFront(), rule));
    } catch (const FontError& failure) {
        error = failure.what();
        return nullptr;
    }
}

FontSource::FontSource(FontSpec spec, std::unique_ptr<Drawer> drawer)
    : spec_(std::move(spec)), drawer_(std::move(drawer)) {}

FontSource::~FontSource() = default;

hz::LookupStatus FontSource::glyph(char32_t character, hz::DotCell& cell) {
    if (!drawer_->face.maps(character))
        return hz::LookupStatus::NotInFont;
    const hz::WidthClass widthClass = widthClassOf(character);
    const char32_t forms[] = {character};
    const DrawnGlyph drawn = drawGlyph(drawer_->face, drawer_->rule, forms, widthClass);
    if (drawn.status == RenderStatus::Unusable)
        return hz::LookupStatus::FontUnreadable;
    if (drawn.status == RenderStatus::NotMapped)
        return hz::LookupStatus::NotInFont;
    cell = placeDrawn(drawn, drawer_->rule, widthClass).cell;
    return hz::LookupStatus::Found;
}

std::string FontSource::description() const {
    return std::filesystem::path(spec_.file).filename().string() + " face " + std::to_string(spec_.face) + ", " +
           std::to_string(spec_.size) + " dots";
}

std::string FontSource::familyName() const {
    return drawer_->face.familyName();
}

} // namespace hz::fontsource
