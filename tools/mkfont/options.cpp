#include "tools/mkfont/options.h"

#include "cmdline/command_line.h"
#include "cmdline/depth_options.h"
#include "cmdline/render_options.h"
#include "cmdline/width_options.h"

#include "core/layout/layout_presets.h"
#include "core/output/c_header.h"

#include <string_view>

namespace hz::mkfont {

namespace {

using cmdline::Argument;
using cmdline::inQuotes;
using cmdline::UsageError;

Charset parseCharset(const Argument& a) {
    if (a.value == "gb2312")
        return Charset::Gb2312;
    if (a.value == "gbk")
        return Charset::Gbk;
    if (a.value == "ascii")
        return Charset::Ascii;
    throw UsageError{a.shown + ": " + inQuotes(a.value) + " is not a character set; give gb2312, gbk or ascii"};
}

OutputFormat parseFormat(const Argument& a) {
    if (a.value == "hzk")
        return OutputFormat::Hzk;
    if (a.value == "lvgl")
        return OutputFormat::Lvgl;
    if (a.value == "lvgl-bin")
        return OutputFormat::LvglBin;
    if (a.value == "u8g2")
        return OutputFormat::U8g2;
    if (a.value == "bdf")
        return OutputFormat::Bdf;
    throw UsageError{a.shown + ": " + inQuotes(a.value) + " is not a format; give hzk, lvgl, lvgl-bin, u8g2 or bdf"};
}

// A layout or one of the five arrangements; "all" makes five files' worth and has no place here.
hz::LayoutChoice parseLayoutOption(const Argument& a) {
    const auto choice = hz::parseLayoutChoice(a.value);
    if (!choice || choice->kind == hz::LayoutChoice::Kind::All)
        throw UsageError{a.shown + ": " + inQuotes(a.value) + " is not one layout; give " + hz::layoutChoiceHelp() +
                         " (but not all)"};
    return *choice;
}

const cmdline::OptionTable<Options>& optionTable() {
    static const cmdline::OptionTable<Options> table = {
        {cmdline::kFont, "  --font FILE      the source font\n",
         [](Options& o, const Argument& a) { o.fontPath = a.value; }},
        {cmdline::kFace, "  --face N         face of a font collection, counted from 0 (default 0)\n",
         [](Options& o, const Argument& a) { o.faceIndex = a.number; }},
        {cmdline::kSize,
         "  --size N         dots per cell side, {low} to {high}: full-width cells are N x N,\n"
         "                   half-width cells ceil(N/2) x N; rows of ceil(N/8) bytes, so 12\n"
         "                   makes 24-byte records, 16 makes 32 and 24 makes 72\n",
         [](Options& o, const Argument& a) { o.size = a.number; }},
        {{0, "charset", true, std::nullopt},
         "  --charset SET    gb2312 (default): codes A1A1 to F7FE, 94 a row, as the six\n"
         "                   libraries; gbk: codes 8140 to FEFE, trail bytes 40-7E and 80-FE,\n"
         "                   190 a row; ascii: the 95 characters 20 to 7E, half width\n",
         [](Options& o, const Argument& a) { o.charset = parseCharset(a); }},
        {cmdline::kLayout,
         "  --layout L       the bytes of each record: a layout SCAN-BIT[-up][-left][-invert]\n"
         "                   (rows, columns or pages; msb or lsb), a preset or one of the five\n"
         "                   arrangements 0-4 (default rows-msb, the libraries' own)\n",
         [](Options& o, const Argument& a) {
             // Kept as chosen until --bpp, which may follow, is known.
             o.layoutChoice = parseLayoutOption(a);
             o.layoutNamed = a.shown + " " + a.value;
         }},
        {cmdline::kBpp,
         "  --bpp B          bits a dot, 1 (default), 2, 4 or 8: outlines anti-aliased into grey\n"
         "                   levels, in the cells and places of one bit, written in the layout's\n"
         "                   grey form (rows or columns, e.g. rows-msb-4bpp; pages is one-bit\n"
         "                   only); records of height x ceil(width x B / 8) bytes for rows;\n"
         "                   a bitmap font's strike gives levels 0 and the top only\n",
         [](Options& o, const Argument& a) { o.bpp = cmdline::parseBpp(a); }},
        {cmdline::kWidth,
         "  --width W        fixed (default): the character set's full-width or half-width\n"
         "                   cells; proportional: each glyph as wide as its advance in the font\n"
         "                   (at most N dots) at the left of an N x N record, its width in a\n"
         "                   byte of FILE.widths\n",
         [](Options& o, const Argument& a) { o.widths = cmdline::parseGlyphWidths(a); }},
        {cmdline::kAmbiguous,
         "  --ambiguous A    full (default, as GB2312) or half: East Asian Width's ambiguous\n"
         "                   characters (° ± × α № ① and the like) in half-width cells, at the\n"
         "                   left of their records, the widths in FILE.widths\n",
         [](Options& o, const Argument& a) { o.ambiguous = cmdline::parseAmbiguousWidth(a); }},
        {{0, "traditional", false, std::nullopt},
         "  --traditional    draw each simplified character in its traditional form (gb2312)\n",
         [](Options& o, const Argument&) { o.traditional = true; }},
        {{0, "format", true, std::nullopt},
         "  --format F       hzk (default): the library of fixed records; lvgl: an LVGL font as a\n"
         "                   C file of the set's glyphs; lvgl-bin: LVGL's binary font file\n"
         "                   (--bpp 1, 2 or 4); u8g2: a C file of a u8g2 font (setFont); bdf: a\n"
         "                   BDF 2.1 font (u8g2 and bdf one bit a dot). The fonts hold the set's\n"
         "                   characters the font has, each glyph cut to its ink on the baseline\n",
         [](Options& o, const Argument& a) { o.format = parseFormat(a); }},
        {{0, "name", true, std::nullopt},
         "  --name NAME      the font's C name (LVGL, u8g2) or family (BDF); default from the\n"
         "                   font file and size (u8g2, BDF: from the output file)\n",
         [](Options& o, const Argument& a) {
             if (auto problem = hz::checkHeaderName(a.value))
                 throw UsageError{a.shown + ": " + inQuotes(a.value) + " cannot name the font: " + *problem};
             o.name = a.value;
         }},
        {{0, "output", true, std::nullopt},
         "  --output FILE    the file to write; its folder must exist\n",
         [](Options& o, const Argument& a) { o.outputPath = a.value; }},
        {cmdline::kThreshold,
         "  --threshold T    render outlines in grey and keep the dots covered more than T/255\n"
         "                   (default: monochrome rendering)\n",
         [](Options& o, const Argument& a) { o.threshold = a.number; }},
        {cmdline::kRender,
         "  --render R       default: outlines hinted lightly and cut at a third of coverage, or by\n"
         "                   the autohinter where that cut would lose thin strokes at the size;\n"
         "                   classic: the hinted rendering the six libraries were made with; to\n"
         "                   compare: dropout (classic with dropout control), autohint, grey (the\n"
         "                   same cells and places by every rule)\n",
         [](Options& o, const Argument& a) { o.render = cmdline::parseRenderRule(a); }},
        {cmdline::kVerbose,
         "  --verbose        list every code without a glyph and every glyph moved, drawn\n"
         "                   smaller or narrower, or cropped\n",
         [](Options& o, const Argument&) { o.verbose = true; }},
        {cmdline::kHelp, "", [](Options& o, const Argument&) { o.help = true; }},
    };
    return table;
}

} // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    cmdline::CommandLine line(args, optionTable().options(), cmdline::CommandLine::Operands::Refused);
    while (auto argument = line.next()) {
        optionTable().apply(options, *argument);
        // Help is help, whatever follows it.
        if (options.help)
            return options;
    }
    if (options.fontPath.empty())
        throw UsageError{"--font FILE is required"};
    if (options.size == 0)
        throw UsageError{"--size N (" + cmdline::rangeText(*cmdline::kSize.range) + ") is required"};
    if (options.outputPath.empty())
        throw UsageError{"--output FILE is required"};
    options.layout = cmdline::choiceAtDepth(options.layoutChoice.value_or(hz::LayoutChoice::of(hz::Layout{})),
                                            options.layoutNamed, options.bpp)
                         .layout;
    if (options.layout.bpp > 1 && options.threshold)
        throw UsageError{"--threshold cuts a glyph to one bit a dot; it goes with --bpp 1 only (with --bpp " +
                         std::to_string(options.layout.bpp) + " the levels come from the font's own grey)"};
    if (options.format != OutputFormat::Hzk) {
        if (options.format == OutputFormat::Lvgl || options.format == OutputFormat::LvglBin) {
            const std::string format = options.format == OutputFormat::Lvgl ? "--format lvgl" : "--format lvgl-bin";
            if (!options.layoutNamed.empty())
                throw UsageError{format + " keeps glyphs in LVGL's own layout; " + options.layoutNamed +
                                 " does not go with it (give the depth by --bpp)"};
            if (options.format == OutputFormat::LvglBin && options.layout.bpp == 8)
                throw UsageError{"--format lvgl-bin holds 1, 2 or 4 bits a dot; 8 bits go in --format lvgl"};
        } else {
            const std::string format = options.format == OutputFormat::U8g2 ? "u8g2" : "bdf";
            if (options.layout.bpp > 1)
                throw UsageError{"--format " + format + " writes one bit a dot; it does not go with " +
                                 (options.bpp ? "--bpp " + std::to_string(*options.bpp) : options.layoutNamed)};
            if (options.layoutChoice)
                throw UsageError{"--format " + format + " has its own bit order; it does not go with " +
                                 options.layoutNamed};
        }
    } else if (options.name) {
        throw UsageError{"--name goes with --format lvgl, lvgl-bin, u8g2 or bdf"};
    }
    if (options.traditional && options.charset != Charset::Gb2312)
        throw UsageError{"--traditional draws GB2312's simplified characters; it goes with --charset gb2312 only"};
    return options;
}

std::string usageText() {
    std::string text = "usage: hzdot-mkfont --font FILE [--face N] --size N [--charset gb2312|gbk|ascii]\n"
                       "                    [--layout L] [--width fixed|proportional] [--ambiguous full|half]\n"
                       "                    [--traditional] [--bpp 1|2|4|8] [--threshold " +
                       cmdline::rangeText(*cmdline::kThreshold.range) +
                       "] [--render default|classic] [--verbose]\n"
                       "                    [--format hzk|lvgl|lvgl-bin|u8g2|bdf] [--name NAME] --output FILE\n"
                       "\n"
                       "Builds a dot-matrix library, one record per code of a character set, from an outline\n"
                       "font (TTF, OTF, TTC) or a bitmap font (PCF, PCF.gz, BDF).\n"
                       "\n";
    text += optionTable().help();
    text += "\n"
            "Record k starts at byte k x record size; the tool prints the size and the offset of a\n"
            "code when it is done. Unassigned codes and characters the font lacks get blank records.\n"
            "A bitmap font must have a strike of exactly the cell size. Exit status: 0 written,\n"
            "2 bad input (nothing written).\n";
    return text;
}

} // namespace hz::mkfont
