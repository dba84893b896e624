#include "core/layout/byte_paste.h"

#include "core/text/byte_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text) {
    const auto pasted = hz::parsePastedBytes(text);
    EXPECT_TRUE(pasted) << "refused: " << text;
    return pasted ? *pasted : Bytes{};
}

// The problem as "kind word line", e.g. "above255 0x100 2".
std::string errorOf(const std::string& text) {
    const auto pasted = hz::parsePastedBytes(text);
    if (pasted) {
        ADD_FAILURE() << "read " << pasted->size() << " bytes from: " << text;
        return {};
    }
    const hz::Problem& problem = pasted.problem();
    using Kind = hz::ProblemKind;
    const char* kind = problem.kind == Kind::PasteNotAByte        ? "notAByte"
                       : problem.kind == Kind::PasteBelowMinus128 ? "below-128"
                       : problem.kind == Kind::PasteAbove255      ? "above255"
                       : problem.kind == Kind::PasteOddHexDigits  ? "oddHex"
                       : problem.kind == Kind::PasteOpenComment   ? "openComment"
                       : problem.kind == Kind::PasteOpenString    ? "openString"
                       : problem.kind == Kind::PasteOpenCharacter ? "openCharacter"
                       : problem.kind == Kind::PasteNoBytes       ? "noBytes"
                       : problem.kind == Kind::PasteTooLong       ? "tooLong"
                       : problem.kind == Kind::PasteTooManyBytes  ? "tooManyBytes"
                                                                  : "other";
    std::string said = kind;
    if (!problem.value.empty())
        said += " " + problem.value;
    if (problem.line)
        said += " " + std::to_string(problem.line);
    if (problem.number)
        said += " " + std::to_string(problem.number);
    return said;
}

TEST(BytePaste, CArrayTakesOnlyTheBracedNumbers) {
    // The array size, the names and the comments with numbers in them are no bytes.
    EXPECT_EQ(bytesOf("/* 我 16x16, 32 bytes */\n"
                      "static const unsigned char font_x12[32] PROGMEM = { // row 0\n"
                      "  0x1F, 0X2a,0xffU, /* 0x99 */ 0x00,\n"
                      "};\n"),
              (Bytes{0x1F, 0x2A, 0xFF, 0x00}));
    EXPECT_EQ(bytesOf("{{0x01, 2}, {0b00000011, 4}}"), (Bytes{1, 2, 3, 4}));
}

TEST(BytePaste, DecimalInsideBracesLeadingZerosStayDecimal) {
    EXPECT_EQ(bytesOf("uint8_t g[] = {31, 0, 255, 010, 9};"), (Bytes{31, 0, 255, 10, 9}));
}

TEST(BytePaste, SignedCharTablesGiveTwosComplementBytes) {
    EXPECT_EQ(bytesOf("const char g[] = {-1, -128, 127, -0x01};"), (Bytes{0xFF, 0x80, 0x7F, 0xFF}));
    EXPECT_EQ(errorOf("{-129}"), "below-128 -129 1");
    // In a hex dump a dash only separates.
    EXPECT_EQ(bytesOf("1F-2A"), (Bytes{0x1F, 0x2A}));
}

TEST(BytePaste, AssemblyAsTheProgramWritesIt) {
    // The program's own DB lines, with the record header comment.
    EXPECT_EQ(bytesOf(";样[16*16]\n DB 000h,0E0h,01FH,0FFH ; first row\n DB 10000001B,0,255\n"),
              (Bytes{0x00, 0xE0, 0x1F, 0xFF, 0x81, 0, 255}));
    // A label before the directive is a name; 1B is binary one in assembly.
    EXPECT_EQ(bytesOf("hz_wo: DB 0FFH, 1B, 0b101"), (Bytes{0xFF, 1, 5}));
    EXPECT_EQ(bytesOf("glyph: .byte $1F,$e0, #$FF, 3"), (Bytes{0x1F, 0xE0, 0xFF, 3}));
}

