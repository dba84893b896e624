// Where the characters come from, and what happens to the ones that give no record.
#include "cli_process.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

namespace {

const std::string kNotChinese = "您输入的字符不是汉字！！！";

TEST(RefusedCharacters, EachNamedOnStandardErrorAndTheRestStillWritten) {
    SampleFonts s;
    // A character beyond the Basic Multilingual Plane counts as one character.
    CliResult r = runCli({"-f", s.dir(), "a样😀b字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, expected::kExportAll);
    EXPECT_EQ(r.err, "hzdot-cli: character 1 'a' (U+0061): " + kNotChinese + "\n" +
                         "hzdot-cli: character 3 '😀' (U+1F600): " + kNotChinese + "\n" +
                         "hzdot-cli: character 4 'b' (U+0062): " + kNotChinese + "\n");
}

TEST(RefusedCharacters, RecordBeyondTheEndOfATruncatedLibrary) {
    TempFolder fonts;
    writeLibrary(fonts.file(kLibraryFiles[1]), 32, {kYang, kZi}, recordOf(kYang.code) + 1);
    CliResult r = runCli({"-f", fonts.path(), "样字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "hzdot-cli: character 2 '字' (U+5B57): 字库文件不完整，找不到该字的点阵！！！\n");
    EXPECT_EQ(r.out,
              ";样[16*16]横排\r\n" + expected::kYangAsm + "\r\n\r\n{//样[16*16]横排\r\n" + expected::kYangC + "};\r\n");
}

TEST(RefusedCharacters, NothingFoundWritesNoFile) {
    SampleFonts s;
    const std::string file = s.fonts.file("out.txt");
    CliResult r = runCli({"-f", s.dir(), "-o", file, "ab"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fileExists(file));
    EXPECT_NE(r.err.find("not written"), std::string::npos) << r.err;
}

TEST(InputFile, LineBreaksAndByteOrderMarkAreSkipped) {
    SampleFonts s;
    const std::string input = "\xEF\xBB\xBF样\r\na字\n";
    const std::string want = "hzdot-cli: character 2 (line 2, column 1) 'a' (U+0061): " + kNotChinese + "\n";

    const std::string file = s.fonts.file("input.txt");
    writeFile(file, input);
    CliResult fromFile = runCli({"-f", s.dir(), "-i", file});
    EXPECT_EQ(fromFile.status, 1);
    EXPECT_EQ(fromFile.out, expected::kExportAll);
    EXPECT_EQ(fromFile.err, want);

    CliResult fromStdin = runCli(CliCall{{"-f", s.dir(), "--input", "-"}, input});
    EXPECT_EQ(fromStdin.status, 1);
    EXPECT_EQ(fromStdin.out, expected::kExportAll);
    EXPECT_EQ(fromStdin.err, want);
}

TEST(InputFile, TextArgumentKeepsItsLineBreaks) {
    SampleFonts s;
    CliResult r = runCli({"-f", s.dir(), "样\n字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "hzdot-cli: character 2 U+000A: " + kNotChinese + "\n");
    EXPECT_EQ(r.out, expected::kExportAll);
}

TEST(InputFile, UnreadableFileIsAnError) {
    SampleFonts s;
    for (const std::string& path : {s.fonts.file("no-such-file.txt"), s.dir()}) {
        CliResult r = runCli({"-f", s.dir(), "-i", path});
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
    }
}

TEST(EmptyText, WritesNothingAndSucceeds) {
    SampleFonts s;
    const std::string file = s.fonts.file("out.txt");
    const std::string empty = s.fonts.file("empty.txt");
    writeFile(empty, "\r\n\n");
    for (const auto& args :
         {std::vector<std::string>{"-f", s.dir(), ""}, std::vector<std::string>{"-f", s.dir(), "-o", file, ""},
          std::vector<std::string>{"-f", s.dir(), "-o", file, "-i", empty}}) {
        CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
    }
    EXPECT_FALSE(fileExists(file));
}

struct BadUtf8 {
    bool fromFile;
    std::string bytes;
    int offset;
};

class InvalidUtf8 : public ::testing::TestWithParam<BadUtf8> {};

TEST_P(InvalidUtf8, RefusedWithTheByteOffset) {
    const BadUtf8& c = GetParam();
    SampleFonts s;
    const std::string file = s.fonts.file("input.txt");
    const std::string out = s.fonts.file("out.txt");
    writeFile(file, c.bytes);
    std::vector<std::string> args = {"-f", s.dir(), "-o", out};
    if (c.fromFile) {
        args.push_back("-i");
        args.push_back(file);
    } else {
        args.push_back(c.bytes);
    }
    CliResult r = runCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("not valid UTF-8"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("offset " + std::to_string(c.offset) + ")"), std::string::npos) << r.err;
    EXPECT_FALSE(fileExists(out));
}

INSTANTIATE_TEST_SUITE_P(Sources, InvalidUtf8,
                         ::testing::Values(BadUtf8{false, "样\xFF字", 3}, BadUtf8{false, "\xC0\xAF", 0},
                                           BadUtf8{true, "样字\r\n\xE5\xAD", 8},
                                           BadUtf8{true, "\xEF\xBB\xBF样\xED\xA0\x80", 6}));

} // namespace
