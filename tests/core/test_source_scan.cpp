#include "library_files.h"

#include "core/scan/source_scan.h"
#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::u32string utf32(std::string_view utf8) {
    return hz::decodeUtf8(utf8).text;
}

std::string utf8(std::u32string_view text) {
    return hz::encodeUtf8(text);
}

void writeText(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string scanned(std::string_view code, bool cplusplus = true, bool ascii = false) {
    return utf8(hz::literalCharacters(utf32(code), cplusplus, ascii));
}

TEST(SourceScan, EveryLiteralFormIsRead) {
    EXPECT_EQ(scanned(R"(puts("一"); u8"二" u"三" U"四" L"五";)"), "一二三四五");
    // Escaped quotes stay inside the literal; adjacent literals are both read.
    EXPECT_EQ(scanned(R"(x = "六\"七\\" "八";)"), "六七八");
    // \u and \U escapes are decoded; other escapes are bytes and are not characters.
    EXPECT_EQ(scanned(R"(s = "\u4E5D\U00005341\n\x41\101\t";)"), "九十");
    // Raw strings, with and without a delimiter and prefix: quotes and backslashes are text there.
    EXPECT_EQ(scanned(R"--(r = R"(甲")\n乙)"; q = u8R"xy(丙)"丁)xy";)--"), "甲乙丙丁");
    // A line splice inside a string.
    EXPECT_EQ(scanned("s = \"戊\\\n己\";"), "戊己");
}

TEST(SourceScan, CommentsCodeAndCharacterLiteralsAreNot) {
    EXPECT_EQ(scanned("// \"注\" 释\n/* \"块\"\n 注释 */ int 变量 = '字' + L'字' + u8'a';\n"
                      "#include \"头文件.h\"\n#include <系统.h>\n"
                      "int n = 1'000'000; const char* s = \"取\"; // \\\n 续行的注释 \"不\"\n"),
              "取");
    // In C, R"..." is a name R before an ordinary string, which ends at the first quote.
    EXPECT_EQ(scanned(R"--(R"(甲")";)--", false), "甲");
    // A #define's text is a text like any other.
    EXPECT_EQ(scanned("#define MSG \"定义\"\n"), "定义");
}

TEST(SourceScan, PrintableAsciiOnlyWhenAsked) {
    EXPECT_EQ(scanned(R"(s = "Hi 中\t\"";)"), "中");
    EXPECT_EQ(scanned(R"(s = "Hi 中\t\"";)", true, true), "Hi 中\"");
}

TEST(SourceScan, TreeOfUtf8AndCodePage936Files) {
    hz::test::TempFolder dir;
    const fs::path root = dir.file("firmware");
    writeText(root / "main.c", "\xEF\xBB\xBF// 主程序：注释里的字不算\n"
                               "static const char* msg[] = {\"温度\", u8\"湿度\", \"温度\"};\n"
                               "int x = R\"(乙)\";\n");
    writeText(root / "ui" / "menu.cpp", "auto t = R\"menu(菜单)menu\"; /* 设置 */ auto u = L\"设\\u7F6E\";\n");
    writeText(root / "ui" / "strings.h", *hz::utf8ToCp936("#define OK \"确定\" // 取消\nconst char* c = \"取消\";\n"));
    writeText(root / "ui" / "sketch.ino", "Serial.print(\"串口\");\n");
    writeText(root / "notes.txt", "\"不是源文件\"");
    writeText(root / "build" / "gen.hpp", "const char* g = \"生成\";\n");
    writeText(root / "bad.cc", "\"\xFF\xFF\xFF\"");

    const std::vector<fs::path> paths{root};
    const hz::ScanResult result = hz::scanSources(paths, false);
    ASSERT_TRUE(result.ok()) << result.error;
    std::u32string expected = utf32("温度湿度乙菜单设置确定取消串口生成");
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_EQ(utf8(result.characters), utf8(expected));

    // Sorted paths, the encoding of each, and the file of neither encoding noted and skipped.
    ASSERT_EQ(result.files.size(), 6u);
    std::vector<std::string> names;
    for (const auto& f : result.files)
        names.push_back(fs::relative(f.path, root).string());
    EXPECT_EQ(names, (std::vector<std::string>{"bad.cc", "build/gen.hpp", "main.c", "ui/menu.cpp", "ui/sketch.ino",
                                               "ui/strings.h"}));
    EXPECT_EQ(result.files[0].encoding, hz::SourceEncoding::Unreadable);
    EXPECT_NE(result.files[0].problem.find("neither UTF-8"), std::string::npos);
    EXPECT_EQ(result.files[2].encoding, hz::SourceEncoding::Utf8);
    EXPECT_EQ(result.files[2].characters, 4u); // 温 度 湿 乙
    EXPECT_EQ(result.files[5].encoding, hz::SourceEncoding::Cp936);
    EXPECT_STREQ(hz::encodingName(result.files[5].encoding), "code page 936");

    // A file named directly is read whatever its extension; a missing path is an error.
    const std::vector<fs::path> one{root / "notes.txt"};
    std::u32string direct = utf32("不是源文件");
    std::sort(direct.begin(), direct.end());
    EXPECT_EQ(hz::scanSources(one, false).characters, direct);
    const std::vector<fs::path> missing{root / "absent"};
    EXPECT_NE(hz::scanSources(missing, false).error.find("no such file or folder"), std::string::npos);
}

} // namespace
