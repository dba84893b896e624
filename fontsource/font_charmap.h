#pragma once
// Which of a font's character maps glyphs are looked up in, and a character's code in it.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <optional>
#include <string>

namespace hz::fontsource {

enum class CharmapKind {
    Unicode,
    Gb2312SevenBit, // X fonts registered as GB2312 with encoding 0: codes 0x2121..0x7E7E
    GbEightBit,     // GB2312 / GBK codes as code page 936 writes them: 0xA1A1..
    Big5,
};

class FontCharmap {
public:
    // Picks and selects the best map the face offers: Unicode first, then GB, then Big5. Nothing
    // when the face has none of them.
    static std::optional<FontCharmap> select(FT_Face face);

    CharmapKind kind() const { return kind_; }
    const char* name() const;

    // The character's code in this map; nothing when the map's encoding cannot hold it.
    std::optional<FT_ULong> codeFor(char32_t character) const;

private:
    explicit FontCharmap(CharmapKind kind) : kind_(kind) {}
    CharmapKind kind_;
};

} // namespace hz::fontsource
