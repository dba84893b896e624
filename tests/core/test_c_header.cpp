#include "core/output/c_header.h"
#include "core/text/utf8.h"

#include "library_files.h"
#include "process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace hz {
namespace {

using test::TempFolder;

DotCell randomCell(int width, int height, std::mt19937& random, WidthClass cls = WidthClass::Full) {
    DotCell cell(width, height, cls);
    for (int y = 0; y < height; ++y)
        cell.setRow(y, (static_cast<std::uint64_t>(random()) << 32 | random()) & rowMask(width));
    return cell;
}

// A glyph list with what firmware meets: a repeat, a half-width letter, characters that would end or
// splice a C comment, and one beyond the Basic Multilingual Plane.
std::vector<HeaderGlyph> sampleGlyphs(std::mt19937& random) {
    std::vector<HeaderGlyph> glyphs;
    const std::u32string text = U"你好A你*/世界\\?";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool half = text[i] < 0x80;
        glyphs.push_back(
            {i, text[i], randomCell(half ? 8 : 16, 16, random, half ? WidthClass::Half : WidthClass::Full)});
    }
    // A repeat carries the first one's dots: the list would hold the same record twice.
    glyphs[3].cell = glyphs[0].cell;
    return glyphs;
}

std::string byteList(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t b : bytes)
        text += std::to_string(b) + ",";
    return text;
}

struct Expected {
    std::uint32_t key;
    DotCell cell;
};

// The integer types a program using the header names: <stdint.h>'s, or the C89 header's own.
struct Types {
    std::string u8 = "uint8_t";
    std::string u32 = "uint32_t";
};

Types typesOf(const std::string& name, HeaderStandard standard) {
    return standard == HeaderStandard::C89 ? Types{name + "_u8", name + "_u32"} : Types{};
}

// Replaces the program's uint8_t and uint32_t with the given types.
std::string withTypes(std::string program, const Types& types) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"uint8_t", types.u8}, {"uint32_t", types.u32}})
        for (std::size_t at = program.find(from); at != std::string::npos; at = program.find(from, at + to.size()))
            program.replace(at, from.size(), to);
    return program;
}

// A C program (also valid C89 and C++) that looks every expected key up and compares the bytes with
// what the encoder makes, and checks that keys not in the font give NULL.
std::string lookupProgram(const std::string& name, const std::vector<Expected>& expected, const Layout& layout,
                          const std::vector<std::uint32_t>& absent, const Types& types = {}) {
    std::string src =
        "#include \"" + name + ".h\"\n#include \"" + name +
        ".h\" /* twice: the guard holds */\n"
        "#include <stdio.h>\n#include <string.h>\n\n"
        "int check(uint32_t key, const uint8_t *want, size_t size, uint8_t w, uint8_t h);\n"
        "int check(uint32_t key, const uint8_t *want, size_t size, uint8_t w, uint8_t h)\n{\n"
        "    uint8_t width = 0, height = 0;\n"
        "    const uint8_t *got = " +
        name +
        "_find(key, &width, &height);\n"
        "    if (got == NULL) { printf(\"missing %lx\\n\", (unsigned long)key); return 1; }\n"
        "    if (width != w || height != h) { printf(\"size %lx\\n\", (unsigned long)key); return 1; }\n"
        "    if (memcmp(got, want, size) != 0) { printf(\"bytes %lx\\n\", (unsigned long)key); return 1; }\n"
        "    if (" +
        name +
        "_find(key, NULL, NULL) != got) { printf(\"null %lx\\n\", (unsigned long)key); return 1; }\n"
        "    return 0;\n}\n\nint main(void)\n{\n    int failures = 0;\n";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto bytes = encodeCell(expected[i].cell, layout);
        src += "    {\n        static const uint8_t want[] = {" + byteList(bytes) + "};\n";
        src += "        failures += check(" + std::to_string(expected[i].key) + "u, want, sizeof want, " +
               std::to_string(expected[i].cell.width()) + ", " + std::to_string(expected[i].cell.height()) +
               ");\n    }\n";
    }
    for (std::uint32_t key : absent)
        src += "    {\n        uint8_t width = 99, height = 99;\n"
               "        if (" +
               name + "_find(" + std::to_string(key) +
               "u, &width, &height) != NULL || width != 0 || "
               "height != 0 || " +
               name + "_find(" + std::to_string(key) +
               "u, NULL, NULL) != NULL) {\n"
               "            printf(\"found %lx\\n\", (unsigned long)" +
               std::to_string(key) +
               "u);\n"
               "            ++failures;\n        }\n    }\n";
    src += "    if (" + name + "_COUNT != " + std::to_string(expected.size()) +
           ") { printf(\"count\\n\"); ++failures; }\n";
    src += "    return failures == 0 ? 0 : 1;\n}\n";
    return withTypes(src, types);
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

