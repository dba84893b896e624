#include "text_lines.h"

#include "core/text/byte_text.h"
#include "core/text/dot_matrix_text.h"

#include <gtest/gtest.h>

namespace hz {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    EXPECT_TRUE(text.empty() || text.ends_with("\r\n")) << "the last line must end with CR LF";
    return test::crlfLines(text);
}

// Marks are compared as one ASCII character each so the counts are easy to read.
const Marks kAscii{"#", ".", true};

TEST(DotMatrixText, CellsOfEverySize) {
    for (const auto& [rows, bytes] : {std::pair{16, 32}, std::pair{24, 72}}) {
        std::vector<std::uint8_t> glyph(static_cast<std::size_t>(bytes), 0);
        glyph[0] = 0x80;                                   // the first dot of row 1
        glyph[static_cast<std::size_t>(bytes - 1)] = 0x01; // the last dot of the last row
        const auto lines = linesOf(dotMatrixText(assemblyText(glyph), rows, bytes, kAscii));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            std::string expected(static_cast<std::size_t>(rows), '.');
            if (r == 0)
                expected.front() = '#';
            if (r == rows - 1)
                expected.back() = '#';
            EXPECT_EQ(lines[static_cast<std::size_t>(r)], expected) << "row " << r + 1;
        }
    }
}

TEST(DotMatrixText, ThreeDigitFieldsAndTheDefaultMarks) {
    std::vector<std::uint8_t> glyph(32, 0);
    glyph[2] = 0xE0; // row 2 starts with three dots
    glyph[31] = 0xAA;
    const auto lines = linesOf(dotMatrixText(assemblyText(glyph), 16, 32, Marks{}));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[1], "■■■□□□□□□□□□□□□□");
    EXPECT_EQ(lines[15], "□□□□□□□□■□■□■□■□");
}

TEST(DotMatrixText, BackMarkOffLeavesTwoSpacesPerClearDot) {
    std::vector<std::uint8_t> glyph(32, 0);
    glyph[1] = 0x81;
    const Marks noBack{"■", "□", false};
    const auto lines = linesOf(dotMatrixText(assemblyText(glyph), 16, 32, noBack));
    EXPECT_EQ(lines[0], std::string(16, ' ') + "■" + std::string(12, ' ') + "■");
    EXPECT_EQ(lines[1], std::string(32, ' '));
}

TEST(DotMatrixText, MissingFieldsDrawAsSetDots) {
    // A text cut after its first line: the bytes of the other lines have no "h" to find.
    std::vector<std::uint8_t> glyph(32, 0);
    const std::string text = assemblyText(glyph).substr(0, 52);
    const auto lines = linesOf(dotMatrixText(text, 16, 32, kAscii));
    ASSERT_EQ(lines.size(), 16u);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(lines[static_cast<std::size_t>(r)], std::string(16, '.'));
    for (int r = 4; r < 16; ++r)
        EXPECT_EQ(lines[static_cast<std::size_t>(r)], std::string(16, '#'));

    // An empty text, or one with lower-case digits, cannot be read either.
    EXPECT_EQ(linesOf(dotMatrixText("", 16, 32, kAscii))[0], std::string(16, '#'));
    EXPECT_EQ(linesOf(dotMatrixText("DB   0ah", 16, 32, kAscii))[0], "....####" + std::string(8, '#'));
    EXPECT_EQ(dotMatrixText("", 0, 32, kAscii), "");
}

TEST(DotMatrixText, FromACellOfAnyShape) {
    // The same drawing as from the row text, for a library-sized cell...
    std::vector<std::uint8_t> glyph(32, 0);
    glyph[0] = 0x80;
    glyph[31] = 0x01;
    glyph[9] = 0x5A;
    const DotCell square = DotCell::fromRowBytes(glyph, 16, 16);
    EXPECT_EQ(dotMatrixText(square, kAscii), dotMatrixText(assemblyText(glyph), 16, 32, kAscii));
    // ...and a half-width cell is drawn as narrow as it is.
    DotCell half(5, 7, WidthClass::Half);
    half.setDot(4, 6);
    const auto lines = linesOf(dotMatrixText(half, Marks{"#", ".", false}));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(10, ' '));
    EXPECT_EQ(lines[6], "        #");
}

} // namespace
} // namespace hz
