#include "tools/mkfont/traditional_map.h"

#include "tools/mkfont/mkfont_error.h"

#include "core/text/utf8.h"

#include <Config.hpp>
#include <Converter.hpp>

#include <exception>

namespace hz::mkfont {

namespace {

// Characters only: the phrase tables would pick forms by context, and a library has no context.
// OpenCC finds the tables in its own data folder.
std::string singleTableConfig(const std::string& table) {
    return R"({"name": ")" + table + R"(", "segmentation": {"type": "mmseg", "dict": {"type": "ocd2", "file": ")" +
           table + R"("}}, "conversion_chain": [{"dict": {"type": "ocd2", "file": ")" + table + R"("}}]})";
}

std::shared_ptr<opencc::Converter> loadTable(const std::string& table) {
    try {
        return opencc::Config().NewFromString(singleTableConfig(table), "");
    } catch (const std::exception& error) {
        throw MkfontError("cannot load OpenCC's table " + table + " (" + error.what() +
                          "); run scripts/install-deps.sh");
    }
}

// One character through one table; the character itself when the table has no single-character
// answer for it.
char32_t convertOne(const opencc::Converter& converter, char32_t character) {
    std::string converted;
    try {
        converted = converter.Convert(hz::encodeUtf8(character));
    } catch (const std::exception&) {
        return character;
    }
    const auto decoded = hz::decodeUtf8(converted);
    if (decoded.error || decoded.text.size() != 1)
        return character;
    return decoded.text.front();
}

} // namespace

TraditionalMap::TraditionalMap()
    : characters_(loadTable("STCharacters.ocd2")), taiwanVariants_(loadTable("TWVariants.ocd2")) {}

TraditionalMap::~TraditionalMap() = default;

char32_t TraditionalMap::toTraditional(char32_t simplified) const {
    return convertOne(*characters_, simplified);
}

char32_t TraditionalMap::taiwanVariant(char32_t traditional) const {
    return convertOne(*taiwanVariants_, traditional);
}

void drawTraditional(std::vector<hz::fontsource::CodeEntry>& entries, const TraditionalMap& map) {
    for (hz::fontsource::CodeEntry& entry : entries) {
        if (!entry.character)
            continue;
        entry.drawn = map.toTraditional(*entry.character);
        if (entry.drawn != *entry.character) {
            if (const char32_t variant = map.taiwanVariant(entry.drawn); variant != entry.drawn)
                entry.variant = variant;
        }
    }
}

} // namespace hz::mkfont
