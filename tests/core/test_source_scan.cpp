#include "file_access.h"
#include "library_files.h"

#include "core/scan/source_scan.h"
#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
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

// The characters, each once, in code point order: what a scan hands on.
std::string distinct(std::string_view text) {
    std::u32string chars = utf32(text);
    std::sort(chars.begin(), chars.end());
    chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    return utf8(chars);
}

void writeText(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The source handed over a few bytes at a time, so that every look-ahead crosses a piece's end.
hz::SourceRead piecesOf(std::string_view source, std::size_t piece) {
    return [source, piece, at = std::size_t{0}](char* into, std::size_t room) mutable -> long {
        const std::size_t n = std::min({piece, room, source.size() - at});
        std::memcpy(into, source.data() + at, n);
        at += n;
        return static_cast<long>(n);
    };
}

std::vector<hz::LiteralFound> literals(std::string_view code, bool cplusplus = true, bool ascii = false,
                                       std::size_t piece = 3) {
    std::vector<hz::LiteralFound> found;
    EXPECT_EQ(hz::scanLiterals(piecesOf(code, piece), cplusplus, ascii,
                               [&](const hz::LiteralFound& literal) { found.push_back(literal); }),
              0);
    return found;
}

std::string scanned(std::string_view code, bool cplusplus = true, bool ascii = false) {
    std::u32string all;
    for (const auto& literal : literals(code, cplusplus, ascii))
        all += literal.characters;
    return distinct(utf8(all));
}

struct LiteralRow {
    const char* code;
    const char* taken;
    bool ascii = false;
};

TEST(SourceScan, EveryLiteralFormIsRead) {
    const LiteralRow rows[] = {
        {R"(puts("一"); u8"二" u"三" U"四" L"五";)", "一二三四五"},
        // Escaped quotes stay inside the literal; adjacent literals are both read.
        {R"(x = "六\"七\\" "八";)", "六七八"},
        // Escapes count as the characters they make; \n, \t and bytes above 0x7F in a narrow string
        // are not characters a user reads.
        {R"(s = "\u4E5D\U00005341\n\x41\101\t\xD6\xD0";)", "九十"},
        {R"(s = "\x41\101\x7e";)", "AA~", true},
        {R"(s = L"\x4E2D" u"\x6587" U"\x5B57\44";)", "中文字$", true},
        // Raw strings, with and without a delimiter and prefix: quotes and backslashes are text there.
        {R"--(r = R"(甲")\n乙)"; q = u8R"xy(丙)"丁)xy";)--", "甲乙丙丁"},
        // A raw string ends only at its own )delimiter", and takes nothing from the code around it.
        {R"--(f(1); auto r = R"(庚"辛)"; g(2); /)--", "庚\"辛", true},
        // Not a raw string: a delimiter with a quote or space in it, or longer than 16 characters, is
        // none, and the literal is an ordinary one.
        {R"--(auto s = R"ab" + f("温"); auto t = R"this_is_far_too_long(度)";)--", "温度"},
        {R"--(auto s = R"ab" + f(1);)--", "ab", true},
        // A line splice inside a string.
        {"s = \"戊\\\n己\";", "戊己"},
        // A literal left open ends with its line.
        {"s = \"开\n\"关\";", "开关"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(scanned(row.code, true, row.ascii), distinct(row.taken)) << row.code;
}

TEST(SourceScan, CommentsCodeAndCharacterLiteralsAreNot) {
    EXPECT_EQ(scanned("// \"注\" 释\n/* \"块\"\n 注释 */ int 变量 = '字' + L'字' + u8'a';\n"
                      "#include \"头文件.h\"\n#include <系统.h>\n"
                      "int n = 1'000'000; const char* s = \"取\"; // \\\n 续行的注释 \"不\"\n"),
              "取");
    // In C, R"..." is a name R before an ordinary string, which ends at the first quote.
    EXPECT_EQ(scanned(R"--(R"(甲")";)--", false), "甲");
    // A #define's text is a text like any other.
    EXPECT_EQ(scanned("#define MSG \"定义\"\n"), distinct("定义"));
}

TEST(SourceScan, PrintableAsciiOnlyWhenAsked) {
    EXPECT_EQ(scanned(R"(s = "Hi 中\t\"";)"), "中");
    EXPECT_EQ(scanned(R"(s = "Hi 中\t\"";)", true, true), distinct("Hi 中\""));
}

// Each literal is read in the encoding its own bytes are in, whatever is around it.
TEST(SourceScan, EachLiteralHasItsOwnEncoding) {
    using E = hz::LiteralEncoding;
    const std::string gbk = *hz::utf8ToCp936("温度");
    // 乗 is 0x81 0x5C in code page 936: its second byte is a backslash, which must not escape the
    // closing quote.
    const std::string backslashTrail = "\x81\x5C";
    const std::string source = "\xEF\xBB\xBF"
                               "/* stray \xFF byte */ const char* a = \"温度\";\n" // 1
                               "const char* b = \"" +
                               gbk + "\"; // " + gbk + "\n" +    // 2
                               "const char* c = \"\xFF\xFE\";\n" // 3
                               "const char* d = \"" +
                               backslashTrail + "\"; const char* e = \"设置\";\n" + // 4
                               "auto f = R\"x(\n" + gbk + ")x\";\n";                // 5, 6
    const auto found = literals(source);
    ASSERT_EQ(found.size(), 6u);
    const std::pair<int, E> expected[] = {{1, E::Utf8},  {2, E::Cp936}, {3, E::Neither},
                                          {4, E::Cp936}, {4, E::Utf8},  {5, E::Cp936}};
    const char* taken[] = {"温度", "温度", "", "乗", "设置", "温度"};
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].line, expected[i].first) << i;
        EXPECT_EQ(found[i].encoding, expected[i].second) << i;
        EXPECT_EQ(utf8(found[i].characters), distinct(taken[i])) << i;
    }
    // A comment ending in such a character does not carry on into the next line.
    EXPECT_EQ(scanned("// \xC0\x5C\nconst char* s = \"表\";\n"), "表");
}

TEST(SourceScan, ReadFailureIsReported) {
    int calls = 0;
    const hz::SourceRead failing = [&](char* into, std::size_t) -> long {
        if (calls++ == 0) {
            std::memcpy(into, "\"字", 4);
            return 4;
        }
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(hz::scanLiterals(failing, true, false, [](const hz::LiteralFound&) {}), EIO);
}

TEST(SourceScan, TreeOfFilesEachCharacterWithWhereItWasFound) {
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
    writeText(root / "bad.cc", "\n\"\xFF\xFF\xFF\"");

    const std::vector<fs::path> paths{root};
    const auto result = hz::scanSources(paths, false);
    ASSERT_TRUE(result);
    EXPECT_EQ(utf8(result->characters), distinct("温度湿度乙菜单设置确定取消串口生成"));

    // Sorted paths, the characters of each, and where each character was first found.
    std::vector<std::string> names;
    for (const auto& f : result->files)
        names.push_back(fs::relative(f.path, root).string());
    EXPECT_EQ(names, (std::vector<std::string>{"bad.cc", "build/gen.hpp", "main.c", "ui/menu.cpp", "ui/sketch.ino",
                                               "ui/strings.h"}));
    EXPECT_EQ(result->files[2].characters, 4u); // 温 度 湿 乙
    EXPECT_EQ(result->files[5].cp936Literals, 2u);
    ASSERT_EQ(result->places.size(), result->characters.size());
    const auto at = result->characters.find(U'乙');
    EXPECT_EQ(names[result->places[at].file], "main.c");
    EXPECT_EQ(result->places[at].line, 3);

    // Literals read as code page 936 are named, and so is the one of neither encoding.
    ASSERT_EQ(result->literals.size(), 3u);
    EXPECT_EQ(result->literals[0].kind, hz::ProblemKind::ScanLiteralUnreadable);
    EXPECT_EQ(result->literals[0].file, (root / "bad.cc").string());
    EXPECT_EQ(result->literals[0].line, 2);
    EXPECT_EQ(result->literals[1].kind, hz::ProblemKind::ScanLiteralCp936);
    EXPECT_EQ(result->unreadableLiterals, 1u);

    // A file named directly is read whatever its extension.
    const std::vector<fs::path> one{root / "notes.txt"};
    EXPECT_EQ(utf8(hz::scanSources(one, false)->characters), distinct("不是源文件"));
}

// Whatever cannot be read fails the scan, naming the path and why.
TEST(SourceScan, WhatCannotBeReadFailsTheScan) {
    hz::test::TempFolder dir;
    const fs::path root = dir.file("src");
    writeText(root / "a.c", "\"字\"");
    writeText(root / "looped" / "a.c", "\"字\"");
    fs::create_symlink("loop.c", root / "looped" / "loop.c");
    fs::create_symlink("loop", root / "loop");
    ASSERT_EQ(::mkfifo((root / "pipe.h").c_str(), 0600), 0);
    writeText(root / "locked" / "inner" / "b.c", "\"字\"");
    writeText(root / "shut" / "c.c", "\"字\"");
    fs::permissions(root / "locked" / "inner", fs::perms::none);
    fs::permissions(root / "shut" / "c.c", fs::perms::none);
    // As root, the scan runs as the mode bits say.
    hz::test::WithoutFileAccessOverride asUser;
    ASSERT_TRUE(asUser.active());

    struct Row {
        fs::path path;
        hz::ProblemKind kind;
        int systemError;
        fs::path named;
    };
    const Row rows[] = {
        {root / "absent", hz::ProblemKind::ScanPathMissing, 0, root / "absent"},
        {root / "loop", hz::ProblemKind::ScanPathUnreadable, ELOOP, root / "loop"},
        // A pipe is refused, not waited on.
        {root / "pipe.h", hz::ProblemKind::ScanNotAFile, 0, root / "pipe.h"},
        // Found in a folder: a loop among its sources, a folder and a file that may not be read.
        {root / "looped", hz::ProblemKind::ScanPathUnreadable, ELOOP, root / "looped" / "loop.c"},
        {root / "locked", hz::ProblemKind::ScanFolderUnreadable, EACCES, root / "locked" / "inner"},
        {root / "shut", hz::ProblemKind::ScanPathUnreadable, EACCES, root / "shut" / "c.c"},
        // Named, inside a folder that may not be searched.
        {root / "locked" / "inner" / "b.c", hz::ProblemKind::ScanPathUnreadable, EACCES,
         root / "locked" / "inner" / "b.c"},
    };
    for (const auto& row : rows) {
        const std::vector<fs::path> paths{row.path};
        const auto result = hz::scanSources(paths, false);
        ASSERT_FALSE(result) << row.path;
        EXPECT_EQ(result.problem().kind, row.kind) << row.path;
        EXPECT_EQ(result.problem().systemError, row.systemError) << row.path;
        EXPECT_EQ(result.problem().file, row.named.string()) << row.path;
    }
}

} // namespace

namespace {

// However the source is handed over, a byte or a megabyte at a time, the same literals come out.
TEST(SourceScan, SameLiteralsHoweverTheSourceIsCut) {
    const std::string gbk = *hz::utf8ToCp936("温度");
    const std::string source =
        "\xEF\xBB\xBF#include \"头.h\"\n"
        "int abcd\"一\"; x = u8\"二\" xu8\"三\" Lx\"四\" L\"五\" 1u8\"六\" 1.u8\"七\" 1e+u8\"八\";\n"
        "// 注释 \\\n 续 \"不\"\n"
        "/* \"块\" ** / */ auto r = LR\"x(九\")x\" R\"(十\\)\";\n"
        "n = 1'000 + 'c' + 0x1F'FF; s = \"\\u4E2D\\x41" +
        gbk + "\"; t = \"" + gbk + "\";\n" +
        "w = \"abc \xE4\xB8\xAD def \xE4\xB8\"; v = \"\xE6\x96\x87\\t\xE5\xAD\x97\";\n";
    const auto whole = literals(source, true, false, std::size_t{1} << 20);
    std::u32string all;
    for (const auto& literal : whole)
        all += literal.characters;
    EXPECT_EQ(distinct(utf8(all)), distinct("一二三四五六七八九十温度中文字"));
    for (bool ascii : {false, true}) {
        const auto reference = literals(source, true, ascii, std::size_t{1} << 20);
        for (std::size_t piece : {1, 2, 3, 4, 7, 16, 100}) {
            const auto cut = literals(source, true, ascii, piece);
            ASSERT_EQ(cut.size(), reference.size()) << piece;
            for (std::size_t i = 0; i < cut.size(); ++i) {
                EXPECT_EQ(cut[i].line, reference[i].line) << piece << " " << i;
                EXPECT_EQ(cut[i].encoding, reference[i].encoding) << piece << " " << i;
                EXPECT_EQ(cut[i].characters, reference[i].characters) << piece << " " << i;
            }
        }
    }
}

// The files of a tree are read side by side, yet the result is that of reading them in order: each
// character is placed in the first file that has it, the notes come in the files' order, and of
// several files that fail, the first does.
TEST(SourceScan, FilesReadSideBySideAddUpInTheirOrder) {
    hz::test::TempFolder dir;
    const fs::path root = dir.file("many");
    constexpr int kFiles = 600;       // more than are read ahead of the first not yet added
    constexpr char32_t kOwn = 0x6000; // file f's own character is kOwn + f
    const std::u32string pool = utf32("零一二三四五六七八九十百千万亿");
    for (int f = 0; f < kFiles; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03d.c", f);
        // File f holds pool characters f % 15 and (f + 1) % 15 on lines 2 and 3, and its own
        // character, which no other file has, on line 4; every 100th file has a literal in code page
        // 936 on line 5.
        std::string text = "int x;\nconst char* a = \"" + utf8(pool.substr(f % 15, 1)) + "\";\nconst char* b = \"" +
                           utf8(pool.substr((f + 1) % 15, 1)) + "\";\nconst char* c = \"" +
                           utf8(std::u32string(1, static_cast<char32_t>(kOwn + f))) + "\";\n";
        if (f % 100 == 50)
            text += "const char* d = \"" + *hz::utf8ToCp936("温度") + "\";\n";
        writeText(root / name, text);
    }
    const std::vector<fs::path> paths{root};
    const auto result = hz::scanSources(paths, false);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->files.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(result->characters.size(), 15u + kFiles + 2);
    for (std::size_t i = 0; i < result->characters.size(); ++i) {
        const char32_t c = result->characters[i];
        if (c == U'温' || c == U'度') {
            EXPECT_EQ(result->places[i].file, 50u);
            EXPECT_EQ(result->places[i].line, 5);
            continue;
        }
        const auto inPool = pool.find(c);
        // A pool character is first met in file k as its first literal, or in file k - 1 as its second.
        const std::size_t file =
            inPool != std::u32string::npos ? (inPool == 0 ? 0 : inPool - 1) : static_cast<std::size_t>(c - kOwn);
        const int line = inPool != std::u32string::npos ? (inPool == 0 ? 2 : 3) : 4;
        EXPECT_EQ(result->places[i].file, file) << utf8(std::u32string(1, c));
        EXPECT_EQ(result->places[i].line, line) << utf8(std::u32string(1, c));
    }
    ASSERT_EQ(result->literals.size(), 6u);
    for (std::size_t n = 0; n < result->literals.size(); ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "f%03zu.c", n * 100 + 50);
        EXPECT_EQ(result->literals[n].kind, hz::ProblemKind::ScanLiteralCp936);
        EXPECT_EQ(result->literals[n].file, (root / name).string());
        EXPECT_EQ(result->literals[n].line, 5);
    }
    for (std::size_t f = 0; f < result->files.size(); ++f)
        EXPECT_EQ(result->files[f].characters, f % 100 == 50 ? 5u : 3u) << f;

    // Two files that cannot be read, and a path missing after them: the first file is named.
    hz::test::WithoutFileAccessOverride asUser;
    ASSERT_TRUE(asUser.active());
    fs::permissions(root / "f123.c", fs::perms::none);
    fs::permissions(root / "f456.c", fs::perms::none);
    const std::vector<fs::path> twice{root, dir.file("absent")};
    const auto failed = hz::scanSources(twice, false);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.problem().kind, hz::ProblemKind::ScanPathUnreadable);
    EXPECT_EQ(failed.problem().file, (root / "f123.c").string());
    EXPECT_EQ(failed.problem().systemError, EACCES);
}

} // namespace
