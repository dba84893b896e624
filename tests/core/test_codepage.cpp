#include "core/text/codepage.h"
#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <thread>

namespace hz {
namespace {

TEST(Codepage, DoubleByteCodesOfCharacters) {
    const std::vector<std::pair<char32_t, std::uint16_t>> cases = {
        {U'样', 0xD1F9}, {U'字', 0xD7D6}, {U'啊', 0xB0A1}, {U'\u3000', 0xA1A1},
        {U'，', 0xA3AC}, {U'丂', 0x8140}, // code page 936 beyond GB2312: the reader refuses it, the code page knows it
    };
    for (const auto& [character, code] : cases) {
        EXPECT_EQ(cp936Code(character), code) << std::hex << static_cast<unsigned>(character);
        EXPECT_EQ(cp936Character(code), character) << std::hex << code;
    }
}

TEST(Codepage, CharactersWithoutADoubleByteCode) {
    for (char32_t character : {U'A', U'7', U'\n', U'\0', U'€', U'😀', char32_t{0xD800}, char32_t{0x110000}})
        EXPECT_FALSE(cp936Code(character)) << std::hex << static_cast<unsigned>(character);
    EXPECT_FALSE(cp936Character(0x4142)); // two single-byte characters
    EXPECT_FALSE(cp936Character(0xA1FF));
    // A failed conversion must not spoil the next one on the same descriptor.
    EXPECT_EQ(cp936Code(U'样'), 0xD1F9);
}

TEST(Codepage, EveryGb2312CodeRoundTrips) {
    int characters = 0;
    for (int hi = 0xA1; hi <= 0xF7; ++hi) {
        for (int lo = 0xA1; lo <= 0xFE; ++lo) {
            const auto code = static_cast<std::uint16_t>(hi << 8 | lo);
            if (const auto character = cp936Character(code)) {
                ++characters;
                EXPECT_EQ(cp936Code(*character), code) << std::hex << code;
            }
        }
    }
    EXPECT_GE(characters, 7445); // GB2312's graphic characters
}

// iconv asked about one character or code at a time, as the code page's own statement of both
// directions; the tables made in one go must say the same for every character and every code.
class OneAtATime {
public:
    OneAtATime(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~OneAtATime() { iconv_close(cd); }
    std::string convert(std::string in) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* inPtr = in.data();
        char* outPtr = out;
        std::size_t inLeft = in.size(), outLeft = sizeof out;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return {};
        return std::string(out, outPtr);
    }

private:
    iconv_t cd;
};

TEST(Codepage, EveryCharacterHasTheCodeIconvGivesIt) {
    OneAtATime encoder("CP936", "UTF-32LE");
    int differing = 0;
    for (char32_t character = 0x80; character <= 0xFFFF; ++character) {
        if (character >= 0xD800 && character <= 0xDFFF)
            continue;
        const char in[4] = {static_cast<char>(character & 0xFF), static_cast<char>(character >> 8), 0, 0};
        const std::string bytes = encoder.convert(std::string(in, 4));
        std::optional<std::uint16_t> expected;
        if (bytes.size() == 2 && static_cast<unsigned char>(bytes[0]) >= 0x80)
            expected = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 |
                                                  static_cast<unsigned char>(bytes[1]));
        if (cp936Code(character) != expected && ++differing <= 5)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(character);
    }
    EXPECT_EQ(differing, 0);
}

TEST(Codepage, EveryCodeHasTheCharacterIconvGivesIt) {
    OneAtATime decoder("UTF-32LE", "CP936");
    int differing = 0;
    for (unsigned code = 0x8100; code <= 0xFFFF; ++code) {
        const std::string bytes = decoder.convert({static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
        std::optional<char32_t> expected;
        if (bytes.size() == 4)
            expected = static_cast<char32_t>(static_cast<unsigned char>(bytes[0]) |
                                             static_cast<unsigned char>(bytes[1]) << 8 |
                                             static_cast<unsigned char>(bytes[2]) << 16);
        if (cp936Character(static_cast<std::uint16_t>(code)) != expected && ++differing <= 5)
            ADD_FAILURE() << std::hex << code;
    }
    EXPECT_EQ(differing, 0);
}

TEST(Codepage, ConvertersWorkOnEveryThread) {
    std::optional<std::uint16_t> fromThread;
    std::thread([&] { fromThread = cp936Code(U'字'); }).join();
    EXPECT_EQ(fromThread, 0xD7D6);
}

TEST(Codepage, TextsBothWays) {
    const std::string utf8 = ";样[16*16]横排\r\n";
    const auto cp936 = utf8ToCp936(utf8);
    ASSERT_TRUE(cp936);
    EXPECT_EQ(*cp936, ";\xD1\xF9[16*16]\xBA\xE1\xC5\xC5\r\n");
    EXPECT_EQ(cp936ToUtf8(*cp936), utf8);
    EXPECT_EQ(utf8ToCp936(""), "");

    // The first character without a code is named, with where it is.
    const auto lacking = utf8ToCp936("ok样한😀");
    ASSERT_FALSE(lacking);
    EXPECT_EQ(lacking.problem(),
              (hz::Problem{.kind = hz::ProblemKind::NotInCodePage, .value = "한", .number = 0xD55C, .position = 5}));
    const auto cut = utf8ToCp936("样\xE6\xA0"); // cut-off UTF-8
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.problem().kind, hz::ProblemKind::NotUtf8);
    EXPECT_EQ(cut.problem().position, 3u);
    EXPECT_FALSE(cp936ToUtf8("\xD1")); // cut-off double-byte code

    std::string longText;
    for (int i = 0; i < 5000; ++i)
        longText += "字A";
    const auto longCp936 = utf8ToCp936(longText);
    ASSERT_TRUE(longCp936);
    EXPECT_EQ(longCp936->size(), 15000u);
    EXPECT_EQ(cp936ToUtf8(*longCp936), longText);
}

TEST(Utf8, DecodesCodePointsAndFindsTheFirstBadByte) {
    const auto good = decodeUtf8("A样😀");
    EXPECT_FALSE(good.error);
    EXPECT_EQ(good.text, U"A样😀"); // a character beyond the BMP is one character

    const std::vector<std::pair<std::string, std::size_t>> bad = {
        {"ab\x80", 2},           // stray continuation byte
        {"a\xC0\xAF", 1},        // overlong "/"
        {"\xE0\x80\xAF", 0},     // overlong in three bytes
        {"x\xED\xA0\x80", 1},    // surrogate
        {"\xF4\x90\x80\x80", 0}, // past U+10FFFF
        {"\xE6\xA0", 0},         // cut off
        {"\xE6\x41\xB7", 0},     // continuation missing
    };
    for (const auto& [bytes, offset] : bad) {
        const auto decoded = decodeUtf8(bytes);
        ASSERT_TRUE(decoded.error) << bytes;
        EXPECT_EQ(decoded.error->byteOffset, offset) << bytes;
    }
}

TEST(Utf8, EncodesWhatItDecodes) {
    const std::u32string text = U"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF样";
    const auto decoded = decodeUtf8(encodeUtf8(text));
    EXPECT_FALSE(decoded.error);
    EXPECT_EQ(decoded.text, text);
    EXPECT_EQ(encodeUtf8(U'样'), "样");
}

} // namespace
} // namespace hz
