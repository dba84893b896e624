#pragma once
// An LVGL font as a C file: the bitmap, the glyph descriptors and the character map of an LvglFont
// with the font object `const lv_font_t NAME`, for LVGL 8 and 9. The file includes "lvgl.h" when the
// project defines LV_LVGL_H_INCLUDE_SIMPLE and "lvgl/lvgl.h" otherwise; LV_FONT_DECLARE(NAME)
// makes the font known to other files.

#include "core/output/lvgl_font.h"

#include <string>

namespace hz {

struct LvglCFileInput {
    std::string name;   // a valid C name (checkHeaderName)
    std::string source; // the source's description, for the opening comment
};

// Throws std::invalid_argument for an invalid name or a refused font.
std::string lvglCFile(const LvglFont& font, const LvglCFileInput& input);

} // namespace hz
