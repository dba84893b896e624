// The compressed header checked against the plain one: a program includes both, decodes every glyph
// with NAME_glyph and compares it, with its width and height, to what NAME_find gives.

#include "core/output/c_header.h"
#include "core/output/glyph_coder.h"

#include "file_access.h"
#include "process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace hz {
namespace {

using test::TempFolder;

// A glyph like a character's: a few strokes, so that the context model has something to learn.
DotCell strokeCell(int width, int height, int depth, std::mt19937& random, WidthClass cls = WidthClass::Full) {
    DotCell cell = DotCell(width, height, cls).withDepth(depth);
    const int strokes = 2 + static_cast<int>(random() % 5);
    for (int s = 0; s < strokes; ++s) {
        const bool across = random() % 2 == 0;
        const int at = static_cast<int>(random() % static_cast<unsigned>(across ? height : width));
        const int from = static_cast<int>(random() % static_cast<unsigned>(across ? width : height));
        const int length = static_cast<int>(random() % static_cast<unsigned>((across ? width : height) - from)) + 1;
        for (int i = from; i < from + length; ++i)
            cell.setLevel(across ? i : at, across ? at : i, static_cast<int>(random() % (cell.maxLevel() + 1)));
    }
    return cell;
}

// Dots with no pattern at all, for glyphs whose bytes come out longer than they went in.
DotCell noiseCell(int width, int height, int depth, std::mt19937& random) {
    DotCell cell = DotCell(width, height).withDepth(depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            cell.setLevel(x, y, static_cast<int>(random() % (cell.maxLevel() + 1)));
    return cell;
}

enum class Compiler { C, C89, Cxx };

std::vector<std::string> compilerCommand(Compiler compiler) {
    switch (compiler) {
    case Compiler::C:
        return {"cc", "-std=c99"};
    case Compiler::C89:
        return {"cc", "-std=c89"};
    case Compiler::Cxx:
        return {"c++", "-x", "c++", "-std=c++17"};
    }
    return {};
}

// The program: every key of the plain header decoded from the compressed one, into a buffer whose
// bytes past the glyph must stay as they were; keys not in the font give 0. With flash set, the
// compressed tables go to a section of their own and every read of them must go through the READ
// macros to a place in it.
std::string checkProgram(bool flash) {
    std::string src;
    if (flash)
        src += R"(#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#ifdef __cplusplus
extern "C" {
#endif
extern const char __start_hzflash[];
extern const char __stop_hzflash[];
#ifdef __cplusplus
}
#endif
static unsigned long reads;
static const void *checked(const void *p)
{
    if ((const char *)p < __start_hzflash || (const char *)p >= __stop_hzflash) {
        printf("a read outside the font's section\n");
        exit(1);
    }
    ++reads;
    return p;
}
#define packed_STORAGE __attribute__((section("hzflash")))
#define packed_READ8(p) (*(const uint8_t *)checked(p))
#define packed_READ16(p) (*(const uint16_t *)checked(p))
#define packed_READ32(p) (*(const uint32_t *)checked(p))
)";
    src += R"(#include "plain.h"
#include "packed.h"
#include "packed.h" /* twice: the guard holds */
#include <stdio.h>
#include <string.h>

int main(void)
{
    unsigned long i, j, key, size, count = plain_COUNT;
    unsigned char out[packed_MAX_BYTES + 8];
    unsigned char width, height, w, h;
    const unsigned char *want;
    int failures = 0;
    static const unsigned long absent[] = {0UL, 0x7FUL, 0x4DFFUL, 0xFFFFUL, 0x10000UL, 0x20001UL, 0xFFFFFFFFUL};
    if (packed_COUNT != plain_COUNT) {
        printf("count\n");
        return 1;
    }
    for (i = 0; i < count; ++i) {
        key = (unsigned long)plain_keys[i];
        want = plain_find(key, &w, &h);
        memset(out, 0xA5, sizeof out);
        if (!packed_glyph(key, out, &width, &height) || width != w || height != h) {
            printf("key %lx: missing or of the wrong size\n", key);
            ++failures;
            continue;
        }
        size = packed_GLYPH_BYTES(w, h);
        if (size > packed_MAX_BYTES || memcmp(out, want, size) != 0) {
            printf("key %lx: other bytes\n", key);
            ++failures;
        }
        for (j = size; j < sizeof out; ++j)
            if (out[j] != 0xA5) {
                printf("key %lx: written past the glyph\n", key);
                ++failures;
                break;
            }
        if (!packed_glyph(key, out, NULL, NULL) || memcmp(out, want, size) != 0) {
            printf("key %lx: not the same without width and height\n", key);
            ++failures;
        }
    }
    for (i = 0; i < sizeof absent / sizeof absent[0]; ++i) {
        width = 9;
        height = 9;
        if (plain_find(absent[i], NULL, NULL) == NULL &&
            (packed_glyph(absent[i], out, &width, &height) != 0 || width != 0 || height != 0)) {
            printf("key %lx: found\n", absent[i]);
            ++failures;
        }
    }
)";
    if (flash)
        src += R"(    if (reads == 0) {
        printf("no read went through the macros\n");
        ++failures;
    }
)";
    src += "    return failures == 0 ? 0 : 1;\n}\n";
    return src;
}

