#pragma once
// The fonts installed on this system, as fontconfig lists them, for the font chooser.

#include <string>
#include <vector>

namespace hz::fontsource {

struct InstalledFont {
    std::string family;      // the family's first (usually English) name: "WenQuanYi Zen Hei"
    std::string localFamily; // its Chinese name when it has one ("文泉驿正黑"), else family
    std::string style;       // "Regular", "Bold", "Light"...
    std::string file;
    int face = 0;            // face of a collection, from 0
    bool cjk = false;        // covers Chinese, as fontconfig judges its character set
    bool scalable = true;
    int pixelSize = 0;       // a bitmap font's strike height; 0 for outline fonts

    bool operator==(const InstalledFont&) const = default;
};

// Every installed face fontconfig knows, Chinese-capable ones first, then by family and style;
// empty when fontconfig cannot be set up.
std::vector<InstalledFont> installedFonts();

} // namespace hz::fontsource
