#pragma once
// Building one library file from one font: every code of a character set, in code order.

#include "tools/mkfont/options.h"

#include <iosfwd>

namespace hz::mkfont {

// Writes the library named by the options, all or nothing, and reports on `out` what it did.
// Throws MkfontError for bad input; nothing is written then.
void buildLibrary(const Options& options, std::ostream& out);

} // namespace hz::mkfont