// Compiles program.c against the header with every warning an error, together with a second file
// that includes the header without using it (as a firmware's other files would), runs it; empty when
// all went well.
std::string compileAndRun(const TempFolder& dir, const std::string& name, Compiler compiler) {
    test::writeFile(dir.file("other.c"),
                    "#include \"" + name + ".h\"\nint other(void);\nint other(void) { return 0; }\n");
    const std::string exe = dir.file(compiler == Compiler::Cxx ? "lookup_cxx" : "lookup_c");
    std::vector<std::string> command = compilerCommand(compiler);
    // Optimised, as firmware is built: some of the compilers' warnings only run then.
    command.insert(command.end(), {"-O2", "-Wall", "-Wextra", "-Werror", "-pedantic", "-I", dir.path(), "-o", exe,
                                   dir.file("program.c"), dir.file("other.c")});
    test::ProcessCall build;
    build.command = command;
    const auto built = test::runProcess(build);
    if (built.status != 0)
        return "compiler said:\n" + built.out + built.err;
    test::ProcessCall run;
    run.command = {exe};
    const auto ran = test::runProcess(run);
    if (ran.status != 0)
        return "lookup program said:\n" + ran.out + ran.err;
    return {};
}

struct CompileCase {
    Compiler compiler;
    HeaderKey key;
    Layout layout;
    HeaderStandard standard = HeaderStandard::C99;
};

class HeaderCompiles : public ::testing::TestWithParam<CompileCase> {};

TEST_P(HeaderCompiles, EveryCharacterIsFoundWithTheEncodersBytes) {
    const CompileCase param = GetParam();
    std::mt19937 random(7);
    CHeaderInput input{sampleGlyphs(random), "hzk16宋", 16, param.layout, param.key, "hzk16_16", param.standard};
    const CHeader header = makeCHeader(input);
    ASSERT_TRUE(header.leftOut.empty());
    EXPECT_EQ(header.glyphCount, 9u); // 你 counted once

    // Keys stated independently of the code page converter.
    const bool gb = param.key == HeaderKey::Gb2312;
    const std::vector<std::pair<char32_t, std::uint32_t>> keys = {
        {U'你', gb ? 0xC4E3u : 0x4F60u}, {U'好', gb ? 0xBAC3u : 0x597Du}, {U'A', 0x41u}, {U'*', 0x2Au}, {U'/', 0x2Fu},
        {U'世', gb ? 0xCAC0u : 0x4E16u}, {U'界', gb ? 0xBDE7u : 0x754Cu}, {U'\\', 0x5Cu}};
    std::vector<Expected> expected;
    for (const auto& [character, key] : keys)
        for (const HeaderGlyph& g : input.glyphs)
            if (g.character == character) {
                expected.push_back({key, g.cell});
                break;
            }
    expected.push_back({0x3Fu, input.glyphs.back().cell});
    ASSERT_EQ(header.glyphCount, expected.size());

    TempFolder dir;
    test::writeFile(dir.file("hzk16_16.h"), header.text);
    test::writeFile(dir.file("program.c"),
                    lookupProgram("hzk16_16", expected, param.layout, {0, 0x40, 0x4F61, 0xFFFFFFFFu},
                                  typesOf("hzk16_16", param.standard)));
    EXPECT_EQ(compileAndRun(dir, "hzk16_16", param.compiler), "");
}

