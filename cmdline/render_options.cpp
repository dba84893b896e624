#include "cmdline/render_options.h"

namespace hz::cmdline {

hz::fontsource::RenderRule parseRenderRule(const Argument& argument) {
    if (const auto rule = hz::fontsource::parseRenderRule(argument.value))
        return *rule;
    throw UsageError{argument.shown + ": " + inQuotes(argument.value) +
                     " is not a rendering rule; give default or classic (or, to compare, dropout, autohint or grey)"};
}

} // namespace hz::cmdline
