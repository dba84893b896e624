#pragma once
// Reading pictures: PNG, BMP, JPEG, GIF (its first frame) and SVG, decoded by gdk-pixbuf and its
// loaders (SVG by librsvg's), never by code of our own. The size is learnt from the file's header
// before any pixel is allocated, and a picture above the limits is refused then: a 20000 x 20000
// PNG costs nothing but its header.

#include "picturesource/picture_decoder.h"

#include <string>

namespace hz::picturesource {

// The picture in path, turned upright as a JPEG's EXIF orientation says. An SVG has no pixels of its own: it is rendered to fit inside svgBox keeping
// its aspect (so an icon stays sharp at any size), or at its own size when svgBox is nothing.
Result<RgbaImage, PictureProblem> readPicture(const std::string& path, std::optional<PictureSize> svgBox = {},
                                              const ReadLimits& limits = {});

// The same from bytes already in memory; name stands for the file in problems.
Result<RgbaImage, PictureProblem> readPictureBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                                                   std::optional<PictureSize> svgBox = {},
                                                   const ReadLimits& limits = {});

// Read and made into dots in one step: an SVG rendered at the fitted size itself, a raster picture
// scaled by pictureDots.
Result<DotPicture, PictureProblem> readPictureDots(const std::string& path, const PictureSettings& settings,
                                                   const ReadLimits& limits = {});

} // namespace hz::picturesource
