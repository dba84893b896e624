#include "tools/mkfont/traditional_map.h"

#include "tools/mkfont/mkfont_error.h"

#include "core/utf8.h"

#include <Config.hpp>
#include <Converter.hpp>

#include <exception>

namespace mkfont {

namespace {

// Characters only: the phrase tables would pick forms by context, and a library has no context.
// OpenCC finds the table in its own data folder.
constexpr const char* kCharacterTableConfig = R"({
  "name": "Simplified to traditional, characters only",
  "segmentation": {"type": "mmseg", "dict": {"type": "ocd2", "file": "STCharacters.ocd2"}},
  "conversion_chain": [{"dict": {"type": "ocd2", "file": "STCharacters.ocd2"}}]
})";

} // namespace

TraditionalMap::TraditionalMap() {
    try {
        converter_ = opencc::Config().NewFromString(kCharacterTableConfig, "");
    } catch (const std::exception& error) {
        throw MkfontError(std::string("cannot load OpenCC's simplified-to-traditional table STCharacters.ocd2 (") +
                          error.what() + "); run scripts/install-deps.sh");
    }
}

TraditionalMap::~TraditionalMap() = default;

char32_t TraditionalMap::toTraditional(char32_t simplified) const {
    std::string converted;
    try {
        converted = converter_->Convert(hz::encodeUtf8(simplified));
    } catch (const std::exception&) {
        return simplified;
    }
    const auto decoded = hz::decodeUtf8(converted);
    // The table maps one character to one character; anything else keeps the original.
    if (decoded.error || decoded.text.size() != 1)
        return simplified;
    return decoded.text.front();
}

} // namespace mkfont
