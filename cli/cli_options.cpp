#include "cli/cli_options.h"

#include "cmdline/command_line.h"
#include "cmdline/depth_options.h"
#include "cmdline/render_options.h"
#include "cmdline/width_options.h"

#include "core/library/font_library.h"
#include "core/output/panel_picture.h"
#include "core/output/picture_header.h"
#include "core/picture/picture_record.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace hz::cli {
namespace {

using cmdline::Argument;
using cmdline::inQuotes;
using cmdline::UsageError;

int parseLibrary(const std::string& option, std::string_view value) {
    if (auto n = cmdline::wholeNumber(value, 0, hz::kLibraryCount - 1))
        return *n;
    for (const auto& library : hz::fontLibraries())
        if (library.name == value)
            return library.position;
    throw UsageError{option + ": " + inQuotes(value) + " is not a library; give a position 0-5 or a name such as " +
                     std::string(hz::fontLibrary(1).name)};
}

// -a takes the five arrangements and "all"; --layout anything a layout choice can be.
hz::LayoutChoice parseArrangement(const std::string& option, std::string_view value) {
    auto choice = hz::parseLayoutChoice(value);
    if (choice && choice->kind != hz::LayoutChoice::Kind::Layout)
        return *choice;
    throw UsageError{option + ": " + inQuotes(value) + " is not an arrangement; give 0-4, all or a name such as " +
                     std::string(hz::arrangementName(hz::Arrangement::ColsUp)) + " (--layout takes any layout)"};
}

// Library files of one's own are one bit a dot.
void requireOneBit(const std::string& option, std::string_view value, const hz::Layout& layout) {
    if (layout.bpp != 1)
        throw UsageError{option + ": " + inQuotes(value) + " has " + std::to_string(layout.bpp) +
                         " bits a dot; library files have one bit a dot"};
}

hz::LayoutChoice parseLayoutOption(const std::string& option, std::string_view value) {
    if (auto choice = hz::parseLayoutChoice(value))
        return *choice;
    throw UsageError{option + ": " + inQuotes(value) + " is not a layout; give " + hz::layoutChoiceHelp()};
}

std::optional<int> parseLibraryPosition(std::string_view value) {
    if (auto n = cmdline::wholeNumber(value, 0, hz::kLibraryCount - 1))
        return *n;
    for (const auto& library : hz::fontLibraries())
        if (library.name == value)
            return library.position;
    return std::nullopt;
}

int parseFirstRow(const std::string& option, std::string_view value) {
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == "0xa1" || lower == "a1")
        return 0xA1;
    if (lower == "0xb0" || lower == "b0")
        return 0xB0;
    throw UsageError{option + ": " + inQuotes(value) + " is not a first row; give 0xA1 or 0xB0"};
}

hz::Layout parseRecordLayout(const std::string& option, std::string_view value) {
    auto choice = hz::parseLayoutChoice(value);
    if (choice && choice->kind != hz::LayoutChoice::Kind::All) {
        requireOneBit(option, value, choice->layout);
        return choice->layout;
    }
    throw UsageError{option + ": " + inQuotes(value) + " is not a layout; give rows-msb, columns-msb or another " +
                     "SCAN-BIT[-up][-left][-invert]"};
}

OutputFormat parseFormat(const std::string& option, std::string_view value) {
    if (value == "text")
        return OutputFormat::Text;
    if (value == "bin")
        return OutputFormat::Bin;
    if (value == "header")
        return OutputFormat::Header;
    throw UsageError{option + ": " + inQuotes(value) + " is not a format; give text, bin or header"};
}

hz::HeaderKey parseKey(const std::string& option, std::string_view value) {
    if (value == "unicode")
        return hz::HeaderKey::Unicode;
    if (value == "gb2312")
        return hz::HeaderKey::Gb2312;
    throw UsageError{option + ": " + inQuotes(value) + " is not a key kind; give unicode or gb2312"};
}

