#include "cli/cli_options.h"

#include "core/font_library.h"
#include "core/utf8.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string_view>

namespace hzcli {
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

std::string quoted(std::string_view value) {
    return "'" + std::string(value) + "'";
}

int parseLibrary(const std::string& option, std::string_view value) {
    if (auto n = parseNumber(value, 0, hz::kLibraryCount - 1))
        return *n;
    for (const auto& library : hz::fontLibraries())
        if (library.name == value)
            return library.position;
    throw UsageError{option + ": " + quoted(value) + " is not a library; give a position 0-5 or a name such as " +
                     std::string(hz::fontLibrary(1).name)};
}

hz::Arrangement parseArrangement(const std::string& option, std::string_view value) {
    if (auto n = parseNumber(value, 0, hz::kArrangementCount - 1))
        return static_cast<hz::Arrangement>(*n);
    for (int i = 0; i < hz::kArrangementCount; ++i) {
        auto a = static_cast<hz::Arrangement>(i);
        if (hz::arrangementName(a) == value || hz::arrangementChoice(a) == value)
            return a;
    }
    throw UsageError{option + ": " + quoted(value) + " is not an arrangement; give 0-4 or a name such as " +
                     std::string(hz::arrangementName(hz::Arrangement::ColsUp))};
}

int parseSpace(const std::string& option, std::string_view value) {
    if (auto n = parseNumber(value, 0, 4))
        return *n;
    throw UsageError{option + ": " + quoted(value) + " is out of range; give a number of dots 0-4"};
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
    throw UsageError{option + ": " + quoted(value) + " is not an encoding; give utf-8 or gbk"};
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
         [](CliOptions& o, const std::string& n, const std::string& v) { o.library = parseLibrary(n, v); }},
        {'a', "arrangement", true,
         [](CliOptions& o, const std::string& n, const std::string& v) { o.arrangement = parseArrangement(n, v); }},
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

void checkCombination(const CliOptions& options, const std::vector<std::string>& texts) {
    if (texts.size() > 1)
        throw UsageError{"more than one TEXT (" + quoted(texts[0]) + ", " + quoted(texts[1]) +
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
                    throw UsageError{"unknown option " + quoted(std::string("--") + std::string(name))};
                shown = "--" + std::string(option->longName);
                if (eq != std::string_view::npos) {
                    if (!option->takesValue)
                        throw UsageError{shown + " takes no value"};
                    value = std::string(body.substr(eq + 1));
                }
            } else {
                option = findShort(arg[1]);
                if (!option)
                    throw UsageError{"unknown option " + quoted(arg) + "; a TEXT that starts with - goes after --"};
                shown = "--" + std::string(option->longName);
                if (arg.size() > 2) {
                    if (!option->takesValue)
                        throw UsageError{"unknown option " + quoted(arg)};
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

} // namespace hzcli