INSTANTIATE_TEST_SUITE_P(
    CompilersKeysLayouts, HeaderCompiles,
    ::testing::Values(
        CompileCase{Compiler::C, HeaderKey::Unicode, Layout{Scan::Pages, BitOrder::Lsb}},
        CompileCase{Compiler::Cxx, HeaderKey::Unicode, Layout{Scan::Rows, BitOrder::Msb}},
        CompileCase{Compiler::C, HeaderKey::Gb2312, Layout{Scan::Columns, BitOrder::Msb, true, true, true}},
        CompileCase{Compiler::Cxx, HeaderKey::Gb2312, Layout{Scan::Pages, BitOrder::Msb, false, true}},
        // The C89 form: by a C89 compiler, and by C99 and C++ ones, which give it <stdint.h>.
        CompileCase{Compiler::C89, HeaderKey::Unicode, Layout{Scan::Pages, BitOrder::Lsb}, HeaderStandard::C89},
        CompileCase{Compiler::C89, HeaderKey::Gb2312, Layout{Scan::Rows, BitOrder::Lsb, true}, HeaderStandard::C89},
        CompileCase{Compiler::C, HeaderKey::Unicode, Layout{Scan::Columns, BitOrder::Lsb}, HeaderStandard::C89},
        CompileCase{Compiler::Cxx, HeaderKey::Unicode, Layout{Scan::Rows, BitOrder::Msb}, HeaderStandard::C89}));

TEST(HeaderEdges, NoGlyphsAndMixedHeightsStillCompileInEveryLanguage) {
    std::mt19937 random(3);
    for (Compiler compiler : {Compiler::C, Compiler::Cxx, Compiler::C89}) {
        SCOPED_TRACE(compilerCommand(compiler)[1]);
        const HeaderStandard standard = compiler == Compiler::C89 ? HeaderStandard::C89 : HeaderStandard::C99;
        TempFolder dir;
        CHeaderInput empty{{}, "hzk24黑", 24, Layout{}, HeaderKey::Unicode, "none_24", standard};
        test::writeFile(dir.file("none_24.h"), makeCHeader(empty).text);
        test::writeFile(dir.file("program.c"),
                        lookupProgram("none_24", {}, Layout{}, {0, 0x4F60}, typesOf("none_24", standard)));
        EXPECT_EQ(compileAndRun(dir, "none_24", compiler), "") << "no glyphs";

        // Heights that differ get a table of their own, and find reports each glyph's.
        TempFolder mixed;
        std::vector<Expected> expected = {{0x4E00, randomCell(20, 20, random)}, {0x31, randomCell(10, 13, random)}};
        const CHeaderInput input{.glyphs = {{0, U'一', expected[0].cell}, {1, U'1', expected[1].cell}},
                                 .source = "font.ttf face 0, 20 dots",
                                 .sourceHeight = 20,
                                 .layout = {Scan::Columns, BitOrder::Lsb},
                                 .name = "mixed",
                                 .standard = standard};
        const std::string text = makeCHeader(input).text;
        EXPECT_NE(text.find("mixed_heights"), std::string::npos);
        EXPECT_NE(text.find("#define mixed_HEIGHT 20\n#define mixed_MAX_WIDTH 20\n"), std::string::npos);
        test::writeFile(mixed.file("mixed.h"), text);
        test::writeFile(mixed.file("program.c"),
                        lookupProgram("mixed", expected, input.layout, {0x4E01}, typesOf("mixed", standard)));
        EXPECT_EQ(compileAndRun(mixed, "mixed", compiler), "") << "mixed heights";
    }
}

