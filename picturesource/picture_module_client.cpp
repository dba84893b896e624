// decodePicture for a program that keeps GLib out of its start-up: the decoding is done by the
// picture module, loaded the first time a picture is read.
#include "picturesource/picture_decoder.h"

#include "core/system/program_module.h"

namespace hz::picturesource {

Result<RgbaImage, PictureProblem> decodePicture(std::span<const std::uint8_t> bytes, const std::string& name,
                                                std::optional<PictureSize> svgBox, const ReadLimits& limits) {
    const auto entry = loadModuleEntry(kPictureModuleFile, kPictureModuleEntry, HZDOT_VERSION);
    if (const auto* failure = std::get_if<ModuleFailure>(&entry))
        return PictureProblem{.kind = PictureProblemKind::NoPictureModule,
                              .file = name,
                              .detail = failure->fileName + " (looked for at " + failure->lookedIn + "): " +
                                        failure->detail};
    const auto* module = static_cast<const PictureModule*>(std::get<const void*>(entry));
    return module->decode(bytes, name, svgBox, limits);
}

} // namespace hz::picturesource
