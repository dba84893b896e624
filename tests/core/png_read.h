#pragma once
// Preview pictures read back with libpng, a decoder that is not ours.

#include "core/output/panel_picture.h"

#include <png.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace hz {

inline RgbImage readPng(const std::string& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
        throw std::runtime_error(image.message);
    image.format = PNG_FORMAT_RGB;
    RgbImage out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    return out;
}

} // namespace hz
