#pragma once
// --preview WxH: the text drawn on a panel of that many dots, as a PNG picture in -o FILE, each line
// of the input starting a new row.

#include "cli/cli_options.h"
#include "cli/glyph_pass.h"

#include "core/output/panel_picture.h"

#include <vector>

namespace hz::cli {

// Pictures (--image) drawn on the same panel, before and after the text, as glyphs of their own.
struct PreviewPictures {
    std::vector<hz::EncodedGlyph> before;
    std::vector<hz::EncodedGlyph> after;
};

// Returns the exit status.
int runPreview(const CliOptions& options, GlyphPass& pass, const InputText& input,
               const PreviewPictures& pictures = {});

// Pictures alone on the panel. Returns the exit status.
int runPicturePreview(const CliOptions& options, const std::vector<hz::EncodedGlyph>& pictures);

} // namespace hz::cli
