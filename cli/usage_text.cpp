#include "cli/usage_text.h"

#include "core/layout/arrangements.h"
#include "core/library/font_library.h"

namespace hz::cli {

std::string usageText() {
    std::string text =
        "Usage: hzdot-cli [options] [TEXT]\n"
        "Looks up every character of TEXT in a dot-matrix font library and writes its bytes as\n"
        "assembly \"DB\" lines and C arrays, in the layout of HzDot's export files.\n"
        "\n"
        "  -f, --fonts DIR        folder of the six library files (default: the executable's folder,\n"
        "                         else ../share/hzdot/fonts beside it)\n"
        "  -l, --library N        library position 0-5 of the library list (default 1, \"16*16宋体\")\n"
        "      --library FILE     a library file of your own (HZK style: fixed records in GB2312 order);\n"
        "                         its cell, first row and record layout are found from the file unless\n"
        "                         given by --cell N (8-64), --first-row 0xA1|0xB0, --record-layout L\n"
        "      --font FILE        draw the characters live from a font (TTF, OTF, TTC, PCF, BDF) instead:\n"
        "                         any character it maps; ASCII and other half-width ones in half cells\n"
        "      --size N           the font's cell in dots, 8-64 (needed with --font)\n"
        "      --face N           the face of a font collection, from 0 (default 0)\n"
        "      --threshold T      draw in grey and keep the dots darker than T (1-255)\n"
        "      --probe            print what was found about --library FILE, one \"key value\" a line\n"
        "  -a, --arrangement N    0-4: 横排, 下上列排, 上下列排, 下半列排, 上半列排 (default 0), or all\n"
        "      --layout L         0-4, an arrangement's name, all, a driver preset (--list-layouts) or a\n"
        "                         layout SCAN-BIT[-up][-left][-invert]: SCAN rows, columns or pages,\n"
        "                         BIT msb or lsb (which dot is bit 7), e.g. pages-lsb-invert\n"
        "      --list-layouts     the driver presets, their layouts and drivers\n"
        "      --format F         text (default: assembly and C tables), bin (the raw bytes of each\n"
        "                         record, nothing else) or header (a C header with a lookup, needs -o)\n"
        "      --name NAME        the header's prefix for its macros, tables and NAME_find (a C name)\n"
        "      --key K            the header's keys: unicode (code points, default) or gb2312 (codes)\n"
        "      --preview WxH      draw the text on a WxH-dot panel into -o FILE.png\n"
        "      --detect FILE      which layout the glyph bytes pasted in FILE (- for standard input) are\n"
        "                         in, for the one character TEXT: up to five LAYOUT, SCORE, PRESETS lines\n"
        "      --scan PATH...     take the characters of the string literals in C/C++ sources (files, or\n"
        "                         folders searched for .c .h .cc .cpp .hpp .ino), once each, TEXT added\n"
        "      --scan-ascii       count printable ASCII in those literals too\n"
        "      --verbose          say how each scanned file was read and what --library found\n"
        "  -x, --space-x N        0-4, columns left of a 12×12 glyph in its 16×16 cell (default 2)\n"
        "  -y, --space-y N        0-4, rows above it (default 2)\n"
        "  -i, --input FILE       take the characters from a UTF-8 file instead of TEXT; line breaks\n"
        "                         skipped; - is standard input\n"
        "  -o, --output FILE      write the export file (code page 936, CR LF) instead of standard output\n"
        "      --current          the \"export current\" layout of the last record instead of \"export all\"\n"
        "      --view             print each record's enlarged dot matrix instead of the tables\n"
        "      --mark C, --back C, --no-back    the marks for --view (default ■ and □;\n"
        "                         --no-back draws a clear dot as two spaces)\n"
        "      --encoding E       utf-8 (default) or gbk, for what goes to standard output\n"
        "  -h, --help, --version\n"
        "\n"
        "Libraries:";
    for (const auto& library : hz::fontLibraries())
        text += " " + std::to_string(library.position) + " " + std::string(library.name) + ",";
    text.back() = '\n';
    text += "Arrangements:";
    for (int i = 0; i < hz::kArrangementCount; ++i)
        text += " " + std::to_string(i) + " " + std::string(hz::arrangementName(static_cast<hz::Arrangement>(i))) + ",";
    text.back() = '\n';
    text += "A library or an arrangement may also be given by its name.\n"
            "\n"
            "Each character that has no dot matrix is reported on standard error with its position.\n"
            "Exit status: 0 every character was found; 1 some were refused, the others were still\n"
            "written; 2 a usage error, a missing library file, invalid UTF-8, or an output that cannot\n"
            "be written (an existing output file is then left as it was).\n";
    return text;
}

std::string versionText() {
    return "hzdot-cli (HzDot) " HZDOT_VERSION "\n";
}

} // namespace hz::cli
