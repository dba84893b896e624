// The installed-font list the font chooser shows.

#include "cell_text.h"

#include "fontsource/installed_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using hz::fontsource::InstalledFont;
using hz::fontsource::installedFonts;

TEST(InstalledFonts, ListsEachFaceOfACollectionWithItsChineseName) {
    const std::vector<InstalledFont> fonts = installedFonts();
    auto find = [&](const std::string& file, int face) {
        return std::find_if(fonts.begin(), fonts.end(),
                            [&](const InstalledFont& f) { return f.file == file && f.face == face; });
    };
    const auto zenhei = find(fonts::kZenhei, 0);
    ASSERT_NE(zenhei, fonts.end());
    EXPECT_EQ(zenhei->family, "WenQuanYi Zen Hei");
    EXPECT_EQ(zenhei->localFamily, "文泉驿正黑");
    EXPECT_TRUE(zenhei->cjk);
    EXPECT_TRUE(zenhei->scalable);
    const auto sharp = find(fonts::kZenhei, 1);
    ASSERT_NE(sharp, fonts.end());
    EXPECT_NE(sharp->family, zenhei->family);
}

TEST(InstalledFonts, ChineseFontsComeFirstAndEveryFileExists) {
    const std::vector<InstalledFont> fonts = installedFonts();
    ASSERT_FALSE(fonts.empty());
    const auto firstOther = std::find_if(fonts.begin(), fonts.end(), [](const InstalledFont& f) { return !f.cjk; });
    EXPECT_TRUE(std::none_of(firstOther, fonts.end(), [](const InstalledFont& f) { return f.cjk; }));
    for (const InstalledFont& font : fonts) {
        EXPECT_TRUE(std::filesystem::exists(font.file)) << font.file;
        EXPECT_FALSE(font.family.empty()) << font.file;
    }
}

TEST(InstalledFonts, BitmapFontsCarryTheirStrikeSize) {
    const std::vector<InstalledFont> fonts = installedFonts();
    const auto strike = std::find_if(fonts.begin(), fonts.end(),
                                     [](const InstalledFont& f) { return f.file == fonts::kStrike12; });
    if (strike == fonts.end())
        GTEST_SKIP() << "fontconfig is set to leave bitmap fonts out";
    EXPECT_FALSE(strike->scalable);
    EXPECT_EQ(strike->pixelSize, 12);
    EXPECT_TRUE(strike->cjk);
}

} // namespace