// A header of grey glyphs: the encoder's bytes at the depth, found by the lookup, NAME_BPP the depth
// and NAME_GLYPH_BYTES(w, h) each glyph's byte count (rows of ceil(w*bpp/8) bytes, or columns of
// ceil(h*bpp/8)), stated here on their own.
TEST(HeaderGrey, DepthAndByteCountsCompileAndHoldTheGreyBytes) {
    struct GreyCase {
        Compiler compiler;
        HeaderStandard standard;
        Layout layout;
        int fullBytes; // a 16x16 glyph
        int halfBytes; // a 5x16 glyph
    };
    const GreyCase cases[] = {
        {Compiler::C, HeaderStandard::C99, *parseLayout("rows-msb-4bpp"), 16 * 8, 16 * 3},
        {Compiler::Cxx, HeaderStandard::C99, *parseLayout("columns-lsb-up-2bpp"), 16 * 4, 5 * 4},
        {Compiler::C89, HeaderStandard::C89, *parseLayout("rows-lsb-invert-8bpp"), 16 * 16, 16 * 5},
    };
    std::mt19937 random(11);
    for (const GreyCase& c : cases) {
        SCOPED_TRACE(layoutName(c.layout));
        std::vector<Expected> expected = {{0x6E29, DotCell(16, 16).withDepth(c.layout.bpp)},
                                          {0x41, DotCell(5, 16, WidthClass::Half).withDepth(c.layout.bpp)}};
        for (Expected& e : expected)
            for (int y = 0; y < e.cell.height(); ++y)
                for (int x = 0; x < e.cell.width(); ++x)
                    e.cell.setLevel(x, y, static_cast<int>(random() % (e.cell.maxLevel() + 1)));
        const CHeaderInput input{.glyphs = {{0, U'温', expected[0].cell}, {1, U'A', expected[1].cell}},
                                 .source = "font.ttf face 0, 16 dots, " + std::to_string(c.layout.bpp) + " bits a dot",
                                 .sourceHeight = 16,
                                 .layout = c.layout,
                                 .name = "grey",
                                 .standard = c.standard};
        const std::string text = makeCHeader(input).text;
        EXPECT_NE(text.find("#define grey_BPP " + std::to_string(c.layout.bpp) + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("grey_bytes[" + std::to_string(c.fullBytes + c.halfBytes) + "]"), std::string::npos);
        EXPECT_NE(text.find(" * Layout:     " + layoutName(c.layout) + "\n"), std::string::npos);

        TempFolder dir;
        test::writeFile(dir.file("grey.h"), text);
        std::string program = lookupProgram("grey", expected, c.layout, {0x6E2A}, typesOf("grey", c.standard));
        const std::string sizes = "    if (grey_BPP != " + std::to_string(c.layout.bpp) +
                                  " || grey_GLYPH_BYTES(16, 16) != " + std::to_string(c.fullBytes) +
                                  " || grey_GLYPH_BYTES(5, 16) != " + std::to_string(c.halfBytes) +
                                  ") { printf(\"sizes\\n\"); ++failures; }\n";
        program.insert(program.rfind("    return failures"), sizes);
        test::writeFile(dir.file("program.c"), program);
        EXPECT_EQ(compileAndRun(dir, "grey", c.compiler), "");
    }
}

// A one-bit header names no depth: its text is what it always was.
TEST(HeaderGrey, OneBitHeadersHaveNoDepthMacros) {
    const CHeaderInput input{.glyphs = {{0, U'温', DotCell(16, 16)}},
                             .source = "hzk16宋",
                             .sourceHeight = 16,
                             .layout = Layout{},
                             .name = "plain"};
    const std::string text = makeCHeader(input).text;
    EXPECT_EQ(text.find("_BPP"), std::string::npos);
    EXPECT_EQ(text.find("GLYPH_BYTES"), std::string::npos);
    EXPECT_NE(text.find("#define plain_MAX_WIDTH 16\n\nstatic const"), std::string::npos) << text;
}

// The index holds only what the glyphs need: 16-bit keys while every key fits, no offsets when every
// glyph has the same size, no widths when every glyph has the same width. The font data's size counts
// each table's bytes.
TEST(HeaderLean, TablesOnlyWhereTheGlyphsDiffer) {
    struct LeanCase {
        std::u32string text;
        int halfWidth; // the width of the characters below U+0100
        const char* keys;
        bool widths;
        const char* offsets; // nullptr: none
        std::size_t dataBytes;
    };
    const LeanCase cases[] = {
        {U"温度", 16, "uint16_t lean_STORAGE lean_keys[2]", false, nullptr, 2 * 32 + 2 * 2},
        {U"温\U00020000", 16, "uint32_t lean_STORAGE lean_keys[2]", false, nullptr, 2 * 32 + 2 * 4},
        {U"温A", 8, "uint16_t lean_STORAGE lean_keys[2]", true, "uint16_t lean_STORAGE lean_offsets[2]",
         32 + 16 + 2 * 2 + 2 + 2 * 2},
    };
    std::mt19937 random(17);
    for (const LeanCase& c : cases) {
        std::vector<HeaderGlyph> glyphs;
        std::vector<Expected> expected;
        for (std::size_t i = 0; i < c.text.size(); ++i) {
            const DotCell cell = randomCell(c.text[i] < 0x100 ? c.halfWidth : 16, 16, random);
            glyphs.push_back({i, c.text[i], cell});
            expected.push_back({static_cast<std::uint32_t>(c.text[i]), cell});
        }
        std::sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) { return a.key < b.key; });
        const CHeaderInput input{
            .glyphs = glyphs, .source = "hzk16宋", .sourceHeight = 16, .layout = Layout{}, .name = "lean"};
        const CHeader header = makeCHeader(input);
        SCOPED_TRACE(header.text);
        EXPECT_NE(header.text.find(c.keys), std::string::npos);
        EXPECT_EQ(header.text.find("lean_widths[") != std::string::npos, c.widths);
        EXPECT_EQ(header.text.find("lean_offsets[") != std::string::npos, c.offsets != nullptr);
        if (c.offsets) {
            EXPECT_NE(header.text.find(c.offsets), std::string::npos);
        }
        EXPECT_EQ(header.dataBytes, c.dataBytes);

        TempFolder dir;
        test::writeFile(dir.file("lean.h"), header.text);
        test::writeFile(dir.file("program.c"), lookupProgram("lean", expected, Layout{}, {0x42, 0x6E2A, 0x1FFFF}));
        EXPECT_EQ(compileAndRun(dir, "lean", Compiler::C), "");
    }
}

