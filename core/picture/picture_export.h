#pragma once
// Pictures in the export file's shapes (core/output/export_layout.h), one record a picture:
//
//   ;logo[64*32]pages-lsb CRLF  DB lines  CRLF          (per picture)
//   CRLF
//   {//logo[64*32]pages-lsb CRLF  C lines };  CRLF      (per picture)
//
// the size being width*height. An arrangement chosen by its number or Chinese name is named in
// Chinese, as for glyphs; "全部" writes the five arrangements one after another.

#include "core/layout/layout_presets.h"
#include "core/output/export_layout.h"
#include "core/picture/picture_record.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hz {

// The picture's bytes in one form (an arrangement is its layout, at the picture's depth).
std::vector<std::uint8_t> pictureBytes(const DotPicture& picture, const ExportForm& form);

// The export file's text (UTF-8, CR LF) for every picture, as exportAllText writes glyphs.
// Throws std::invalid_argument for a pages layout above one bit (check hasGreyForm first).
std::string pictureExportText(std::span<const PictureRecord> pictures, const LayoutChoice& choice);

// The raw bytes of every picture one after another, in the choice's forms, nothing else.
std::vector<std::uint8_t> pictureBinary(std::span<const PictureRecord> pictures, const LayoutChoice& choice);

} // namespace hz