std::string parsePreview(const std::string& option, std::string_view value) {
    if (hz::parsePanelSize(value))
        return std::string(value);
    throw UsageError{option + ": " + inQuotes(value) +
                     " is not a panel size; give WIDTHxHEIGHT in dots, 1-1024 a side, " + "e.g. 128x64"};
}

hz::PictureSize parseFit(const std::string& option, std::string_view value) {
    if (auto size = hz::parsePictureSize(value))
        return *size;
    throw UsageError{option + ": " + inQuotes(value) + " is not a size; give WIDTHxHEIGHT in dots, 1-1024 a side, " +
                     "e.g. 128x64"};
}

hz::Dither parseDitherOption(const std::string& option, std::string_view value) {
    if (auto dither = hz::parseDither(value))
        return *dither;
    throw UsageError{option + ": " + inQuotes(value) +
                     " is not a dither; give none, threshold, floyd-steinberg, atkinson, bayer4 or bayer8"};
}

hz::Rgb parseColour(const std::string& option, std::string_view value) {
    if (auto colour = hz::parseRgb(value))
        return *colour;
    throw UsageError{option + ": " + inQuotes(value) + " is not a colour; give #RRGGBB in hex, e.g. #FFA500"};
}

// A mark is drawn once per dot, so it must be visible text on one line.
std::string parseMark(const std::string& option, std::string_view value) {
    auto decoded = hz::decodeUtf8(value);
    if (decoded.error)
        throw UsageError{option + ": the mark is not valid UTF-8"};
    if (decoded.text.empty())
        throw UsageError{option + ": the mark is empty"};
    for (char32_t ch : decoded.text)
        if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0))
            throw UsageError{option + ": the mark holds a control character"};
    return std::string(value);
}

OutputEncoding parseEncoding(const std::string& option, std::string_view value) {
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower == "utf-8" || lower == "utf8")
        return OutputEncoding::Utf8;
    if (lower == "gbk" || lower == "cp936")
        return OutputEncoding::Cp936;
    throw UsageError{option + ": " + inQuotes(value) + " is not an encoding; give utf-8 or gbk"};
}

// The range of -x and -y: how far a 12x12 glyph may move in its 16x16 cell.
constexpr cmdline::NumberRange kSpace{0, 4, "a number of dots"};

// The value of an option that names a file: any name but an empty one.
std::string fileName(const Argument& a) {
    if (a.value.empty())
        throw UsageError{a.shown + ": the file name is empty"};
    return a.value;
}