// A program built as for a compiler that keeps constants in a code space of its own, set up as the
// README says for AVR, with stand-ins for PROGMEM and pgm_read_*: the tables go to a section of their
// own, and every read goes through the stand-ins, which count the reads and answer from the tables of
// another font (keys moved up by 0x200000, widths and heights changed, offsets reversed). The keys
// and offsets of so small a font are 16-bit tables. The lookup
// then finds that other font's keys with its widths and glyphs, and none of the real ones; a read
// that bypassed the macros would see the real font's value and give itself away.
std::string standInProgram(const std::string& name, const Types& types, bool heightTable) {
    std::string src = R"(#include <stddef.h>
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
#define PROGMEM __attribute__((section("hzflash")))
unsigned standin_read8(const void *p);
unsigned long standin_read16(const void *p);
unsigned long standin_read32(const void *p);
#define pgm_read_byte(p) standin_read8(p)
#define pgm_read_word(p) standin_read16(p)
#define pgm_read_dword(p) standin_read32(p)

#define NAME_STORAGE PROGMEM
#define NAME_READ8(p) pgm_read_byte(p)
#define NAME_READ16(p) pgm_read_word(p)
#define NAME_READ32(p) pgm_read_dword(p)
#include "NAME.h"

static uint32_t alt_keys[NAME_COUNT];
static uint32_t alt_offsets[NAME_COUNT];
static uint8_t alt_widths[NAME_COUNT];
static uint8_t alt_heights[NAME_COUNT];
static unsigned long reads8, reads16;

static void stop(const char *why)
{
    printf("%s\n", why);
    exit(1);
}

unsigned standin_read8(const void *p)
{
    size_t i;
    ++reads8;
    for (i = 0; i < NAME_COUNT; ++i) {
        if (p == (const void *)&NAME_widths[i])
            return alt_widths[i];
HEIGHTS_READ    }
    stop("an 8-bit read of something not an 8-bit table");
    return 0;
}

unsigned long standin_read16(const void *p)
{
    size_t i;
    ++reads16;
    for (i = 0; i < NAME_COUNT; ++i) {
        if (p == (const void *)&NAME_keys[i])
            return alt_keys[i];
        if (p == (const void *)&NAME_offsets[i])
            return alt_offsets[i];
    }
    stop("a 16-bit read of something not a 16-bit table");
    return 0;
}

unsigned long standin_read32(const void *p)
{
    (void)p;
    stop("a 32-bit read, with no 32-bit table");
    return 0;
}

static int in_flash(const void *p)
{
    return (const char *)p >= __start_hzflash && (const char *)p < __stop_hzflash;
}

int main(void)
{
    size_t i;
    int failures = 0;
    uint8_t width, height;
    const uint8_t *glyph;
    /* The program itself reads the real tables directly, to make the other font's. */
    for (i = 0; i < NAME_COUNT; ++i) {
        alt_keys[i] = NAME_keys[i] + 0x200000UL;
        alt_offsets[i] = NAME_offsets[NAME_COUNT - 1 - i];
        alt_widths[i] = (uint8_t)(NAME_widths[i] ^ 0x40);
HEIGHTS_MAKE    }
    for (i = 0; i < NAME_COUNT; ++i) {
        glyph = NAME_find(alt_keys[i], &width, &height);
        if (glyph != &NAME_bytes[alt_offsets[i]] || width != alt_widths[i] || height != HEIGHT_WANTED) {
            printf("the other font's key %lx came out wrong\n", (unsigned long)alt_keys[i]);
            ++failures;
        }
        if (NAME_find(NAME_keys[i], &width, &height) != NULL) {
            printf("the real key %lx was found\n", (unsigned long)NAME_keys[i]);
            ++failures;
        }
    }
    if (reads8 == 0 || reads16 == 0) {
        printf("no reads went through the macros\n");
        ++failures;
    }
    if (!in_flash(NAME_bytes) || !in_flash(NAME_keys) || !in_flash(NAME_widths) || !in_flash(NAME_offsets)TABLES_IN_FLASH) {
        printf("a table is not where NAME_STORAGE puts it\n");
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
)";
    const auto put = [&src](std::string_view marker, const std::string& text) {
        src.replace(src.find(marker), marker.size(), text);
    };
    put("HEIGHTS_READ", heightTable ? "        if (p == (const void *)&NAME_heights[i])\n"
                                      "            return alt_heights[i];\n"
                                    : "");
    put("HEIGHTS_MAKE", heightTable ? "        alt_heights[i] = (uint8_t)(NAME_heights[i] + 100);\n"
                                    : "        alt_heights[i] = NAME_HEIGHT;\n");
    put("HEIGHT_WANTED", "alt_heights[i]");
    put("TABLES_IN_FLASH", heightTable ? " || !in_flash(NAME_heights)" : "");
    for (std::size_t at = src.find("NAME"); at != std::string::npos; at = src.find("NAME", at + name.size()))
        src.replace(at, 4, name);
    return withTypes(src, types);
}

struct StandInCase {
    Compiler compiler;
    HeaderStandard standard;
    bool mixedHeights;
};

std::string standInName(const ::testing::TestParamInfo<StandInCase>& info) {
    const std::string compiler = info.param.compiler == Compiler::C     ? "C99"
                                 : info.param.compiler == Compiler::C89 ? "C89"
                                                                        : "Cxx17";
    return compiler + (info.param.standard == HeaderStandard::C89 ? "_C89Header" : "_C99Header") +
           (info.param.mixedHeights ? "_HeightTable" : "");
}

class HeaderReadMacros : public ::testing::TestWithParam<StandInCase> {};

TEST_P(HeaderReadMacros, EveryTableIsKeptAndReadWhereTheFirmwareSays) {
    const StandInCase param = GetParam();
    std::mt19937 random(13);
    std::vector<HeaderGlyph> glyphs;
    const std::u32string text = U"温度设置A";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool half = text[i] < 0x80;
        const int height = param.mixedHeights && i % 2 == 1 ? 12 : 16;
        glyphs.push_back({i, text[i], randomCell(half ? 8 : 16, height, random)});
    }
    const CHeaderInput input{.glyphs = glyphs,
                             .source = "hzk16宋",
                             .sourceHeight = 16,
                             .layout = {Scan::Pages, BitOrder::Lsb},
                             .name = "flash_font",
                             .standard = param.standard};
    const std::string header = makeCHeader(input).text;
    ASSERT_EQ(header.find("flash_font_heights") != std::string::npos, param.mixedHeights);

    TempFolder dir;
    test::writeFile(dir.file("flash_font.h"), header);
    test::writeFile(dir.file("program.c"),
                    standInProgram("flash_font", typesOf("flash_font", param.standard), param.mixedHeights));
    EXPECT_EQ(compileAndRun(dir, "flash_font", param.compiler), "") << header;
}

