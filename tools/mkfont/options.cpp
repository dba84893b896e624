#include "tools/mkfont/options.h"

#include "tools/mkfont/mkfont_error.h"

#include <charconv>
#include <string_view>

namespace mkfont {

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
            std::string text = value();
            options.size = parseNumber(name, text, 0, 1000);
            if (options.size != 12 && options.size != 16 && options.size != 24)
                throw MkfontError("--size must be 12, 16 or 24, not \"" + text + "\"");
            sizeGiven = true;
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
        throw MkfontError("--size 12|16|24 is required");
    if (options.outputPath.empty())
        throw MkfontError("--output FILE is required");
    return options;
}

const char* usageText() {
    return "usage: hzdot-mkfont --font FILE [--face N] --size 12|16|24 [--traditional] --output FILE\n"
           "                    [--threshold 0-255] [--verbose]\n"
           "\n"
           "Builds a dot-matrix library (one record per GB2312 code from A1A1 to F7FE) from an\n"
           "outline font (TTF, OTF, TTC) or a bitmap font (PCF, PCF.gz, BDF).\n"
           "\n"
           "  --font FILE      the source font\n"
           "  --face N         face of a font collection, counted from 0 (default 0)\n"
           "  --size N         dots per cell side: 12 (24-byte records), 16 (32) or 24 (72)\n"
           "  --traditional    draw each simplified character in its traditional form\n"
           "  --output FILE    the library file to write; its folder must exist\n"
           "  --threshold T    render outlines in grey and keep the dots covered more than T/255\n"
           "                   (default: monochrome rendering)\n"
           "  --verbose        list every code without a glyph and every glyph moved or cropped\n"
           "\n"
           "A bitmap font must have a strike of exactly the cell size. Exit status: 0 written,\n"
           "2 bad input (nothing written).\n";
}

} // namespace mkfont
