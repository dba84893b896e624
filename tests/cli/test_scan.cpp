// --scan as a firmware build runs it: the font holds exactly the characters of the sources' texts,
// or the build hears why not.
#include "cli_process.h"
#include "file_access.h"
#include "gbk.h"
#include "sample_fonts.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Each literal is read in its own encoding: a code page 936 literal or a stray byte elsewhere in a
// UTF-8 file changes nothing about the others.
TEST(Scan, EachLiteralInItsOwnEncoding) {
    SampleFonts s;
    TempFolder tree;
    writeFile(tree.file("main.c"), "/* \xFF */ const char *a = \"样\";\n"
                                   "const char *b = \"" +
                                       toGbk("字") + "\";\n");
    CliResult r = runCli({"-f", s.dir(), "--format", "bin", "--scan", tree.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, runCli({"-f", s.dir(), "--format", "bin", "字样"}).out);
    EXPECT_TRUE(has(r.err, tree.file("main.c") + ":2: string literal read as code page 936")) << r.err;
    EXPECT_FALSE(has(r.err, ":1:")) << r.err;

    // A literal of neither encoding is named and left out; the rest is still written.
    writeFile(tree.file("main.c"), "const char *a = \"样\";\n\n const char *c = \"\xFF\xFE\";\n");
    const std::string out = s.fonts.file("font.bin");
    CliResult refused = runCli({"-f", s.dir(), "--format", "bin", "-o", out, "--scan", tree.path()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(has(refused.err, tree.file("main.c") + ":3: string literal neither UTF-8 nor code page 936"))
        << refused.err;
    EXPECT_EQ(readFile(out).size(), 32u);
}

// A character the source has no glyph for is named by the file and line it was found on.
TEST(Scan, RefusalsNameWhereTheCharacterWasFound) {
    SampleFonts s;
    TempFolder tree;
    writeFile(tree.file("ui.c"), "const char *a = \"样\";\n// א\nconst char *b = \"字א\";\n");
    CliResult r = runCli({"-f", s.dir(), "--format", "bin", "--scan", tree.path(), "字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.size(), 64u);
    EXPECT_TRUE(has(r.err, tree.file("ui.c") + ":3: 'א' (U+05D0)")) << r.err;
    EXPECT_FALSE(has(r.err, "character ")) << r.err;
}

TEST(Scan, NeverReplacesAFileItRead) {
    SampleFonts s;
    TempFolder tree;
    const std::string source = "const char *m = \"样\";\n";
    fs::create_directories(tree.file("src"));
    writeFile(tree.file("src/main.c"), source);
    for (const std::string& path : {tree.file("src"), tree.file("src/main.c")}) {
        CliResult r = runCli({"-f", s.dir(), "-o", tree.file("src/main.c"), "--scan", path});
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_TRUE(has(r.err, "refusing to write " + tree.file("src/main.c"))) << r.err;
        EXPECT_EQ(readFile(tree.file("src/main.c")), source);
    }
}

// A build must not ship a font silently short of characters: what cannot be read fails the run
// and leaves the old output; nothing found writes the empty output.
TEST(Scan, WhatCannotBeReadFailsAndNothingFoundIsWritten) {
    SampleFonts s;
    TempFolder tree;
    const std::string out = s.fonts.file("font.h");
    writeFile(out, "stale");
    for (const char* folder : {"src", "other/locked", "empty"})
        fs::create_directories(tree.file(folder));
    writeFile(tree.file("src/a.c"), "const char *a = \"样\";\n");
    writeFile(tree.file("other/locked/b.c"), "const char *b = \"字\";\n");
    writeFile(tree.file("src/shut.c"), "const char *c = \"字\";\n");
    fs::create_symlink("loop", tree.file("loop"));
    ASSERT_EQ(::mkfifo(tree.file("pipe.c").c_str(), 0600), 0);

    struct Row {
        std::string path;
        std::string said;
    };
    const Row rows[] = {
        {tree.file("src"), "cannot read " + tree.file("src/shut.c") + ": Permission denied"},
        {tree.file("other"), "cannot search " + tree.file("other/locked") + ": Permission denied"},
        {tree.file("other/locked/b.c"), "cannot read " + tree.file("other/locked/b.c") + ": Permission denied"},
        {tree.file("loop"), "cannot read " + tree.file("loop") + ": Too many levels of symbolic links"},
        {tree.file("pipe.c"), "cannot read " + tree.file("pipe.c") + ": not a regular file"},
        {"/dev/zero", "cannot read /dev/zero: not a regular file"},
    };
    ::chmod(tree.file("src/shut.c").c_str(), 0);
    ::chmod(tree.file("other/locked").c_str(), 0);
    for (const auto& row : rows) {
        // As root, hzdot-cli runs as the mode bits say.
        const auto command = hz::test::withoutFileAccessOverride(
            {HZDOT_CLI_PATH, "-f", s.dir(), "--format", "header", "-o", out, "--scan", row.path});
        CliCall call{{command.begin() + 1, command.end()}};
        call.program = command.front();
        CliResult r = runCli(call);
        EXPECT_EQ(r.status, 2) << row.path;
        EXPECT_TRUE(has(r.err, row.said)) << r.err;
        EXPECT_EQ(readFile(out), "stale");
    }
    ::chmod(tree.file("other/locked").c_str(), 0700);

    writeFile(tree.file("empty/a.c"), "int main(void) { return 0; } // 样\n");
    CliResult empty = runCli({"-f", s.dir(), "--format", "header", "-o", out, "--scan", tree.file("empty")});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_TRUE(has(empty.err, "no characters found")) << empty.err;
    EXPECT_TRUE(has(readFile(out), "_COUNT 0")) << readFile(out);
}

} // namespace
