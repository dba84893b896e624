// The picture module's one exported symbol.
#include "picturesource/picture_decoder.h"

namespace {

const hz::picturesource::PictureModule kModule{HZDOT_VERSION, &hz::picturesource::decodePicture};

} // namespace

extern "C" __attribute__((visibility("default"))) const void* hzdot_picture_module() {
    return &kModule;
}
