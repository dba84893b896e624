// Picture reading on mutated PNG, BMP, JPEG, GIF and SVG files, as hzdot-cli and the window do it:
// the file is decoded (an SVG rendered to fit the box), then made into dots by a dither chosen by
// the first byte. A bad picture must be refused with a problem, never crash or allocate beyond the
// reader's limits.
//
// The limits are lowered so that a mutated header claiming a large picture costs little time; the
// refusal of a huge header itself is tested in tests/picture.

#include "core/picture/picture_dots.h"
#include "core/picture/picture_layout.h"
#include "picturesource/picture_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t choice = data[0];
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    const hz::PictureSize box{1 + (choice & 0x3F), 1 + (choice & 0x3F)};
    const hz::picturesource::ReadLimits limits{.maxFileBytes = 1 << 20, .maxPixels = 1 << 20, .maxSide = 4096};
    auto picture = hz::picturesource::readPictureBytes(file, "fuzz", box, limits);
    if (!picture)
        return 0;
    hz::PictureSettings settings;
    settings.fit = box;
    settings.dither = hz::kDithers[choice % hz::kDithers.size()];
    settings.depth = (choice & 0x40) ? 4 : 1;
    auto dots = hz::pictureDots(*picture, settings);
    if (dots) {
        hz::Layout layout;
        layout.bpp = settings.depth;
        (void)hz::encodePicture(*dots, layout);
    }
    return 0;
}
