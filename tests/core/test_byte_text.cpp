#include "core/text/byte_text.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace hz {
namespace {

struct TextCase {
    std::string in;
    std::string out;
};

TEST(ByteText, DecToHexAddsZeroBeforeALeadingLetter) {
    const std::vector<std::pair<int, std::string>> cases = {{0, "00"},    {9, "09"},    {10, "0A"},
                                                            {15, "0F"},   {16, "10"},   {159, "9F"},
                                                            {160, "0A0"}, {255, "0FF"}, {0x3C, "3C"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(DecToHex(value), text) << value;
}

TEST(ByteText, HexToBinSkipsWhatItDoesNotKnow) {
    const std::vector<TextCase> cases = {{"0A", "00001010"}, {"3C", "00111100"}, {"FF", "11111111"},
                                         {"3c", "0011"},     {"", ""},           {"3", "0011"}};
    for (const auto& c : cases)
        EXPECT_EQ(HexToBin(c.in), c.out) << c.in;
}

TEST(ByteText, BinToHexSkipsWhatItDoesNotKnow) {
    const std::vector<TextCase> cases = {{"10101011", "0AB"}, {"00000000", "00"}, {"", ""},
                                         {"10100000", "0A0"}, {"0011", "3"},      {"2222", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(BinToHex(c.in), c.out) << c.in;
}

TEST(ByteText, Add0XDropsTheExtraZero) {
    EXPECT_EQ(Add0X("0AB"), "0xAB");
    EXPECT_EQ(Add0X("3C"), "0x3C");
    EXPECT_EQ(Add0X(""), "0x");
}

// The byte texts, fields and the round trip through bits agree for every byte.
TEST(ByteText, EveryByteAgreesAcrossAllForms) {
    for (int v = 0; v < 256; ++v) {
        const std::string text = DecToHex(v);
        const std::string digits = text.size() == 3 ? text.substr(1) : text;
        ASSERT_EQ(digits.size(), 2u) << v;
        EXPECT_EQ(BinToHex(HexToBin(digits)), text) << v;
        EXPECT_EQ(std::stoi(digits, nullptr, 16), v);
        const std::string field = assemblyField(static_cast<std::uint8_t>(v));
        EXPECT_EQ(field, std::string(4 - text.size(), ' ') + text + "h");
        EXPECT_EQ(cField(static_cast<std::uint8_t>(v)), Add0X(text));
    }
}

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(ByteText, AssemblyAndCTextsOfTheWorkedLine) {
    std::vector<std::uint8_t> bytes(32, 0);
    const std::uint8_t head[] = {0x00, 0x00, 0x04, 0x40, 0x07, 0xE0, 0x08, 0x40};
    std::copy(std::begin(head), std::end(head), bytes.begin());

    const auto asmLines = splitCrLf(assemblyText(bytes));
    ASSERT_EQ(asmLines.size(), 5u); // four lines, then nothing after the last CR LF
    EXPECT_EQ(asmLines[0], "DB   00h,  00h,  04h,  40h,  07h, 0E0h,  08h,  40h");
    EXPECT_EQ(asmLines[1], "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  00h");
    EXPECT_EQ(asmLines[4], "");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(asmLines[static_cast<std::size_t>(i)].size(), 50u);

    const auto cLines = splitCrLf(cText(bytes));
    ASSERT_EQ(cLines.size(), 4u);
    EXPECT_EQ(cLines[0], "0x00,0x00,0x04,0x40,0x07,0xE0,0x08,0x40,");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(cLines[static_cast<std::size_t>(i)].size(), 40u);
    EXPECT_EQ(cLines[3], "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00");
}

TEST(ByteText, SeventyTwoBytesGiveNineLines) {
    std::vector<std::uint8_t> bytes(72);
    std::iota(bytes.begin(), bytes.end(), 0xB0);
    const auto asmLines = splitCrLf(assemblyText(bytes));
    ASSERT_EQ(asmLines.size(), 10u);
    EXPECT_EQ(asmLines[8], "DB  0F0h, 0F1h, 0F2h, 0F3h, 0F4h, 0F5h, 0F6h, 0F7h");
    const auto cLines = splitCrLf(cText(bytes));
    ASSERT_EQ(cLines.size(), 9u);
    EXPECT_EQ(cLines[8], "0xF0,0xF1,0xF2,0xF3,0xF4,0xF5,0xF6,0xF7");
    EXPECT_TRUE(assemblyText({}).empty());
    EXPECT_TRUE(cText({}).empty());
}

// The texts as the lookup used to build them field by field: the byte texts appended and the
// trailing "DB " and ",\r\n" cut off at the end.
TEST(ByteText, TextsMatchTheFieldByFieldConstruction) {
    std::vector<std::uint8_t> bytes(72);
    for (std::size_t j = 0; j < bytes.size(); ++j)
        bytes[j] = static_cast<std::uint8_t>(j * 53 + 7);
    for (std::size_t n : {32u, 72u}) {
        std::string assembly;
        std::string c;
        for (std::size_t j = 1; j <= n; ++j) {
            const std::string text = DecToHex(bytes[j - 1]);
            if (j == 1)
                assembly = "DB ";
            assembly += std::string(4 - text.size(), ' ') + text + "h,";
            if (j % 8 == 0) {
                assembly.pop_back();
                assembly += "\r\nDB ";
            }
            c += Add0X(text) + ",";
            if (j % 8 == 0)
                c += "\r\n";
        }
        assembly.resize(assembly.size() - 3);
        c.resize(c.size() - 3);
        const std::span<const std::uint8_t> view(bytes.data(), n);
        EXPECT_EQ(assemblyText(view), assembly);
        EXPECT_EQ(cText(view), c);
    }
}

} // namespace
} // namespace hz