const cmdline::OptionTable<CliOptions>& optionTable() {
    static const cmdline::OptionTable<CliOptions> table = {
        {{'f', "fonts", true, std::nullopt},
         "  -f, --fonts DIR        folder of the six library files (default: the executable's folder,\n"
         "                         else ../share/hzdot/fonts beside it)\n",
         [](CliOptions& o, const Argument& a) { o.fontsDir = a.value; }},
        {{'l', "library", true, std::nullopt},
         "  -l, --library N        library position 0-5 of the library list (default 1, \"16*16宋体\")\n"
         "      --library FILE     a library file of your own (HZK style: fixed records in GB2312 order);\n"
         "                         its cell, first row and record layout are found from the file unless\n"
         "                         given by --cell N (8-64), --first-row 0xA1|0xB0, --record-layout L\n",
         [](CliOptions& o, const Argument& a) {
             const std::string& n = a.shown;
             const std::string& v = a.value;
             // A position or a name picks one of the six; anything else is a library file of one's own.
             if (auto position = parseLibraryPosition(v)) {
                 o.library = *position;
                 o.libraryFile.reset();
             } else if (std::error_code error; !v.empty() && std::filesystem::exists(v, error)) {
                 o.libraryFile = v;
             } else if (v.find_first_not_of("0123456789") != std::string::npos) {
                 throw UsageError{n + ": " + inQuotes(v) + " is neither a library (a position 0-5 or a name such as " +
                                  std::string(hz::fontLibrary(1).name) + ") nor an existing library file"};
             } else {
                 o.library = parseLibrary(n, v);
             }
         }},
        {{0, "cell", true, cmdline::NumberRange{8, 64, "a cell size"}},
         "",
         [](CliOptions& o, const Argument& a) { o.cell = a.number; }},
        {{0, "first-row", true, std::nullopt},
         "",
         [](CliOptions& o, const Argument& a) { o.firstRow = parseFirstRow(a.shown, a.value); }},
        {{0, "record-layout", true, std::nullopt},
         "",
         [](CliOptions& o, const Argument& a) { o.recordLayout = parseRecordLayout(a.shown, a.value); }},
        {cmdline::kFont,
         "      --font FILE        draw the characters live from a font (TTF, OTF, TTC, PCF, BDF) instead:\n"
         "                         any character it maps; ASCII and other half-width ones in half cells\n",
         [](CliOptions& o, const Argument& a) { o.fontFile = fileName(a); }},
        {cmdline::kSize, "      --size N           the font's cell in dots, {low}-{high} (needed with --font)\n",
         [](CliOptions& o, const Argument& a) { o.size = a.number; }},
        {cmdline::kFace, "      --face N           the face of a font collection, from 0 (default 0)\n",
         [](CliOptions& o, const Argument& a) { o.face = a.number; }},
        {cmdline::kThreshold,
         "      --threshold T      draw in grey and keep the dots darker than T ({low}-{high}); for\n"
         "                         --image, pixels darker than T become dots (default: Otsu's choice)\n",
         [](CliOptions& o, const Argument& a) { o.threshold = a.number; }},
        {cmdline::kWidth,
         "      --width W          fixed (default: full-width and half-width cells) or proportional:\n"
         "                         each glyph as wide as its advance in the font, at most N dots\n",
         [](CliOptions& o, const Argument& a) { o.widths = cmdline::parseGlyphWidths(a); }},
        {cmdline::kAmbiguous,
         "      --ambiguous A      full (default, as GB2312) or half: the cells of East Asian Width's\n"
         "                         ambiguous characters, such as ° ± × α № ①\n",
         [](CliOptions& o, const Argument& a) { o.ambiguous = cmdline::parseAmbiguousWidth(a); }},
        {cmdline::kRender,
         "      --render R         default (strokes thinner than a dot kept) or classic (the hinted\n"
         "                         rendering the six libraries were made with); same cells and places\n",
         [](CliOptions& o, const Argument& a) { o.render = cmdline::parseRenderRule(a); }},
        {{0, "probe", false, std::nullopt},
         "      --probe            print what was found about --library FILE, one \"key value\" a line\n",
         [](CliOptions& o, const Argument&) { o.probe = true; }},
        {{'a', "arrangement", true, std::nullopt},
         "  -a, --arrangement N    0-4: 横排, 下上列排, 上下列排, 下半列排, 上半列排 (default 0), or all\n",
         [](CliOptions& o, const Argument& a) {
             o.layout = parseArrangement(a.shown, a.value);
             o.layoutNamed = a.shown + " " + a.value;
         }},
        {cmdline::kLayout,
         "      --layout L         0-4, an arrangement's name, all, a driver preset (--list-layouts) or a\n"
         "                         layout SCAN-BIT[-up][-left][-invert]: SCAN rows, columns or pages,\n"
         "                         BIT msb or lsb (which dot is bit 7), e.g. pages-lsb-invert\n",
         [](CliOptions& o, const Argument& a) {
             o.layout = parseLayoutOption(a.shown, a.value);
             o.layoutNamed = a.shown + " " + a.value;
         }},
        {cmdline::kBpp,
         "      --bpp B            bits a dot, 1 (default), 2, 4 or 8: a font's glyphs anti-aliased into\n"
         "                         grey levels, written in the layout's grey form (rows or columns,\n"
         "                         e.g. rows-msb-4bpp; pages is one-bit only); the libraries and\n"
         "                         --library files have no grey and give levels 0 and the top only\n",
         [](CliOptions& o, const Argument& a) { o.bpp = cmdline::parseBpp(a); }},
        {{0, "image", true, std::nullopt},
         "      --image FILE...    pictures (PNG, BMP, JPEG, GIF, SVG) instead of TEXT, each a record named\n"
         "                         by its file name; with --preview, pictures and TEXT on one panel\n",
         [](CliOptions& o, const Argument& a) { o.images.push_back(fileName(a)); }},
        {{0, "fit", true, std::nullopt},
         "      --fit WxH          scale each picture to fit inside WxH dots, keeping its aspect\n"
         "                         (default: its own size; 1-1024 a side)\n",
         [](CliOptions& o, const Argument& a) { o.fit = parseFit(a.shown, a.value); }},
        {{0, "dither", true, std::nullopt},
         "      --dither D         none, threshold, floyd-steinberg (default), atkinson, bayer4 or bayer8\n",
         [](CliOptions& o, const Argument& a) { o.dither = parseDitherOption(a.shown, a.value); }},
        {{0, "invert", false, std::nullopt},
         "      --invert           light pixels become dots instead of dark ones (transparent stays clear)\n",
         [](CliOptions& o, const Argument&) { o.invert = true; }},
        {{0, "list-layouts", false, std::nullopt},
         "      --list-layouts     the driver presets, their layouts and drivers\n",
         [](CliOptions& o, const Argument&) { o.listLayouts = true; }},
        {{0, "format", true, std::nullopt},
         "      --format F         text (default: assembly and C tables), bin (the raw bytes of each\n"
         "                         record, nothing else) or header (a C header with a lookup, needs -o)\n",
         [](CliOptions& o, const Argument& a) { o.format = parseFormat(a.shown, a.value); }},
        {{0, "name", true, std::nullopt},
         "      --name NAME        the header's prefix for its macros, tables and NAME_find (a C name)\n",
         [](CliOptions& o, const Argument& a) {
             if (auto problem = hz::checkHeaderName(a.value))
                 throw UsageError{a.shown + ": " + inQuotes(a.value) + " cannot name the tables: " + *problem};
             o.headerName = a.value;
         }},
        {{0, "key", true, std::nullopt},
         "      --key K            the header's keys: unicode (code points, default) or gb2312 (codes)\n",
         [](CliOptions& o, const Argument& a) { o.key = parseKey(a.shown, a.value); }},
        {{0, "c89", false, std::nullopt},
         "      --c89              the header for C89 compilers too: no inline, its own integer types\n",
         [](CliOptions& o, const Argument&) { o.c89 = true; }},
        {{0, "preview", true, std::nullopt},
         "      --preview WxH      draw the text on a WxH-dot panel into -o FILE.png\n",
         [](CliOptions& o, const Argument& a) { o.preview = parsePreview(a.shown, a.value); }},
        {{0, "line-spacing", true, cmdline::NumberRange{0, hz::kMaxLineSpacing, "a number of dots"}},
         "      --line-spacing N   dots between the rows of --preview, {low}-{high} (default 0)\n",
         [](CliOptions& o, const Argument& a) { o.lineSpacing = a.number; }},
        {{0, "fg", true, std::nullopt},
         "      --fg #RRGGBB, --bg #RRGGBB    draw --preview as a colour TFT: each dot's grey level\n"
         "                         blended from the background to the foreground (default white on black)\n",
         [](CliOptions& o, const Argument& a) { o.foreground = parseColour(a.shown, a.value); }},
        {{0, "bg", true, std::nullopt},
         "",
         [](CliOptions& o, const Argument& a) { o.background = parseColour(a.shown, a.value); }},
        {{0, "detect", true, std::nullopt},
         "      --detect FILE      which layout the glyph bytes pasted in FILE (- for standard input) are\n"
         "                         in, for the one character TEXT: up to five LAYOUT, SCORE, PRESETS lines\n",
         [](CliOptions& o, const Argument& a) { o.detectFile = fileName(a); }},
        {{0, "scan", true, std::nullopt},
         "      --scan PATH...     take the characters of the string literals in C/C++ sources (files, or\n"
         "                         folders searched for .c .h .cc .cpp .hpp .ino), once each, TEXT added\n",
         [](CliOptions& o, const Argument& a) { o.scanPaths.push_back(a.value); }},
        {{0, "scan-ascii", false, std::nullopt},
         "      --scan-ascii       count printable ASCII in those literals too\n",
         [](CliOptions& o, const Argument&) { o.scanAscii = true; }},
        {cmdline::kVerbose, "      --verbose          say how each scanned file was read and what --library found\n",
         [](CliOptions& o, const Argument&) { o.verbose = true; }},
        {{'x', "space-x", true, kSpace},
         "  -x, --space-x N        {low}-{high}, columns left of a 12×12 glyph in its 16×16 cell (default 2)\n",
         [](CliOptions& o, const Argument& a) { o.spaceX = a.number; }},
        {{'y', "space-y", true, kSpace},
         "  -y, --space-y N        {low}-{high}, rows above it (default 2)\n",
         [](CliOptions& o, const Argument& a) { o.spaceY = a.number; }},
        {{'i', "input", true, std::nullopt},
         "  -i, --input FILE       take the characters from a UTF-8 file instead of TEXT; line breaks\n"
         "                         skipped (--preview: each line a row); - is standard input\n",
         [](CliOptions& o, const Argument& a) { o.inputFile = a.value; }},
        {{'o', "output", true, std::nullopt},
         "  -o, --output FILE      write the export file (code page 936, CR LF) instead of standard output\n",
         [](CliOptions& o, const Argument& a) { o.outputFile = fileName(a); }},
        {{0, "current", false, std::nullopt},
         "      --current          the \"export current\" layout of the last record instead of \"export all\"\n",
         [](CliOptions& o, const Argument&) { o.current = true; }},
        {{0, "view", false, std::nullopt},
         "      --view             print each record's enlarged dot matrix instead of the tables\n",
         [](CliOptions& o, const Argument&) { o.view = true; }},
        {{0, "mark", true, std::nullopt},
         "      --mark C, --back C, --no-back    the marks for --view (default ■ and □;\n"
         "                         --no-back draws a clear dot as two spaces)\n",
         [](CliOptions& o, const Argument& a) { o.marks.DotMark = parseMark(a.shown, a.value); }},
        {{0, "back", true, std::nullopt},
         "",
         [](CliOptions& o, const Argument& a) {
             o.marks.BackMark = parseMark(a.shown, a.value);
             o.marks.BackMarkOn = true;
         }},
        {{0, "no-back", false, std::nullopt}, "", [](CliOptions& o, const Argument&) { o.marks.BackMarkOn = false; }},
        {{0, "encoding", true, std::nullopt},
         "      --encoding E       utf-8 (default) or gbk, for what goes to standard output\n",
         [](CliOptions& o, const Argument& a) { o.encoding = parseEncoding(a.shown, a.value); }},
        {cmdline::kHelp, "  -h, --help, --version\n", [](CliOptions& o, const Argument&) { o.help = true; }},
        {{0, "version", false, std::nullopt}, "", [](CliOptions& o, const Argument&) { o.version = true; }},
    };
    return table;
}

