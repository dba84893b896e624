#pragma once
// A picture's bytes in a byte layout, by the same rule as a glyph's (core/layout/layout.h) at any
// size up to 1024 x 1024 dots: a row of W dots takes ceil(W * bpp / 8) bytes, a column of H dots
// ceil(H * bpp / 8), a page band W bytes. The bytes equal encodeCell's for a picture of at most 64
// dots a side.

#include "core/layout/layout.h"
#include "core/picture/dot_picture.h"

#include <cstdint>
#include <span>
#include <vector>

namespace hz {

// encodedSize(layout, picture.width(), picture.height()) bytes. The picture is taken at the layout's
// depth as a DotCell is. Throws std::invalid_argument for a layout without a form at its depth.
std::vector<std::uint8_t> encodePicture(const DotPicture& picture, const Layout& layout);

// The inverse: the picture at the layout's depth whose bytes these are; missing bytes read as 0.
// Throws std::invalid_argument as encodePicture does and for a side outside 1..DotPicture::kMaxSide.
DotPicture decodePicture(std::span<const std::uint8_t> bytes, const Layout& layout, int width, int height);

// The picture at another depth, as DotCell::withDepth does it.
DotPicture pictureAtDepth(const DotPicture& picture, int depth);

} // namespace hz
