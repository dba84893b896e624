// Export all of long texts: characters that come again, refused ones among them, records too many
// or too big to keep each one's text, and text the output's encoding cannot hold.
#include "bdf_font.h"
#include "cli_process.h"
#include "gbk.h"
#include "sample_fonts.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <vector>

namespace {

TEST(ExportRepeats, EveryCharacterInItsPlaceHoweverOftenItComes) {
    SampleFonts s;
    const std::string yangAsm = ";样[16*16]横排\r\n" + expected::kYangAsm + "\r\n";
    const std::string ziAsm = ";字[16*16]横排\r\n" + expected::kZiAsm + "\r\n";
    const std::string yangC = "{//样[16*16]横排\r\n" + expected::kYangC + "};\r\n";
    const std::string ziC = "{//字[16*16]横排\r\n" + expected::kZiC + "};\r\n";
    const std::string want = yangAsm + ziAsm + yangAsm + yangAsm + ziAsm + "\r\n" + yangC + ziC + yangC + yangC + ziC;

    CliResult r = runCli({"-f", s.dir(), "样字a样样b字"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, want);
    // Each refusal is told once, at its place, however many parts the output has.
    EXPECT_EQ(r.err, "hzdot-cli: character 3 'a' (U+0061): 您输入的字符不是汉字！！！\n"
                     "hzdot-cli: character 6 'b' (U+0062): 您输入的字符不是汉字！！！\n");

    const std::string file = s.fonts.file("out.txt");
    CliResult toFile = runCli({"-f", s.dir(), "-o", file, "样字a样样b字"});
    EXPECT_EQ(toFile.status, 1);
    EXPECT_EQ(readFile(file), toGbk(want));
    CliResult gbk = runCli({"-f", s.dir(), "--encoding", "gbk", "样字a样样b字"});
    EXPECT_EQ(gbk.out, toGbk(want));

    // With all five arrangements, every part holds the same characters in the same order.
    CliResult all = runCli({"-f", s.dir(), "-a", "all", "样字样"});
    EXPECT_EQ(all.status, 0);
    for (const char* name : {"横排", "下上列排", "上下列排", "下半列排", "上半列排"}) {
        std::string headers;
        for (std::size_t at = 0; (at = all.out.find(std::string("]") + name + "\r\n", at)) != std::string::npos; ++at)
            headers += all.out.substr(all.out.rfind('\n', at) + 1, at - all.out.rfind('\n', at) - 1) + " ";
        EXPECT_EQ(headers, ";样[16*16 ;字[16*16 ;样[16*16 {//样[16*16 {//字[16*16 {//样[16*16 ") << name;
    }
}

// A file of 64-dot records, a full table of them: more text than is kept for each character, so
// that the characters past that are made again for each part. Every record's bytes come out, in the
// order of the text, in both parts.
TEST(ExportRepeats, RecordsOfAFullTableOfLargeCellsInOrder) {
    TempFolder dir;
    constexpr int kRecordBytes = 8 * 64;
    std::string library;
    const auto byteOf = [](long record, int i) {
        return static_cast<std::uint8_t>((record * 37 + i * 11 + 1 + (record >> 8)) & 0xFF);
    };
    for (long n = 0; n < 94L * 94; ++n)
        for (int i = 0; i < kRecordBytes; ++i)
            library += static_cast<char>(byteOf(n, i));
    const std::string own = dir.file("big64.bin");
    writeFile(own, library);

    std::string text;
    std::vector<long> records;
    std::vector<std::string> characters;
    for (int hi = 0xA1; hi <= 0xFE; ++hi)
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const std::string character = fromGbk(std::string{static_cast<char>(hi), static_cast<char>(lo)});
            if (character.empty())
                continue;
            text += character;
            characters.push_back(character);
            records.push_back((hi - 0xA1) * 94L + (lo - 0xA1));
        }
    ASSERT_GT(records.size(), 7400u);
    const std::string input = dir.file("input.txt");
    writeFile(input, text);

    CliResult r =
        runCli({"--library", own, "--cell", "64", "--first-row", "0xA1", "--record-layout", "rows-msb", "-i", input});
    ASSERT_EQ(r.status, 0) << r.err;

    std::vector<std::uint8_t> want;
    for (long record : records)
        for (int i = 0; i < kRecordBytes; ++i)
            want.push_back(byteOf(record, i));
    const auto hex = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    const std::size_t cPart = r.out.find("\r\n\r\n{//");
    ASSERT_NE(cPart, std::string::npos);
    // The assembly part: every "XXh" field; the C part: every "0xXX" field.
    std::vector<std::uint8_t> assembly, c;
    for (std::size_t at = 1; at + 3 < cPart; ++at)
        if (r.out[at + 2] == 'h' && (r.out[at - 1] == ' ' || r.out[at - 1] == '0') &&
            std::isxdigit(static_cast<unsigned char>(r.out[at])) &&
            std::isxdigit(static_cast<unsigned char>(r.out[at + 1])))
            assembly.push_back(static_cast<std::uint8_t>(hex(r.out[at]) * 16 + hex(r.out[at + 1])));
    for (std::size_t at = cPart; (at = r.out.find("0x", at)) != std::string::npos; at += 4)
        c.push_back(static_cast<std::uint8_t>(hex(r.out[at + 2]) * 16 + hex(r.out[at + 3])));
    EXPECT_TRUE(assembly == want) << assembly.size() << " assembly bytes, " << want.size() << " wanted";
    EXPECT_TRUE(c == want) << c.size() << " C bytes, " << want.size() << " wanted";

    // And each part names the characters in the order of the text.
    std::size_t at = 0;
    for (const std::string& character : characters) {
        at = r.out.find(";" + character + "[64*64]", at);
        ASSERT_LT(at, cPart) << character;
    }
    for (const std::string& character : characters) {
        at = r.out.find("{//" + character + "[64*64]", at);
        ASSERT_NE(at, std::string::npos) << character;
    }
}

// A character drawn from a font that code page 936 has no code for: a file, or standard output in
// that code page, is not written at all, whichever part meets it first.
TEST(ExportRepeats, CharacterOutsideTheCodePageWritesNothing) {
    TempFolder dir;
    hz::test::BdfFont font;
    font.glyphs = {hz::test::frameGlyph(0x6837, 12, 12, 2, 0),  // 样
                   hz::test::frameGlyph(0xD55C, 10, 12, 3, 0)}; // 한
    const std::string fontFile = dir.file("test.bdf");
    writeFile(fontFile, font.text());
    const std::string out = dir.file("out.txt");
    writeFile(out, "the user's old file");

    CliResult r = runCli({"--font", fontFile, "--size", "16", "-o", out, "样样한样"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("'한' (U+D55C) has no code in code page 936"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
    EXPECT_EQ(readFile(out), "the user's old file");

    CliResult gbk = runCli({"--font", fontFile, "--size", "16", "--encoding", "gbk", "样한"});
    EXPECT_EQ(gbk.status, 2);
    EXPECT_EQ(gbk.out, "");
    EXPECT_NE(gbk.err.find("standard output"), std::string::npos) << gbk.err;

    // In UTF-8 it is written like any other.
    CliResult utf8 = runCli({"--font", fontFile, "--size", "16", "样한"});
    EXPECT_EQ(utf8.status, 0) << utf8.err;
    EXPECT_NE(utf8.out.find("{//한[16*16]横排\r\n"), std::string::npos);
}

} // namespace