INSTANTIATE_TEST_SUITE_P(CompilersAndTables, HeaderReadMacros,
                         ::testing::Values(StandInCase{Compiler::C, HeaderStandard::C99, false},
                                           StandInCase{Compiler::C, HeaderStandard::C99, true},
                                           StandInCase{Compiler::Cxx, HeaderStandard::C99, true},
                                           StandInCase{Compiler::C89, HeaderStandard::C89, false},
                                           StandInCase{Compiler::C89, HeaderStandard::C89, true}),
                         standInName);

TEST(HeaderKeys, Gb2312LeavesOutCharactersWithoutACodeAndNamesThem) {
    std::mt19937 random(5);
    CHeaderInput input{{{0, U'汉', randomCell(16, 16, random)},
                        {1, U'😀', randomCell(16, 16, random)},
                        {4, U'€', randomCell(8, 16, random)},
                        {6, U'ꙮ', randomCell(16, 16, random)}},
                       "hzk16宋",
                       16,
                       Layout{},
                       HeaderKey::Gb2312,
                       "k"};
    const CHeader header = makeCHeader(input);
    EXPECT_EQ(header.glyphCount, 2u);
    ASSERT_EQ(header.leftOut.size(), 2u);
    EXPECT_EQ(header.leftOut[0].position, 1u);
    EXPECT_EQ(header.leftOut[0].reason, HeaderRefusal::NoGb2312Code);
    EXPECT_EQ(header.leftOut[1].character, U'ꙮ');
    EXPECT_EQ(header.leftOut[0].character, U'😀');
    // 汉 is 0xBABA; the euro sign is a single byte in code page 936; the keys stay sorted.
    EXPECT_NE(header.text.find("k_keys[2] = {\n    0x80, 0xBABA,\n};"), std::string::npos) << header.text;

    input.key = HeaderKey::Unicode;
    const CHeader unicode = makeCHeader(input);
    EXPECT_TRUE(unicode.leftOut.empty());
    EXPECT_NE(unicode.text.find("k_keys[4] = {\n    0x20AC, 0x6C49, 0xA66E, 0x1F600,\n};"), std::string::npos);
}

