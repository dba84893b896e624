#include "fontsource/font_charmap.h"

#include "fontsource/legacy_codes.h"

#include "core/text/codepage.h"

#include FT_BDF_H

#include <algorithm>
#include <cctype>

namespace hz::fontsource {

namespace {

std::string upper(const char* text) {
    std::string result = text ? text : "";
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool selectEncoding(FT_Face face, FT_Encoding encoding) {
    return FT_Select_Charmap(face, encoding) == 0;
}

// Bitmap fonts from X carry their encoding as a charset registry instead of a tagged map; FreeType
// then offers the raw codes through a map without an encoding tag.
std::optional<CharmapKind> kindFromCharset(FT_Face face) {
    const char* encoding = nullptr;
    const char* registry = nullptr;
    if (FT_Get_BDF_Charset_ID(face, &encoding, &registry) != 0 || face->num_charmaps == 0)
        return std::nullopt;
    const std::string reg = upper(registry);
    const std::string enc = upper(encoding);
    std::optional<CharmapKind> kind;
    if (reg.starts_with("GB2312"))
        kind = enc == "0" ? CharmapKind::Gb2312SevenBit : CharmapKind::GbEightBit;
    else if (reg.starts_with("GBK") || reg.starts_with("GB18030"))
        kind = CharmapKind::GbEightBit;
    else if (reg.starts_with("BIG5"))
        kind = CharmapKind::Big5;
    if (kind)
        FT_Set_Charmap(face, face->charmaps[0]);
    return kind;
}

} // namespace

std::optional<FontCharmap> FontCharmap::select(FT_Face face) {
    if (selectEncoding(face, FT_ENCODING_UNICODE))
        return FontCharmap(CharmapKind::Unicode);
    if (selectEncoding(face, FT_ENCODING_PRC))
        return FontCharmap(CharmapKind::GbEightBit);
    if (selectEncoding(face, FT_ENCODING_BIG5))
        return FontCharmap(CharmapKind::Big5);
    if (auto kind = kindFromCharset(face))
        return FontCharmap(*kind);
    return std::nullopt;
}

const char* FontCharmap::name() const {
    switch (kind_) {
    case CharmapKind::Unicode:
        return "Unicode";
    case CharmapKind::Gb2312SevenBit:
        return "GB2312 (7-bit codes)";
    case CharmapKind::GbEightBit:
        return "GB2312/GBK";
    case CharmapKind::Big5:
        return "Big5";
    }
    return "";
}

std::optional<FT_ULong> FontCharmap::codeFor(char32_t character) const {
    switch (kind_) {
    case CharmapKind::Unicode:
        return character;
    case CharmapKind::GbEightBit:
        // The single-byte half of the code page is ASCII.
        if (character < 0x80)
            return character;
        if (auto code = hz::cp936Code(character))
            return *code;
        return std::nullopt;
    case CharmapKind::Gb2312SevenBit: {
        auto code = hz::cp936Code(character);
        // Only the GB2312 square (both bytes 0xA1..0xFE) has a 7-bit form.
        if (!code || (*code >> 8) < 0xA1 || (*code & 0xFF) < 0xA1 || (*code & 0xFF) == 0xFF)
            return std::nullopt;
        return *code - 0x8080u;
    }
    case CharmapKind::Big5:
        if (character < 0x80)
            return character;
        if (auto code = big5Code(character))
            return *code;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace hz::fontsource
