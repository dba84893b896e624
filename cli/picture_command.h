#pragma once
// --image FILE...: pictures made into dots and written as the glyphs are: text (DB lines and C
// arrays), bin, a C header of pictures, or a preview panel alone or with a text.

#include "cli/cli_options.h"

#include "core/output/panel_picture.h"
#include "core/picture/picture_record.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hz::cli {

// Every picture of options.images made into dots, in order. When one cannot be read, each problem
// is said on standard error and nothing is returned.
std::optional<std::vector<hz::PictureRecord>> readPictures(const CliOptions& options);

// The pictures as panel glyphs in the layout.
std::vector<hz::EncodedGlyph> pictureGlyphs(std::span<const hz::PictureRecord> pictures, const hz::Layout& layout);

// Pictures only, no text: the whole run. Returns the exit status.
int runPictures(const CliOptions& options);

} // namespace hz::cli