// Compiles the program with every warning an error, as firmware is built, and runs it; empty when
// all went well.
std::string compileAndRun(const TempFolder& dir, Compiler compiler) {
    test::writeFile(dir.file("other.c"), "#include \"packed.h\"\nint other(void);\nint other(void) { return 0; }\n");
    std::vector<std::string> command = compilerCommand(compiler);
    command.insert(command.end(), {"-O2", "-Wall", "-Wextra", "-Werror", "-pedantic", "-I", dir.path(), "-o",
                                   dir.file("check"), dir.file("check.c"), dir.file("other.c")});
    test::ProcessCall build;
    build.command = command;
    const auto built = test::runProcess(build);
    if (built.status != 0)
        return "compiler said:\n" + built.out + built.err;
    test::ProcessCall run;
    run.command = {dir.file("check")};
    const auto ran = test::runProcess(run);
    return ran.status == 0 ? std::string() : "check program said:\n" + ran.out + ran.err;
}

struct Font {
    std::vector<HeaderGlyph> glyphs;
    std::string what;
};

// Full-width characters of one size, half-width ones, a blank glyph and a repeat.
Font mixedFont(int size, int depth, std::mt19937& random) {
    Font font{{}, "mixed"};
    const std::u32string text = U"你好A 世界g、。国\u3000\u00B7z";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool half = text[i] < 0x100;
        const int width = half ? size / 2 : size;
        DotCell cell = text[i] == U' ' || text[i] == U'\u3000'
                           ? DotCell(width, size).withDepth(depth)
                           : strokeCell(width, size, depth, random, half ? WidthClass::Half : WidthClass::Full);
        font.glyphs.push_back({i, text[i], cell});
    }
    font.glyphs.push_back({text.size(), U'你', font.glyphs[0].cell});
    return font;
}

struct PackedCase {
    std::string name;
    Compiler compiler;
    HeaderStandard standard;
    HeaderKey key;
    const char* layout;
    int size;
    bool flash = false;
};

// texts: what the compressed header must hold, for the tables a case is meant to reach.
void checkAgainstPlain(const Font& font, const PackedCase& c, const std::vector<std::string>& texts = {}) {
    const Layout layout = *parseLayout(c.layout);
    CHeaderInput input{font.glyphs, "font.ttf face 0", c.size, layout, c.key, "plain", c.standard};
    TempFolder dir;
    const CHeader plain = makeCHeader(input);
    input.name = "packed";
    input.compress = true;
    const CHeader packed = makeCHeader(input);
    ASSERT_EQ(packed.glyphCount, plain.glyphCount);
    ASSERT_NE(packed.text.find("packed_glyph("), std::string::npos);
    EXPECT_EQ(packed.text.find("packed_find("), std::string::npos);
    for (const std::string& text : texts)
        EXPECT_NE(packed.text.find(text), std::string::npos) << text;
    test::writeFile(dir.file("plain.h"), plain.text);
    test::writeFile(dir.file("packed.h"), packed.text);
    test::writeFile(dir.file("check.c"), checkProgram(c.flash));
    EXPECT_EQ(compileAndRun(dir, c.compiler), "") << packed.text.substr(0, 4000);
}

class PackedHeader : public ::testing::TestWithParam<PackedCase> {};

TEST_P(PackedHeader, DecodesEveryGlyphToThePlainHeadersBytes) {
    const PackedCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.size * 31 + static_cast<int>(c.name.size())));
    checkAgainstPlain(mixedFont(c.size, parseLayout(c.layout)->bpp, random), c);
}

