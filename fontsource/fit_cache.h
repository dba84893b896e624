#pragma once
// A font's fitted rule remembered between runs: fitting draws the whole GB2312 set, so a font seen
// before is placed from a small file under the user's cache folder ($XDG_CACHE_HOME or ~/.cache,
// then hzdot/). The file holds everything the rule was fitted from (the font file's path, size and
// modification time, the face, the cell size, the threshold, this program's and FreeType's
// versions); a file that does not match all of it, or does not read back whole, is not used.
// HZDOT_NO_CACHE=1 turns the cache off.

#include "fontsource/cell_fit.h"

#include <optional>
#include <string>

namespace hz::fontsource {

struct FontSpec;

// The folder the files go in; empty when the cache is off or there is no home to put it in.
std::string fitCacheFolder();

// The rule remembered for the font, if a file for it reads back whole and matches it.
std::optional<CellRule> loadFittedRule(const FontSpec& fontSpec);

// Remembers the rule, replacing any file for the font whole. A folder that cannot be written is no
// failure: the font is fitted again next time.
void storeFittedRule(const FontSpec& fontSpec, const CellRule& rule);

} // namespace hz::fontsource