// The depth of --bpp and of the layout's name, made one; a threshold cuts to one bit only.
void settleDepth(CliOptions& options) {
    options.layout = cmdline::choiceAtDepth(options.layout, options.layoutNamed, options.bpp);
    const int depth = options.layout.layout.bpp;
    if (depth > 1 && options.threshold && !options.images.empty())
        throw UsageError{"--threshold cuts a picture to one bit a dot; it goes with --bpp 1 only (with --bpp " +
                         std::to_string(depth) + " the levels come from the picture's luminance)"};
    if (depth > 1 && options.threshold)
        throw UsageError{"--threshold cuts a glyph to one bit a dot; it goes with --bpp 1 only (with --bpp " +
                         std::to_string(depth) + " the levels come from the font's own grey)"};
    if (depth > 1 && options.detectFile)
        throw UsageError{"--detect reads one-bit glyph bytes; it does not go with " +
                         std::string(options.bpp ? "--bpp " + std::to_string(*options.bpp) : options.layoutNamed)};
}

// Where the words and -i stood among the --image options, for a preview's order.
struct WordPlaces {
    std::vector<std::size_t> imagesBefore;        // for each word, the --image options before it
    std::optional<std::size_t> inputImagesBefore; // the same for -i FILE
    std::size_t inputWordsBefore = 0;             // and the words before it
};

