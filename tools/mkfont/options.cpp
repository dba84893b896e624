#include "tools/mkfont/options.h"

#include "tools/mkfont/mkfont_error.h"

#include "core/layout/layout_presets.h"

#include <charconv>
#include <string_view>

namespace hz::mkfont {

namespace {

int parseNumber(std::string_view option, const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        throw MkfontError(std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high) + ", not \"" + text + "\"");
    }
    return value;
}

Charset parseCharset(const std::string& text) {
    if (text == "gb2312")
        return Charset::Gb2312;
    if (text == "gbk")
        return Charset::Gbk;
    if (text == "ascii")
        return Charset::Ascii;
    throw MkfontError("--charset takes gb2312, gbk or ascii, not \"" + text + "\"");
}

// A layout or one of the five arrangements; "all" makes five files' worth and has no place here.
hz::Layout parseLayoutOption(const std::string& text) {
    const auto choice = hz::parseLayoutChoice(text);
    if (!choice || choice->kind == hz::LayoutChoice::Kind::All)
        throw MkfontError("--layout takes one layout, not \"" + text + "\": " + hz::layoutChoiceHelp() +
                          " (but not all)");
    return choice->layout;
}

} // namespace

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    bool sizeGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        auto value = [&]() -> std::string {
            if (inlineValue)
                return *inlineValue;
            if (i + 1 >= args.size())
                throw MkfontError(name + " needs a value");
            return args[++i];
        };
        auto noValue = [&] {
            if (inlineValue)
                throw MkfontError(name + " takes no value");
        };

        if (name == "--font") {
            options.fontPath = value();
        } else if (name == "--face") {
            options.faceIndex = parseNumber(name, value(), 0, 65535);
        } else if (name == "--size") {
            options.size = parseNumber(name, value(), Options::kMinSize, Options::kMaxSize);
            sizeGiven = true;
        } else if (name == "--charset") {
            options.charset = parseCharset(value());
        } else if (name == "--layout") {
            options.layout = parseLayoutOption(value());
        } else if (name == "--traditional") {
            noValue();
            options.traditional = true;
        } else if (name == "--output") {
            options.outputPath = value();
        } else if (name == "--threshold") {
            options.threshold = parseNumber(name, value(), 0, 255);
        } else if (name == "--verbose") {
            noValue();
            options.verbose = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
            return options;
        } else {
            throw MkfontError("unknown argument \"" + args[i] + "\"");
        }
    }
    if (options.fontPath.empty())
        throw MkfontError("--font FILE is required");
    if (!sizeGiven)
        throw MkfontError("--size N (8 to 64) is required");
    if (options.outputPath.empty())
        throw MkfontError("--output FILE is required");
    if (options.traditional && options.charset != Charset::Gb2312)
        throw MkfontError("--traditional draws GB2312's simplified characters; it goes with --charset gb2312 only");
    return options;
}

const char* usageText() {
    return "usage: hzdot-mkfont --font FILE [--face N] --size N [--charset gb2312|gbk|ascii]\n"
           "                    [--layout L] [--traditional] [--threshold 0-255] [--verbose]\n"
           "                    --output FILE\n"
           "\n"
           "Builds a dot-matrix library, one record per code of a character set, from an outline\n"
           "font (TTF, OTF, TTC) or a bitmap font (PCF, PCF.gz, BDF).\n"
           "\n"
           "  --font FILE      the source font\n"
           "  --face N         face of a font collection, counted from 0 (default 0)\n"
           "  --size N         dots per cell side, 8 to 64: full-width cells are N x N,\n"
           "                   half-width cells ceil(N/2) x N; rows of ceil(N/8) bytes, so 12\n"
           "                   makes 24-byte records, 16 makes 32 and 24 makes 72\n"
           "  --charset SET    gb2312 (default): codes A1A1 to F7FE, 94 a row, as the six\n"
           "                   libraries; gbk: codes 8140 to FEFE, trail bytes 40-7E and 80-FE,\n"
           "                   190 a row; ascii: the 95 characters 20 to 7E, half width\n"
           "  --layout L       the bytes of each record: a layout SCAN-BIT[-up][-left][-invert]\n"
           "                   (rows, columns or pages; msb or lsb), a preset or one of the five\n"
           "                   arrangements 0-4 (default rows-msb, the libraries' own)\n"
           "  --traditional    draw each simplified character in its traditional form (gb2312)\n"
           "  --output FILE    the file to write; its folder must exist\n"
           "  --threshold T    render outlines in grey and keep the dots covered more than T/255\n"
           "                   (default: monochrome rendering)\n"
           "  --verbose        list every code without a glyph and every glyph moved or cropped\n"
           "\n"
           "Record k starts at byte k x record size; the tool prints the size and the offset of a\n"
           "code when it is done. Unassigned codes and characters the font lacks get blank records.\n"
           "A bitmap font must have a strike of exactly the cell size. Exit status: 0 written,\n"
           "2 bad input (nothing written).\n";
}

} // namespace hz::mkfont
