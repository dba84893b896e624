#include "fontsource/installed_fonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string_view>
#include <tuple>

namespace hz::fontsource {

namespace {

struct ConfigCloser {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternCloser {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct ObjectSetCloser {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FontSetCloser {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

std::string stringAt(FcPattern* pattern, const char* object, int n) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value)
        return {};
    return reinterpret_cast<const char*>(value);
}

// The family name given for a Chinese language, simplified first.
std::string chineseFamily(FcPattern* pattern) {
    std::string best;
    int bestRank = 99;
    for (int n = 0;; ++n) {
        const std::string family = stringAt(pattern, FC_FAMILY, n);
        if (family.empty())
            break;
        const std::string lang = stringAt(pattern, FC_FAMILYLANG, n);
        const int rank = lang == "zh-cn" ? 0 : lang == "zh-sg" ? 1 : std::string_view(lang).starts_with("zh") ? 2 : 99;
        if (rank < bestRank) {
            best = family;
            bestRank = rank;
        }
    }
    return best;
}

bool coversChinese(FcPattern* pattern) {
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(pattern, FC_LANG, 0, &langs) != FcResultMatch || !langs)
        return false;
    return FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("zh-cn")) == FcLangEqual;
}

InstalledFont describe(FcPattern* pattern) {
    InstalledFont font;
    font.family = stringAt(pattern, FC_FAMILY, 0);
    font.localFamily = chineseFamily(pattern);
    if (font.localFamily.empty())
        font.localFamily = font.family;
    font.style = stringAt(pattern, FC_STYLE, 0);
    font.file = stringAt(pattern, FC_FILE, 0);
    int index = 0;
    if (FcPatternGetInteger(pattern, FC_INDEX, 0, &index) == FcResultMatch)
        font.face = index & 0xFFFF; // the high bits name a variable font's instance
    FcBool scalable = FcTrue;
    if (FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable) == FcResultMatch)
        font.scalable = scalable != FcFalse;
    double pixels = 0;
    if (!font.scalable && FcPatternGetDouble(pattern, FC_PIXEL_SIZE, 0, &pixels) == FcResultMatch)
        font.pixelSize = static_cast<int>(std::lround(pixels));
    font.cjk = coversChinese(pattern);
    return font;
}

} // namespace

std::vector<InstalledFont> installedFonts() {
    std::unique_ptr<FcConfig, ConfigCloser> config(FcInitLoadConfigAndFonts());
    if (!config)
        return {};
    std::unique_ptr<FcPattern, PatternCloser> all(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetCloser> objects(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_FILE,
                                                                           FC_INDEX, FC_SCALABLE, FC_PIXEL_SIZE,
                                                                           FC_LANG, static_cast<char*>(nullptr)));
    if (!all || !objects)
        return {};
    std::unique_ptr<FcFontSet, FontSetCloser> set(FcFontList(config.get(), all.get(), objects.get()));
    if (!set)
        return {};

    std::vector<InstalledFont> fonts;
    fonts.reserve(static_cast<std::size_t>(set->nfont));
    for (int i = 0; i < set->nfont; ++i) {
        InstalledFont font = describe(set->fonts[i]);
        if (!font.file.empty() && !font.family.empty())
            fonts.push_back(std::move(font));
    }
    auto order = [](const InstalledFont& f) {
        return std::tie(f.family, f.style, f.pixelSize, f.file, f.face);
    };
    std::sort(fonts.begin(), fonts.end(), [&](const InstalledFont& a, const InstalledFont& b) {
        if (a.cjk != b.cjk)
            return a.cjk;
        return order(a) < order(b);
    });
    fonts.erase(std::unique(fonts.begin(), fonts.end()), fonts.end());
    return fonts;
}

} // namespace hz::fontsource
