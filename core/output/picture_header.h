#pragma once
// A C header of pictures, each in one byte layout, ready to be #included in firmware (C99 or C++):
//
//   NAME_STORAGE           where the picture bytes are kept (between type and name); empty unless
//                          the firmware defines it first (PROGMEM, __code)
//   NAME_BPP               bits a dot
//   NAME_pic_WIDTH, NAME_pic_HEIGHT, NAME_pic_BYTES    for each picture "pic"
//   NAME_pic[]             uint8_t, its bytes in the layout, NAME_STORAGE
//   NAME_PICTURE_COUNT     how many pictures
//   NAME_picture           struct { const char *name; uint16_t width, height; const uint8_t *bytes; }
//   NAME_pictures[]        every picture in the order given (a plain const table: its pointers lead
//                          to NAME_STORAGE bytes, read as the firmware reads those)
//   NAME_picture_at(i)     the table's entry i, or NULL past the end
//
// Only C identifiers come from the user (the header's and the pictures' names), so nothing from a
// file name reaches the header.

#include "core/layout/layout.h"
#include "core/picture/picture_record.h"

#include <optional>
#include <span>
#include <string>

namespace hz {

struct PictureHeaderInput {
    std::span<const PictureRecord> pictures;
    Layout layout;
    std::string name; // passes checkHeaderName
};

// Nothing when every identifier the header declares is its own; otherwise the first that two
// pictures (or a picture and the table) would share, e.g. pictures "a" and "a_WIDTH" both declare
// NAME_a_WIDTH.
std::optional<std::string> pictureHeaderClash(std::span<const PictureRecord> pictures);

// UTF-8 (ASCII in fact), LF line ends. Throws std::invalid_argument for no picture, a bad name, a
// clash or a layout without a form at its depth.
std::string makePictureHeader(const PictureHeaderInput& input);

} // namespace hz
