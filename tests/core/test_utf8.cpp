#include "core/text/code_point_text.h"
#include "core/text/utf8.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

// The well-formed byte sequences, as the Unicode standard tables them: for each lead byte, the
// range each following byte must lie in.
struct Range {
    unsigned char low, high;
};
int wellFormedLength(unsigned char lead, Range (&follow)[3]) {
    const Range any{0x80, 0xBF};
    if (lead <= 0x7F)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        follow[0] = any;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        follow[0] = lead == 0xE0 ? Range{0xA0, 0xBF} : lead == 0xED ? Range{0x80, 0x9F} : any;
        follow[1] = any;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        follow[0] = lead == 0xF0 ? Range{0x90, 0xBF} : lead == 0xF4 ? Range{0x80, 0x8F} : any;
        follow[1] = follow[2] = any;
        return 4;
    }
    return 0;
}

bool wellFormed(const std::string& bytes) {
    Range follow[3]{};
    const int length = wellFormedLength(static_cast<unsigned char>(bytes[0]), follow);
    if (length == 0 || static_cast<int>(bytes.size()) < length)
        return false;
    for (int k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
        if (b < follow[k - 1].low || b > follow[k - 1].high)
            return false;
    }
    return true;
}

// Every one-, two- and three-byte sequence, followed by ASCII, is accepted exactly when it is
// well-formed; a refused one is refused at its first byte.
TEST(Utf8, AcceptsExactlyTheWellFormedSequences) {
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            const unsigned lastThird = (a >= 0xE0 && a <= 0xEF) ? 256 : 1;
            for (unsigned c = 0; c < lastThird; ++c) {
                std::string bytes{static_cast<char>(a), static_cast<char>(b)};
                if (lastThird > 1)
                    bytes += static_cast<char>(c);
                Range follow[3]{};
                const int length = wellFormedLength(static_cast<unsigned char>(a), follow);
                const bool valid = wellFormed(bytes);
                const std::string text = bytes.substr(0, valid ? static_cast<std::size_t>(length) : bytes.size()) + "A";
                const DecodedText decoded = decodeUtf8(text);
                if (valid) {
                    ASSERT_FALSE(decoded.error) << std::hex << a << " " << b << " " << c;
                    ASSERT_EQ(encodeUtf8(decoded.text), text);
                } else {
                    ASSERT_TRUE(decoded.error) << std::hex << a << " " << b << " " << c;
                    ASSERT_EQ(decoded.error->byteOffset, 0u);
                }
            }
        }
    }
}

TEST(Utf8, NamedEdges) {
    struct Case {
        std::string bytes;
        std::size_t offset;
    };
    for (const Case& c : {Case{"\xE0\x82\x80", 0},   // overlong '\u0080'
                          Case{"ab\xED\xA0\x80", 2}, // first high surrogate
                          Case{"\xED\xBF\xBF", 0},   // last low surrogate
                          Case{"\x80"
                               "A",
                               0}, // a lone continuation byte before ASCII
                          Case{"x\xFF"
                               "A",
                               1},                     // a byte that is never UTF-8, before ASCII
                          Case{"\xF4\x90\x80\x80", 0}, // past U+10FFFF
                          Case{"\xE6\xA0", 0}}) {      // cut off
        const DecodedText decoded = decodeUtf8(c.bytes);
        ASSERT_TRUE(decoded.error) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoded.error->byteOffset, c.offset) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(decodeUtf8("\xED\x9F\xBF\xEE\x80\x80").text, U"\uD7FF\uE000");
    EXPECT_EQ(decodeUtf8("\xF4\x8F\xBF\xBF").text, U"\U0010FFFF");
}

// Messages and header comments name characters this way: four hex digits at least, upper case.
TEST(CodePointText, FourDigitsAtLeastInUpperCase) {
    for (const auto& [character, text] :
         {std::pair{U'\0', "U+0000"}, std::pair{U'A', "U+0041"}, std::pair{U'\u00E9', "U+00E9"},
          std::pair{U'样', "U+6837"}, std::pair{U'\uFFFD', "U+FFFD"}, std::pair{U'\U0001F600', "U+1F600"},
          std::pair{U'\U0010FFFF', "U+10FFFF"}})
        EXPECT_EQ(codePointText(character), text);
}

} // namespace
} // namespace hz
