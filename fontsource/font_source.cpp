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

    static Key keyOf(const FontSpec& fontSpec) {
        std::error_code sizeError, timeError, pathError;
        const auto bytes = std::filesystem::file_size(fontSpec.file, sizeError);
        const auto stamp = std::filesystem::last_write_time(fontSpec.file, timeError);
        const auto path = std::filesystem::absolute(fontSpec.file, pathError);
        return {pathError ? fontSpec.file : path.string(), fontSpec.face, fontSpec.size, fontSpec.threshold.value_or(-1),
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

std::string checkSpec(const FontSpec& fontSpec) {
    if (fontSpec.file.empty())
        return "no font file given";
    if (fontSpec.size < FontSource::kMinSize || fontSpec.size > FontSource::kMaxSize)
        return fontSpec.file + ": a size of " + std::to_string(fontSpec.size) + " dots is outside " +
               std::to_string(FontSource::kMinSize) + " to " + std::to_string(FontSource::kMaxSize);
    if (fontSpec.face < 0)
        return fontSpec.file + ": has no face " + std::to_string(fontSpec.face);
    if (fontSpec.threshold && (*fontSpec.threshold < 0 || *fontSpec.threshold > 255))
        return fontSpec.file + ": a threshold of " + std::to_string(*fontSpec.threshold) + " is outside 0 to 255";
    return {};
}

} // namespace

hz::Result<std::unique_ptr<FontSource>> FontSource::open(const FontSpec& fontSpec) {
    // The font source's failures are whole messages inside it (FontError); outside they travel as
    // the message of a FontUnusable problem.
    auto unusable = [&](std::string message) {
        return hz::Problem{.kind = hz::ProblemKind::FontUnusable, .file = fontSpec.file, .value = std::move(message)};
    };
    if (std::string problem = checkSpec(fontSpec); !problem.empty())
        return unusable(std::move(problem));
    try {
        const RuleCache::Key key = RuleCache::keyOf(fontSpec);
        if (auto rule = ruleCache().find(key)) {
            return std::make_unique<FontSource>(
                fontSpec, std::make_unique<Drawer>(FontFace(fontSpec.file, fontSpec.face, fontSpec.size), *rule));
        }
        FacePool pool(fontSpec.file, fontSpec.face, fontSpec.size);
        const CellRule rule = fitCells(pool, gb2312Table(), fontSpec.size, fontSpec.threshold).rule;
        ruleCache().keep(key, rule);
        return std::make_unique<FontSource>(fontSpec, std::make_unique<Drawer>(pool.takeFront(), rule));
    } catch (const FontError& failure) {
        return unusable(failure.what());
    }
}

FontSource::FontSource(FontSpec fontSpec, std::unique_ptr<Drawer> drawer)
    : fontSpec_(std::move(fontSpec)), drawer_(std::move(drawer)) {}

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
    return std::filesystem::path(fontSpec_.file).filename().string() + " face " + std::to_string(fontSpec_.face) + ", " +
           std::to_string(fontSpec_.size) + " dots";
}

std::string FontSource::familyName() const {
    return drawer_->face.familyName();
}

} // namespace hz::fontsource
