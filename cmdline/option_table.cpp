#include "cmdline/option_table.h"

namespace hz::cmdline {
namespace {

void replaceAll(std::string& text, std::string_view from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string helpLines(const Option& option, std::string_view help) {
    std::string text(help);
    if (option.range) {
        replaceAll(text, "{low}", std::to_string(option.range->low));
        replaceAll(text, "{high}", std::to_string(option.range->high));
    }
    return text;
}

std::string rangeText(const NumberRange& range) {
    return std::to_string(range.low) + "-" + std::to_string(range.high);
}

} // namespace hz::cmdline
