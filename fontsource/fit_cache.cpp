#include "fontsource/fit_cache.h"

#include "core/system/safe_writer.h"
#include "fontsource/font_source.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace hz::fontsource {

namespace {

constexpr std::uintmax_t kLargestFile = 4096; // a file of ours is a few hundred bytes

// Raise this with any change to how a font is fitted or placed: development builds share the
// program's version, and a kept fit from an older rule must not be taken for the new one's.
constexpr int kFitRuleVersion = 2;

// Everything the rule is fitted from, one field a line; the file starts with it word for word.
std::optional<std::string> keyOf(const FontSpec& fontSpec) {
    std::error_code pathError, sizeError, timeError;
    const auto path = std::filesystem::absolute(fontSpec.file, pathError);
    const auto bytes = std::filesystem::file_size(fontSpec.file, sizeError);
    const auto stamp = std::filesystem::last_write_time(fontSpec.file, timeError);
    if (pathError || sizeError || timeError)
        return std::nullopt;
    std::ostringstream key;
    key << "hzdot fitted cells\n"
        << "program " << HZDOT_VERSION << " rule " << kFitRuleVersion << '\n'
        << "freetype " << FREETYPE_MAJOR << '.' << FREETYPE_MINOR << '.' << FREETYPE_PATCH << '\n'
        << "file " << path.string() << '\n'
        << "bytes " << bytes << '\n'
        << "modified " << stamp.time_since_epoch().count() << '\n'
        << "face " << fontSpec.face << '\n'
        << "size " << fontSpec.size << '\n'
        << "threshold " << fontSpec.threshold.value_or(-1) << '\n';
    return key.str();
}

// FNV-1a: a name that stays the same from run to run and build to build.
std::string fileNameFor(const std::string& key) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : key) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    static const char digits[] = "0123456789abcdef";
    std::string name = "fit-";
    for (int shift = 60; shift >= 0; shift -= 4)
        name += digits[(hash >> shift) & 0xf];
    return name;
}

std::string ruleText(const CellRule& rule) {
    std::ostringstream text;
    text << "rule " << (rule.drawing == Drawing::Strike ? "strike" : "outline") << ' ' << rule.pixels << ' '
         << rule.origin.x << ' ' << rule.origin.y << ' ' << (rule.fromHanzi ? 1 : 0) << "\nend\n";
    return text.str();
}

std::optional<CellRule> parseRule(const std::string& text, const FontSpec& fontSpec) {
    std::istringstream in(text);
    std::string word, drawing, end, rest;
    CellRule rule;
    int fromHanzi = -1;
    if (!(in >> word >> drawing >> rule.pixels >> rule.origin.x >> rule.origin.y >> fromHanzi >> end) ||
        word != "rule" || end != "end" || (in >> rest))
        return std::nullopt;
    if (drawing != "strike" && drawing != "outline")
        return std::nullopt;
    if (fromHanzi != 0 && fromHanzi != 1)
        return std::nullopt;
    // Any rule fitted for this size keeps to these bounds; a value outside them is damage.
    const int size = fontSpec.size;
    if (rule.pixels < 1 || rule.pixels > 2 * size || rule.origin.x < -4 * size || rule.origin.x > 4 * size ||
        rule.origin.y < -4 * size || rule.origin.y > 4 * size)
        return std::nullopt;
    rule.size = size;
    rule.drawing = drawing == "strike" ? Drawing::Strike : Drawing::Outline;
    rule.fromHanzi = fromHanzi == 1;
    rule.threshold = fontSpec.threshold;
    return rule;
}

} // namespace

std::string fitCacheFolder() {
    if (const char* off = std::getenv("HZDOT_NO_CACHE"); off && std::string(off) == "1")
        return {};
    // A relative XDG_CACHE_HOME is to be ignored, as the base directory rules have it.
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/hzdot";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.cache/hzdot";
    return {};
}

std::optional<CellRule> loadFittedRule(const FontSpec& fontSpec) {
    const std::string folder = fitCacheFolder();
    if (folder.empty())
        return std::nullopt;
    const auto key = keyOf(fontSpec);
    if (!key)
        return std::nullopt;
    const std::string path = folder + "/" + fileNameFor(*key);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kLargestFile ||
        error)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(kLargestFile + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() <= key->size() || text.compare(0, key->size(), *key) != 0)
        return std::nullopt;
    return parseRule(text.substr(key->size()), fontSpec);
}

void storeFittedRule(const FontSpec& fontSpec, const CellRule& rule) {
    const std::string folder = fitCacheFolder();
    if (folder.empty())
        return;
    const auto key = keyOf(fontSpec);
    if (!key)
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return;
    // Not written is only not remembered.
    (void)hz::writeFileSafely(folder + "/" + fileNameFor(*key), *key + ruleText(rule));
}

} // namespace hz::fontsource
