#pragma once
// The decoding itself, by gdk-pixbuf: the one part of reading a picture that needs GLib. The window
// and the tests link it in; hzdot-cli loads it from the picture module (hzdot-pictures.so) the first
// time it reads a picture, so that its other commands start without GLib.

#include "core/picture/picture_dots.h"
#include "core/picture/picture_problem.h"
#include "core/picture/rgba_image.h"
#include "core/system/result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace hz::picturesource {

struct ReadLimits {
    std::int64_t maxFileBytes = 64LL << 20; // larger files are not read
    std::int64_t maxPixels = 16LL << 20;    // width * height of a raster picture as stored
    int maxSide = 16384;                    // either side of a raster picture as stored
};

// The picture in bytes, turned upright as a JPEG's EXIF orientation says; name stands for the file
// in problems. An SVG is rendered to fit inside svgBox keeping its aspect, or at its own size when
// svgBox is nothing.
Result<RgbaImage, PictureProblem> decodePicture(std::span<const std::uint8_t> bytes, const std::string& name,
                                                std::optional<PictureSize> svgBox, const ReadLimits& limits);

// The picture module's table, returned by its entry function hzdot_picture_module.
struct PictureModule {
    const char* version; // HzDot's version the module was built with
    Result<RgbaImage, PictureProblem> (*decode)(std::span<const std::uint8_t> bytes, const std::string& name,
                                                std::optional<PictureSize> svgBox, const ReadLimits& limits);
};

inline constexpr const char* kPictureModuleFile = "hzdot-pictures.so";
inline constexpr const char* kPictureModuleEntry = "hzdot_picture_module";

} // namespace hz::picturesource