INSTANTIATE_TEST_SUITE_P(
    LayoutsSizesKeys, PackedHeader,
    ::testing::Values(
        PackedCase{"RowsMsb16", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "rows-msb", 16},
        PackedCase{"PagesLsbGb12", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Gb2312, "pages-lsb", 12},
        PackedCase{"ColumnsMsbUpLeftInvert24", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode,
                   "columns-msb-up-left-invert", 24},
        PackedCase{"PagesMsbUpInvert13", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Gb2312, "pages-msb-up-invert",
                   13},
        PackedCase{"RowsLsbLeft64", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "rows-lsb-left", 64},
        PackedCase{"Rows4bpp16", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "rows-msb-4bpp", 16},
        PackedCase{"ColumnsLsbUp2bpp20", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Gb2312, "columns-lsb-up-2bpp",
                   20},
        PackedCase{"RowsLsbInvert8bpp11", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "rows-lsb-invert-8bpp",
                   11},
        PackedCase{"C89Columns16", Compiler::C89, HeaderStandard::C89, HeaderKey::Gb2312, "columns-lsb", 16},
        PackedCase{"C89Grey4bppByCxx", Compiler::Cxx, HeaderStandard::C89, HeaderKey::Unicode, "rows-lsb-4bpp", 16},
        PackedCase{"FlashSection", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "pages-lsb", 16, true},
        PackedCase{"FlashSectionCxx", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Gb2312, "rows-msb-2bpp", 16,
                   true}),
    [](const ::testing::TestParamInfo<PackedCase>& info) { return info.param.name; });

// Many keys close together take the paged key index; keys past 16 bits and more than 64 KB of coded
// glyphs the wide tables, glyphs longer than 255 coded bytes lengths of more than 8 bits; glyphs of
// different heights their table.
TEST(PackedHeaderTables, WideAndPagedIndexesDecodeToo) {
    std::mt19937 random(5);
    Font dense{{}, "dense"};
    for (char32_t c = U'\u4E00'; c < U'\u4E00' + 700; ++c)
        dense.glyphs.push_back({dense.glyphs.size(), c, strokeCell(16, 16, 1, random)});
    dense.glyphs.push_back({dense.glyphs.size(), U'1', strokeCell(8, 12, 1, random, WidthClass::Half)});
    checkAgainstPlain(dense, {"dense", Compiler::C, HeaderStandard::C99, HeaderKey::Unicode, "rows-msb", 16},
                      {"packed_pages[", "packed_heights[", "packed_widths["});

    Font wide{{}, "wide"};
    // Keys far apart: a list is smaller than their pages.
    for (char32_t c = U'\U00020000'; c < U'\U00020000' + 70 * 300; c += 300)
        wide.glyphs.push_back({wide.glyphs.size(), c, noiseCell(64, 64, 4, random)});
    wide.glyphs.push_back({wide.glyphs.size(), U'\U0002F800', DotCell(64, 64).withDepth(4)});
    checkAgainstPlain(wide, {"wide", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Unicode, "columns-msb-4bpp", 64},
                      {"uint32_t packed_STORAGE packed_starts[2]", "uint32_t packed_STORAGE packed_keys[71]"});
}

TEST(PackedHeaderEdges, NoGlyphsAndOnlyBlankGlyphs) {
    checkAgainstPlain({}, {"none", Compiler::C89, HeaderStandard::C89, HeaderKey::Unicode, "rows-msb", 16});
    Font blank{{{0, U'\u3000', DotCell(16, 16)}, {1, U' ', DotCell(8, 16, WidthClass::Half)}}, "blank"};
    checkAgainstPlain(blank, {"blank", Compiler::Cxx, HeaderStandard::C99, HeaderKey::Gb2312, "rows-msb-invert", 16});
}

// The coder itself: a blank glyph takes no bytes, and a font of like glyphs codes smaller than its
// plain bytes, the model counted in.
TEST(GlyphCoder, BlankGlyphsTakeNothingAndLikeGlyphsShrink) {
    std::mt19937 random(9);
    std::vector<DotCell> cells;
    for (int i = 0; i < 200; ++i)
        cells.push_back(strokeCell(16, 16, 1, random));
    const CodedGlyphs coded = codeGlyphs(cells, 1);
    EXPECT_LT(coded.dataBytes + coded.model.chances.size(), cells.size() * 32 / 2);
    EXPECT_TRUE(encodeGlyph(DotCell(16, 16), coded.model).empty());
    EXPECT_TRUE(encodeGlyph(DotCell(64, 64).withDepth(8), trainModel(cells, 8, 6)).empty());
    EXPECT_EQ(coded.model.chances.size(), modelSize(1, coded.model.contextBits));
    EXPECT_EQ(modelSize(4, 6), 64u + 3 * 128u);
}

} // namespace
} // namespace hz
