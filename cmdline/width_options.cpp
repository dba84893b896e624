#include "cmdline/width_options.h"

namespace hz::cmdline {

hz::fontsource::GlyphWidths parseGlyphWidths(const Argument& argument) {
    if (argument.value == "fixed")
        return hz::fontsource::GlyphWidths::Fixed;
    if (argument.value == "proportional")
        return hz::fontsource::GlyphWidths::Proportional;
    throw UsageError{argument.shown + ": " + inQuotes(argument.value) +
                     " is not a kind of cell width; give fixed or proportional"};
}

hz::fontsource::AmbiguousWidth parseAmbiguousWidth(const Argument& argument) {
    if (argument.value == "full")
        return hz::fontsource::AmbiguousWidth::Full;
    if (argument.value == "half")
        return hz::fontsource::AmbiguousWidth::Half;
    throw UsageError{argument.shown + ": " + inQuotes(argument.value) +
                     " is not a width for the ambiguous characters; give half or full"};
}

} // namespace hz::cmdline
