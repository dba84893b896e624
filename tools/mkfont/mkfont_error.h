#pragma once
// The font builder's failures past its command line: a font, an output path or a table that cannot
// be used, named and explained. Font problems found by the font source arrive as the same type;
// a bad command line is a hz::cmdline::UsageError instead.

#include "fontsource/font_error.h"

namespace hz::mkfont {

// Carries a complete message for the user, e.g. "fonts/x.ttf: no such file".
using MkfontError = hz::fontsource::FontError;

} // namespace hz::mkfont
