#include "core/text/code_point_text.h"

#include <cstdio>

namespace hz {

std::string codePointText(char32_t character) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
    return text;
}

} // namespace hz
