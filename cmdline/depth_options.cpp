#include "cmdline/depth_options.h"

#include "core/glyph/dot_cell.h"

#include <string>

namespace hz::cmdline {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string bitsText(int bpp) {
    return std::to_string(bpp) + (bpp == 1 ? " bit a dot" : " bits a dot");
}

[[noreturn]] void refuseOneBit(std::string_view named, const std::string& what, int bpp) {
    throw UsageError{std::string(named.empty() ? "the layout" : named) + ": " + what +
                     " is a pages layout, and pages is a one-bit layout (eight rows' dots in a byte); it has no form "
                     "with " +
                     bitsText(bpp) + "; choose a rows or columns layout, e.g. rows-msb"};
}

} // namespace

int parseBpp(const Argument& argument) {
    if (argument.value.size() == 1 && hz::DotCell::validDepth(argument.value[0] - '0'))
        return argument.value[0] - '0';
    throw UsageError{argument.shown + ": " + inQuotes(argument.value) +
                     " is not a depth; give 1, 2, 4 or 8 bits a dot"};
}

bool namesDepth(std::string_view text) {
    const std::string words = lower(text);
    std::size_t start = 0;
    while (start <= words.size()) {
        std::size_t end = words.find('-', start);
        if (end == std::string::npos)
            end = words.size();
        const std::string_view word = std::string_view(words).substr(start, end - start);
        if (word.size() == 4 && word[0] >= '1' && word[0] <= '8' &&
            (word.substr(1) == "bpp" || word.substr(1) == "bit"))
            return true;
        start = end + 1;
    }
    return false;
}

hz::LayoutChoice choiceAtDepth(const hz::LayoutChoice& choice, std::string_view named, std::optional<int> bpp) {
    using Kind = hz::LayoutChoice::Kind;
    const bool givesDepth = choice.kind == Kind::Layout && namesDepth(named);
    if (givesDepth && bpp && *bpp != choice.layout.bpp)
        throw UsageError{std::string(named) + " has " + bitsText(choice.layout.bpp) + " but --bpp " +
                         std::to_string(*bpp) + " asks for " + bitsText(*bpp) + "; give one depth"};
    const int depth = givesDepth ? choice.layout.bpp : bpp.value_or(1);
    if (depth == 1 && choice.layout.bpp == 1)
        return choice;
    switch (choice.kind) {
    case Kind::All:
        throw UsageError{std::string(named) + " writes the five arrangements, and 下半列排 and 上半列排 are pages " +
                         "layouts, which have one bit a dot; with " + bitsText(depth) +
                         " choose one layout: rows-msb (横排), columns-lsb (下上列排) or columns-msb (上下列排)"};
    case Kind::Arrangement: {
        hz::Layout layout = hz::arrangementLayout(choice.arrangement);
        layout.bpp = depth;
        if (!hz::hasGreyForm(layout))
            refuseOneBit(named,
                         std::string(hz::arrangementName(choice.arrangement)) + " (" +
                             hz::layoutName(hz::arrangementLayout(choice.arrangement)) + ")",
                         depth);
        return hz::LayoutChoice::of(layout);
    }
    case Kind::Layout:
        break;
    }
    hz::Layout layout = choice.layout;
    layout.bpp = depth;
    if (!hz::hasGreyForm(layout)) {
        hz::Layout oneBit = layout;
        oneBit.bpp = 1;
        refuseOneBit(named, hz::layoutName(oneBit), depth);
    }
    return hz::LayoutChoice::of(layout);
}

} // namespace hz::cmdline