TEST(HeaderComment, SaysWhereTheGlyphsCameFromAndHowToReadThem) {
    std::mt19937 random(9);
    const CHeaderInput input{.glyphs = {{0, U'样', randomCell(16, 16, random)}, {1, U'*', randomCell(8, 16, random)}},
                             .source = "hzk16宋",
                             .sourceHeight = 16,
                             .layout = {Scan::Pages, BitOrder::Lsb},
                             .name = "demo"};
    const std::string text = makeCHeader(input).text;
    const std::string comment = text.substr(0, text.find("*/") + 2);
    for (const char* part : {"Source:     hzk16宋, 16 dots high", "Layout:     pages-lsb (下半列排), presets ssd1306",
                             "SSD1306/SH1106 page mode", "the topmost dot in bit 0", "Keys:       Unicode code points",
                             "Characters: 样 U+002A"})
        EXPECT_NE(comment.find(part), std::string::npos) << part << "\n" << comment;
    // The comment ends only where it should: the listed '*' cannot close it early.
    EXPECT_EQ(comment.find("*/"), comment.size() - 2);
    EXPECT_NE(text.find("#ifndef DEMO_H\n#define DEMO_H\n"), std::string::npos);
}

// A library or font path is the user's text: whatever it holds, the comment ends where it should and
// nothing of it reaches the code. Compiled with trigraphs on, as strict C99 compilers read them.
TEST(HeaderComment, HostileSourceNamesStayInsideTheComment) {
    std::mt19937 random(11);
    for (const std::string& source : std::vector<std::string>{
             "fonts/x*/int evil = 1;/*.ttc face 0, 16 dots", "fonts/a?\?/\nint evil = 1;", "fonts/a\\\nint evil;",
             "fonts/a\nint evil = 1; /*", std::string("fonts/\x01\x1b[2J\x7f\xff*") + "/int evil;/*",
             "fonts/\xe2\x80\xa8int evil;", "fonts/a*\\\n/int evil;"}) {
        SCOPED_TRACE(source);
        TempFolder dir;
        CHeaderInput input{{{0, U'样', randomCell(16, 16, random)}}, source, 16, Layout{}, HeaderKey::Unicode, "safe"};
        const std::string text = makeCHeader(input).text;
        const std::string comment = text.substr(0, text.find("*/") + 2);
        EXPECT_EQ(comment.find("evil"), comment.rfind("evil")) << comment; // one mention, inside the comment
        EXPECT_NE(comment.find("evil"), std::string::npos) << comment;
        EXPECT_EQ(text.find("evil", comment.size()), std::string::npos) << text;
        EXPECT_EQ(comment.find('\\'), std::string::npos) << comment;
        test::writeFile(dir.file("safe.h"), text);
        // The header compiles; were any of the path's code to escape the comment, evil would be
        // declared and the second program would compile too.
        test::writeFile(dir.file("plain.c"), "#include \"safe.h\"\nint main(void) { return 0; }\n");
        test::writeFile(dir.file("evil.c"), "#include \"safe.h\"\nint main(void) { return evil; }\n");
        for (const char* program : {"plain.c", "evil.c"}) {
            test::ProcessCall build;
            build.command = {"cc", "-std=c99", "-trigraphs", "-fsyntax-only", "-I", dir.path(), dir.file(program)};
            const test::ProcessResult built = test::runProcess(build);
            EXPECT_EQ(built.status == 0, std::string(program) == "plain.c") << program << "\n" << built.err << text;
        }
    }
}

