#include "cmdline/command_line.h"

#include <algorithm>
#include <cstdio>

namespace hz::cmdline {

CommandLine::CommandLine(const std::vector<std::string>& args, std::vector<const Option*> options, Operands operands)
    : args(args), options(std::move(options)), operands(operands) {}

const Option* CommandLine::findLong(std::string_view name) const {
    for (const Option* option : options)
        if (option->longName == name)
            return option;
    return nullptr;
}

const Option* CommandLine::findShort(char name) const {
    for (const Option* option : options)
        if (option->shortName != 0 && option->shortName == name)
            return option;
    return nullptr;
}

std::optional<Argument> CommandLine::next() {
    if (at >= args.size())
        return std::nullopt;
    const std::string& arg = args[at++];
    Argument argument;
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || arg == "--") {
        if (operands == Operands::Refused)
            throw UsageError{"unknown argument " + inQuotes(arg)};
        if (arg == "--" && !optionsEnded) {
            optionsEnded = true;
            return next();
        }
        argument.value = arg;
        return argument;
    }
    std::optional<std::string> value;
    if (arg.starts_with("--")) {
        std::string_view body = std::string_view(arg).substr(2);
        auto eq = body.find('=');
        std::string_view name = body.substr(0, eq);
        argument.option = findLong(name);
        if (!argument.option)
            throw UsageError{"unknown option " + inQuotes(std::string("--") + std::string(name))};
        argument.shown = "--" + std::string(argument.option->longName);
        if (eq != std::string_view::npos) {
            if (!argument.option->takesValue)
                throw UsageError{argument.shown + " takes no value"};
            value = std::string(body.substr(eq + 1));
        }
    } else {
        argument.option = findShort(arg[1]);
        if (!argument.option)
            throw UsageError{"unknown option " + inQuotes(arg) +
                             (operands == Operands::Taken ? "; a TEXT that starts with - goes after --" : "")};
        argument.shown = "--" + std::string(argument.option->longName);
        if (arg.size() > 2) {
            if (!argument.option->takesValue)
                throw UsageError{"unknown option " + inQuotes(arg)};
            value = arg.substr(2);
        }
    }
    if (argument.option->takesValue && !value) {
        if (at >= args.size())
            throw UsageError{argument.shown + " needs a value"};
        value = args[at++];
    }
    argument.value = value.value_or(std::string());
    if (argument.option->range)
        argument.number = numberInRange(argument.shown, argument.value, *argument.option->range);
    return argument;
}

std::optional<int> wholeNumber(std::string_view text, int low, int high) {
    const std::size_t digits = std::max<std::size_t>(3, std::to_string(high).size());
    if (text.empty() || text.size() > digits)
        return std::nullopt;
    long value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

int numberInRange(const std::string& shown, std::string_view value, const NumberRange& range) {
    if (auto n = wholeNumber(value, range.low, range.high))
        return *n;
    throw UsageError{shown + ": " + inQuotes(value) + " is out of range; give " + std::string(range.what) + " " +
                     rangeText(range)};
}

std::string inQuotes(std::string_view value) {
    return "'" + std::string(value) + "'";
}

void printError(std::string_view program, const std::string& message) {
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), message.c_str());
}

void printUsageError(std::string_view program, const std::string& message) {
    printError(program, message);
    std::fprintf(stderr, "Try '%.*s --help' for more information.\n", static_cast<int>(program.size()), program.data());
}

} // namespace hz::cmdline
