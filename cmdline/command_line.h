#pragma once
// The one parser of both command-line programs, and the one wording of their usage errors.

#include "cmdline/option_table.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hz::cmdline {

// A bad command line; the message names the option and says what it takes.
struct UsageError {
    std::string message;
};

// One argument: an option with its value, or, with no option, an operand.
struct Argument {
    const Option* option = nullptr;
    std::string shown; // the option as messages name it: "--threshold", however it was typed
    std::string value; // the option's value, or the operand
    int number = 0;    // the value, for an option with a range
};

// Reads "-l 3", "-l3", "--library 3" and "--library=3". For a program that takes operands, "--"
// ends the options; for one that takes none, an operand is a usage error.
class CommandLine {
public:
    enum class Operands { Taken, Refused };
    CommandLine(const std::vector<std::string>& args, std::vector<const Option*> options, Operands operands);

    // The next argument, or nothing after the last. Throws UsageError.
    std::optional<Argument> next();

private:
    const Option* findLong(std::string_view name) const;
    const Option* findShort(char name) const;

    const std::vector<std::string>& args;
    std::vector<const Option*> options;
    Operands operands;
    std::size_t at = 0;
    bool optionsEnded = false;
};

// A program's options in the order of its --help, each with its lines there (empty when another
// row's lines name it) and what it sets in the program's settings.
template <typename Settings> class OptionTable {
public:
    struct Row {
        Option option;
        std::string_view help;
        void (*apply)(Settings&, const Argument&);
    };

    OptionTable(std::initializer_list<Row> rows) : rows(rows) {}

    // The options, as CommandLine takes them.
    std::vector<const Option*> options() const {
        std::vector<const Option*> all;
        for (const Row& row : rows)
            all.push_back(&row.option);
        return all;
    }

    // Sets what the argument's option sets; an operand sets nothing.
    void apply(Settings& settings, const Argument& argument) const {
        for (const Row& row : rows)
            if (&row.option == argument.option)
                row.apply(settings, argument);
    }

    // The options' lines in --help.
    std::string help() const {
        std::string text;
        for (const Row& row : rows)
            text += helpLines(row.option, row.help);
        return text;
    }

private:
    std::vector<Row> rows;
};

// A whole decimal number from low to high: no sign, no spaces, no more digits than the highest
// value needs (at least three).
std::optional<int> wholeNumber(std::string_view text, int low, int high);

// The number in range, or a UsageError "OPTION: 'v' is out of range; give WHAT LOW-HIGH".
int numberInRange(const std::string& shown, std::string_view value, const NumberRange& range);

std::string inQuotes(std::string_view value);

// "PROGRAM: message" on standard error.
void printError(std::string_view program, const std::string& message);
// The same, then where to read more: "Try 'PROGRAM --help' for more information."
void printUsageError(std::string_view program, const std::string& message);

} // namespace hz::cmdline