TEST(HeaderNames, OnlyUsableCIdentifiersAreAccepted) {
    for (const char* good : {"font_16", "_font", "F", "hzk16_16", "a1234567890123456789012345678901234567890123456"})
        EXPECT_EQ(checkHeaderName(good), std::nullopt) << good;
    for (const char* bad : {"", "16font", "my-font", "my font", "int", "class", "static", "_Bool", "__x", "_X", "a__b",
                            "字库", "a12345678901234567890123456789012345678901234567x"})
        EXPECT_NE(checkHeaderName(bad), std::nullopt) << bad;
    CHeaderInput input{{}, "x", 16, Layout{}, HeaderKey::Unicode, "for"};
    EXPECT_THROW(makeCHeader(input), std::invalid_argument);
}

TEST(HeaderNames, DefaultsComeFromTheSourceAndSize) {
    EXPECT_EQ(defaultHeaderName("hzk16宋", 16), "hzk16_16");
    EXPECT_EQ(defaultHeaderName("hzk12宋", 12), "hzk12_12");
    EXPECT_EQ(defaultHeaderName("wqy-zenhei.ttc face 0, 20 dots", 20), "wqy_zenhei_20");
    EXPECT_EQ(defaultHeaderName("/usr/share/fonts/Noto Sans--CJK.otf", 24), "noto_24");
    EXPECT_EQ(defaultHeaderName("宋体.ttf", 16), "font_16");
    EXPECT_EQ(defaultHeaderName("3x5.bdf", 5), "font_3x5_5");
    EXPECT_EQ(checkHeaderName(defaultHeaderName(std::string(80, 'a'), 64)), std::nullopt);
}

} // namespace
} // namespace hz
