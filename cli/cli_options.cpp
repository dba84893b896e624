#include "cli/cli_options.h"

#include "core/library/font_library.h"
#include "core/output/panel_picture.h"
#include "core/text/utf8.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <string_view>

namespace hz::cli {
namespace {

struct UsageError {
    std::string message;
};

// A whole decimal number in [low, high]; anything else (signs, spaces, trailing letters) is refused.
std::optional<int> parseNumber(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::string inQuotes(std::string_view value) {
    return "'" + std::string(value) + "'";
}

int parseLibrary(const std::string& option, std::string_view value) {
    if (auto n = parseNumber(value, 0, hz::kLibraryCount - 1))
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

hz::LayoutChoice parseLayoutOption(const std::string& option, std::string_view value) {
    if (auto choice = hz::parseLayoutChoice(value))
        return *choice;
    throw UsageError{option + ": " + inQuotes(value) + " is not a layout; give " + hz::layoutChoiceHelp()};
}

std::optional<int> parseLibraryPosition(std::string_view value) {
    if (auto n = parseNumber(value, 0, hz::kLibraryCount - 1))
        return *n;
    for (const auto& library : hz::fontLibraries())
        if (library.name == value)
            return library.position;
    return std::nullopt;
}

int parseRange(const std::string& option, std::string_view value, int low, int high, const std::string& what) {
    if (auto n = parseNumber(value, low, high))
        return *n;
    throw UsageError{option + ": " + inQuotes(value) + " is out of range; give " + what + " " + std::to_string(low) +
                     "-" + std::to_string(high)};
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
    if (choice && choice->kind != hz::LayoutChoice::Kind::All)
        return choice->layout;
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

int parseSpace(const std::string& option, std::string_view value) {
    if (auto n = parseNumber(value, 0, 4))
        return *n;
    throw UsageError{option + ": " + inQuotes(value) + " is out of range; give a number of dots 0-4"};
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

struct OptionSpec {
    char shortName; // 0: long form only
    std::string_view longName;
    bool takesValue;
    std::function<void(CliOptions&, const std::string& option, const std::string& value)> apply;
};

const std::vector<OptionSpec>& optionTable() {
    static const std::vector<OptionSpec> table = {
        {'f', "fonts", true, [](CliOptions& o, const std::string&, const std::string& v) { o.fontsDir = v; }},
        {'l', "library", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
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
        {0, "font", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             if (v.empty())
                 throw UsageError{n + ": the file name is empty"};
             o.fontFile = v;
         }},
        {0, "face", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             o.face = parseRange(n, v, 0, 999, "a face number");
         }},
        {0, "size", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             o.size = parseRange(n, v, 8, 64, "a size in dots");
         }},
        {0, "threshold", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             o.threshold = parseRange(n, v, 1, 255, "a grey level");
         }},
        {0, "cell", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             o.cell = parseRange(n, v, 8, 64, "a cell size");
         }},
        {0, "first-row", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.firstRow = parseFirstRow(n, v); }},
        {0, "record-layout", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.recordLayout = parseRecordLayout(n, v); }},
        {0, "probe", false, [](CliOptions& o, const std::string&, const std::string&) { o.probe = true; }},
        {'a', "arrangement", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.layout = parseArrangement(n, v); }},
        {0, "layout", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.layout = parseLayoutOption(n, v); }},
        {0, "list-layouts", false, [](CliOptions& o, const std::string&, const std::string&) { o.listLayouts = true; }},
        {0, "format", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.format = parseFormat(n, v); }},
        {0, "name", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             if (auto problem = hz::checkHeaderName(v))
                 throw UsageError{n + ": " + inQuotes(v) + " cannot name the tables: " + *problem};
             o.headerName = v;
         }},
        {0, "key", true, [](CliOptions& o, const std::string& n, const std::string& v) { o.key = parseKey(n, v); }},
        {0, "preview", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.preview = parsePreview(n, v); }},
        {0, "detect", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             if (v.empty())
                 throw UsageError{n + ": the file name is empty"};
             o.detectFile = v;
         }},
        {0, "scan", true, [](CliOptions& o, const std::string&, const std::string& v) { o.scanPaths.push_back(v); }},
        {0, "scan-ascii", false, [](CliOptions& o, const std::string&, const std::string&) { o.scanAscii = true; }},
        {0, "verbose", false, [](CliOptions& o, const std::string&, const std::string&) { o.verbose = true; }},
        {'x', "space-x", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.spaceX = parseSpace(n, v); }},
        {'y', "space-y", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.spaceY = parseSpace(n, v); }},
        {'i', "input", true, [](CliOptions& o, const std::string&, const std::string& v) { o.inputFile = v; }},
        {'o', "output", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             if (v.empty())
                 throw UsageError{n + ": the file name is empty"};
             o.outputFile = v;
         }},
        {0, "current", false, [](CliOptions& o, const std::string&, const std::string&) { o.current = true; }},
        {0, "view", false, [](CliOptions& o, const std::string&, const std::string&) { o.view = true; }},
        {0, "mark", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.marks.DotMark = parseMark(n, v); }},
        {0, "back", true,
         [](CliOptions& o, const std::string& n, const std::string& v) {
             o.marks.BackMark = parseMark(n, v);
             o.marks.BackMarkOn = true;
         }},
        {0, "no-back", false,
         [](CliOptions& o, const std::string&, const std::string&) { o.marks.BackMarkOn = false; }},
        {0, "encoding", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.encoding = parseEncoding(n, v); }},
        {'h', "help", false, [](CliOptions& o, const std::string&, const std::string&) { o.help = true; }},
        {0, "version", false, [](CliOptions& o, const std::string&, const std::string&) { o.version = true; }},
    };
    return table;
}

