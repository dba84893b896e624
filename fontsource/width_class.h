#pragma once
// Which characters take a half-width cell: those East Asian Width calls narrow (Na) or half-width
// (H). Everything else, the ambiguous ones included (Greek, Cyrillic, "℃"), is full width, as
// Chinese fonts and the GB2312 libraries draw them.

#include "core/glyph/dot_cell.h"

namespace hz::fontsource {

hz::WidthClass widthClassOf(char32_t character);

} // namespace hz::fontsource