// With --image, the words that name an existing file are more pictures, in their place among the
// --image options; the rest is TEXT, which a preview draws where it (or -i FILE) stands among the
// pictures.
void settleImages(CliOptions& options, std::vector<std::string>& texts, const WordPlaces& places) {
    if (options.images.empty())
        return;
    std::vector<std::string> pictures;
    std::vector<std::string> rest;
    std::size_t taken = 0;
    std::optional<std::size_t> textAt;
    const auto takeUpTo = [&](std::size_t count) {
        while (taken < count)
            pictures.push_back(options.images[taken++]);
    };
    const auto inputHere = [&](std::size_t word) {
        if (places.inputImagesBefore && places.inputWordsBefore == word && !textAt) {
            takeUpTo(*places.inputImagesBefore);
            textAt = pictures.size();
        }
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        inputHere(i);
        takeUpTo(places.imagesBefore[i]);
        std::error_code error;
        if (std::filesystem::exists(texts[i], error)) {
            pictures.push_back(std::move(texts[i]));
        } else {
            if (!textAt)
                textAt = pictures.size();
            rest.push_back(std::move(texts[i]));
        }
    }
    inputHere(texts.size());
    takeUpTo(options.images.size());
    options.images = std::move(pictures);
    options.imagesBeforeText = textAt.value_or(options.images.size());
    texts = std::move(rest);
}