const OptionSpec* findLong(std::string_view name) {
    for (const auto& option : optionTable())
        if (option.longName == name)
            return &option;
    return nullptr;
}

const OptionSpec* findShort(char name) {
    for (const auto& option : optionTable())
        if (option.shortName != 0 && option.shortName == name)
            return &option;
    return nullptr;
}

void checkCombination(CliOptions& options, std::vector<std::string>& texts) {
    if (options.fontFile && !options.size)
        throw UsageError{"--font needs --size N (8-64)"};
    if (!options.fontFile && (options.size || options.threshold || options.face != 0))
        throw UsageError{"--size, --face and --threshold go with --font FILE"};
    if (options.fontFile && options.libraryFile)
        throw UsageError{"give either --font or --library FILE, not both"};
    if (!options.libraryFile && (options.cell || options.firstRow || options.recordLayout || options.probe))
        throw UsageError{"--cell, --first-row, --record-layout and --probe go with --library FILE"};
    if (options.probe || options.listLayouts)
        return;
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
    if (texts.empty() && !options.inputFile)
        throw UsageError{"no text given; give TEXT or --input FILE"};
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine result;
    CliOptions& options = result.options;
    std::vector<std::string> texts;
    try {
        bool optionsEnded = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
                texts.push_back(arg);
                continue;
            }
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            const OptionSpec* option = nullptr;
            std::string shown; // the option as the message names it
            std::optional<std::string> value;
            if (arg.starts_with("--")) {
                std::string_view body = std::string_view(arg).substr(2);
                auto eq = body.find('=');
                std::string_view name = body.substr(0, eq);
                option = findLong(name);
                if (!option)
                    throw UsageError{"unknown option " + inQuotes(std::string("--") + std::string(name))};
                shown = "--" + std::string(option->longName);
                if (eq != std::string_view::npos) {
                    if (!option->takesValue)
                        throw UsageError{shown + " takes no value"};
                    value = std::string(body.substr(eq + 1));
                }
            } else {
                option = findShort(arg[1]);
                if (!option)
                    throw UsageError{"unknown option " + inQuotes(arg) + "; a TEXT that starts with - goes after --"};
                shown = "--" + std::string(option->longName);
                if (arg.size() > 2) {
                    if (!option->takesValue)
                        throw UsageError{"unknown option " + inQuotes(arg)};
                    value = arg.substr(2);
                }
            }
            if (option->takesValue && !value) {
                if (i + 1 >= args.size())
                    throw UsageError{shown + " needs a value"};
                value = args[++i];
            }
            option->apply(options, shown, value.value_or(std::string()));
        }
        if (!options.help && !options.version)
            checkCombination(options, texts);
        if (!texts.empty())
            options.text = texts.front();
    } catch (const UsageError& e) {
        result.error = e.message;
    }
    return result;
}

} // namespace hz::cli
