#pragma once
// The one kind of failure the font builder reports: bad input, named and explained. Font problems
// found by the font source arrive as the same type.

#include "fontsource/font_error.h"

namespace hz::mkfont {

// Carries a complete message for the user, e.g. "fonts/x.ttf: no such file".
using MkfontError = hz::fontsource::FontError;

} // namespace hz::mkfont