// The pictures' records are named by their files: two names alike would be two records or header
// tables of one name.
void checkPictureNames(const CliOptions& options) {
    std::vector<std::string> names;
    for (const std::string& path : options.images) {
        const std::string name = hz::pictureName(path);
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                throw UsageError{"--image: " + inQuotes(options.images[i]) + " and " + inQuotes(path) +
                                 " would both be named " + name + "; rename one of them"};
        names.push_back(name);
    }
    if (options.format != OutputFormat::Header)
        return;
    std::vector<hz::PictureRecord> records;
    for (const std::string& name : names)
        records.push_back({name, {}});
    if (auto clash = hz::pictureHeaderClash(records))
        throw UsageError{"--image: the header would declare " + *clash +
                         " twice (a picture's name and another's table or the header's own); rename a picture"};
}

void checkPictureOptions(CliOptions& options, const std::vector<std::string>& texts) {
    if (options.images.empty()) {
        if (options.fit || options.dither || options.invert)
            throw UsageError{"--fit, --dither and --invert go with --image FILE"};
        return;
    }
    if (options.detectFile || !options.scanPaths.empty() || options.probe)
        throw UsageError{"--image does not go with --detect, --scan or --probe"};
    if (options.current)
        throw UsageError{"--current writes a text's last glyph; it does not go with --image"};
    if (options.view && options.format != OutputFormat::Text)
        throw UsageError{"--view prints the pictures' dots; it does not go with --format"};
    if (options.c89 || options.key != hz::HeaderKey::Unicode)
        throw UsageError{"--c89 and --key go with a text's header; a header of pictures is C99"};
    if (options.threshold && options.fontFile)
        throw UsageError{"--threshold with both --font and --image: draw the text and the pictures in two runs"};
    const bool text = !texts.empty() || options.inputFile;
    if (text && !options.preview)
        throw UsageError{"--image with TEXT or --input goes with --preview (pictures and text on one panel); "
                         "write the text's tables in a run of its own"};
    checkPictureNames(options);
}

