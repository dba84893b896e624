#pragma once
// Simplified characters to their traditional forms, by OpenCC's character table.

#include "fontsource/code_table.h"

#include <memory>
#include <vector>

namespace opencc {
class Converter;
}

namespace hz::mkfont {

class TraditionalMap {
public:
    // Throws MkfontError when OpenCC's table cannot be loaded.
    TraditionalMap();
    ~TraditionalMap();

    // The table's first candidate; the character itself when it has no traditional form.
    char32_t toTraditional(char32_t simplified) const;

    // The form Taiwan's standard prefers ("爲" -> "為"); the character itself when it is that form.
    // Fonts made for Taiwan may have only this one.
    char32_t taiwanVariant(char32_t traditional) const;

private:
    std::shared_ptr<opencc::Converter> characters_;
    std::shared_ptr<opencc::Converter> taiwanVariants_;
};

// Sets each entry's drawn form to the character's traditional form, and its variant to that
// form's Taiwan-standard variant where it has another.
void drawTraditional(std::vector<hz::fontsource::CodeEntry>& entries, const TraditionalMap& map);

} // namespace hz::mkfont
