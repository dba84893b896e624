#pragma once
// A picture as the outputs take it: its dots and the C name it is written under, made from its file
// name.

#include "core/picture/dot_picture.h"

#include <string>
#include <string_view>

namespace hz {

struct PictureRecord {
    std::string name; // a C identifier: "logo", "battery_full"
    DotPicture dots;
    bool operator==(const PictureRecord&) const = default;
};

// The C identifier of a picture named by path: its file name without folder and last extension, each
// character outside [A-Za-z0-9_] replaced by "_" (a non-ASCII character by "u" and its code point in
// hex, "u56FE"), runs of "_" made one and none left at either end, with "pic_" in front of a leading
// digit; "picture" when nothing is left. "img/battery-full.png" -> "battery_full", "3g.bmp" -> "pic_3g".
std::string pictureName(std::string_view path);

} // namespace hz