void checkCombination(CliOptions& options, std::vector<std::string>& texts, const WordPlaces& places) {
    settleImages(options, texts, places);
    if (options.fontFile && !options.size)
        throw UsageError{"--font needs --size N (" + cmdline::rangeText(*cmdline::kSize.range) + ")"};
    if (!options.fontFile && (options.size || options.face != 0))
        throw UsageError{"--size, --face and --threshold go with --font FILE"};
    if (!options.fontFile && options.images.empty() && options.threshold)
        throw UsageError{"--size, --face and --threshold go with --font FILE (--threshold also with --image)"};
    if (!options.fontFile && (options.widths || options.ambiguous))
        throw UsageError{"--width and --ambiguous go with --font FILE"};
    if (!options.fontFile && options.render)
        throw UsageError{"--render goes with --font FILE"};
    if (options.fontFile && options.libraryFile)
        throw UsageError{"give either --font or --library FILE, not both"};
    if (!options.libraryFile && (options.cell || options.firstRow || options.recordLayout || options.probe))
        throw UsageError{"--cell, --first-row, --record-layout and --probe go with --library FILE"};
    if (options.probe || options.listLayouts)
        return;
    checkPictureOptions(options, texts);
    settleDepth(options);
    if (options.format == OutputFormat::Header && options.layout.kind == hz::LayoutChoice::Kind::All)
        throw UsageError{"--format header takes one layout, not all"};
    if (options.format == OutputFormat::Bin && options.layout.kind == hz::LayoutChoice::Kind::All)
        throw UsageError{"--format bin takes one layout, not all"};
    if (options.format == OutputFormat::Header && !options.outputFile)
        throw UsageError{"--format header needs -o FILE"};
    if (options.preview && !options.outputFile)
        throw UsageError{"--preview needs -o FILE.png"};
    if (options.preview && options.layout.kind == hz::LayoutChoice::Kind::All)
        throw UsageError{"--preview draws one layout, not all"};
    if (options.lineSpacing && !options.preview)
        throw UsageError{"--line-spacing goes with --preview"};
    if ((options.foreground || options.background) && !options.preview)
        throw UsageError{"--fg and --bg go with --preview"};
    if (options.c89 && options.format != OutputFormat::Header)
        throw UsageError{"--c89 goes with --format header"};
    if (options.detectFile) {
        if (texts.size() != 1 || options.inputFile || !options.scanPaths.empty())
            throw UsageError{"--detect needs exactly one character as TEXT"};
        return;
    }
    if (!options.scanPaths.empty()) {
        // "--scan PATH..." : the words that name an existing file or folder are more paths; a word
        // that names none is TEXT, added to what the scan finds.
        std::vector<std::string> rest;
        for (auto& word : texts) {
            std::error_code error;
            if (std::filesystem::exists(word, error))
                options.scanPaths.push_back(std::move(word));
            else
                rest.push_back(std::move(word));
        }
        texts = std::move(rest);
        if (texts.size() > 1)
            throw UsageError{"more than one TEXT (" + inQuotes(texts[0]) + ", " + inQuotes(texts[1]) +
                             "); put a text with spaces in quotes"};
        if (options.inputFile)
            throw UsageError{"give either --scan or --input, not both"};
        return;
    }
    if (texts.size() > 1)
        throw UsageError{"more than one TEXT (" + inQuotes(texts[0]) + ", " + inQuotes(texts[1]) +
                         "); put a text with spaces in quotes"};
    if (!texts.empty() && options.inputFile)
        throw UsageError{"give either TEXT or --input, not both"};
    if (texts.empty() && !options.inputFile && options.images.empty())
        throw UsageError{"no text given; give TEXT, --input FILE or --image FILE"};
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine result;
    CliOptions& options = result.options;
    std::vector<std::string> texts;
    WordPlaces places;
    try {
        cmdline::CommandLine line(args, optionTable().options(), cmdline::CommandLine::Operands::Taken);
        while (auto argument = line.next()) {
            if (!argument->option) {
                texts.push_back(std::move(argument->value));
                places.imagesBefore.push_back(options.images.size());
                continue;
            }
            optionTable().apply(options, *argument);
            if (argument->option->longName == "input") {
                places.inputImagesBefore = options.images.size();
                places.inputWordsBefore = texts.size();
            }
        }
        if (!options.help && !options.version)
            checkCombination(options, texts, places);
        if (!texts.empty())
            options.text = texts.front();
    } catch (const UsageError& e) {
        result.error = e.message;
    }
    return result;
}

std::string optionHelp() {
    return optionTable().help();
}

} // namespace hz::cli