TEST(BytePaste, ReadsBackEveryByteOfTheProgramsOwnTexts) {
    Bytes all(256);
    for (int v = 0; v < 256; ++v)
        all[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v);
    EXPECT_EQ(bytesOf(";样[16*16]\r\n" + hz::assemblyText(all)), all);
    EXPECT_EQ(bytesOf("{//样[16*16]\r\n" + hz::cText(all) + "}"), all);
    EXPECT_EQ(bytesOf(hz::cText(all)), all); // the fields alone, without the braces
}

TEST(BytePaste, BareHexPairs) {
    EXPECT_EQ(bytesOf("1F 2A 0b 1B\nff"), (Bytes{0x1F, 0x2A, 0x0B, 0x1B, 0xFF}));
    EXPECT_EQ(bytesOf("1F2A3C4D"), (Bytes{0x1F, 0x2A, 0x3C, 0x4D}));
    // Full-width commas of a Chinese input method separate like ASCII ones.
    EXPECT_EQ(bytesOf("1F，2A，3C"), (Bytes{0x1F, 0x2A, 0x3C}));
    // DB opening a line is the directive; inside a line it is the byte 0xDB.
    EXPECT_EQ(bytesOf("DB 01 DB 02\ndb 03"), (Bytes{0x01, 0xDB, 0x02, 0x03}));
    // Names that are not all hex digits are skipped.
    EXPECT_EQ(bytesOf("glyph: 01 02"), (Bytes{1, 2}));
}

TEST(BytePaste, BinaryForms) {
    EXPECT_EQ(bytesOf("0b00011111, 0B11110000"), (Bytes{0x1F, 0xF0}));
    EXPECT_EQ(bytesOf("00011111B\n11110000b"), (Bytes{0x1F, 0xF0}));
}

TEST(BytePaste, StringsAndPreprocessorLinesAreSkipped) {
    EXPECT_EQ(bytesOf("#define SIZE 32\nconst char* n = \"0x55 {\";\n{0x01}"), (Bytes{0x01}));
}

TEST(BytePaste, Refusals) {
    EXPECT_EQ(errorOf(""), "noBytes");
    EXPECT_EQ(errorOf("// 0x1F\n/* 0x2A */ ; 0x3C"), "noBytes");
    EXPECT_EQ(errorOf("static const unsigned char font[] = {};"), "noBytes");
    EXPECT_EQ(errorOf("{0x1F,\n0x100}"), "above255 0x100 2");
    EXPECT_EQ(errorOf("{256}"), "above255 256 1");
    EXPECT_EQ(errorOf("DB 100H"), "above255 100H 1");
    EXPECT_EQ(errorOf("{0x1F,\n /* open"), "openComment 2");
    EXPECT_EQ(errorOf("{1F, 2A}"), "notAByte 1F 1");
    EXPECT_EQ(errorOf("1F 2A3"), "oddHex 2A3 1");
    EXPECT_EQ(errorOf("{0x1F}\n\n \"open"), "openString 3");
    EXPECT_EQ(errorOf("{0x1F} 'open"), "openCharacter 1");
}

TEST(BytePaste, NoMoreThanAGlyphIsRead) {
    // A 64x64 glyph and its header is the most; one byte more is no glyph.
    EXPECT_EQ(bytesOf(std::string(514 * 2, 'f')).size(), 514u);
    EXPECT_EQ(errorOf(std::string(515 * 2, 'f')), "tooManyBytes 514");
    // Text beyond 64 KB is refused before it is split, comments or not.
    EXPECT_EQ(errorOf("{0x01}" + std::string(64 * 1024, ' ')), "tooLong 65536");
    EXPECT_EQ(bytesOf("{0x01}" + std::string(64 * 1024 - 6, ' ')), (Bytes{1}));
}

TEST(BytePaste, LongWordsAreCutWhereTheyAreNamed) {
    const std::string digits(50000, '7');
    EXPECT_EQ(errorOf("{" + digits + "}"), "above255 " + digits.substr(0, 40) + "… 1");
    EXPECT_EQ(errorOf("{-" + digits + "}"), "below-128 -" + digits.substr(0, 39) + "… 1");
    EXPECT_EQ(errorOf("{0x" + std::string(40, '1') + "}"), "above255 0x" + std::string(38, '1') + "… 1");
    EXPECT_EQ(errorOf("{0x" + std::string(38, '1') + "}"), "above255 0x" + std::string(38, '1') + " 1");
}

} // namespace
