#include "core/library/font_library.h"

#include <stdexcept>

namespace hz {

const std::array<FontLibrary, kLibraryCount>& fontLibraries() {
    // The 12x12 library is read as 24-byte records but handled as a 16x16 cell of 32 bytes.
    static const std::array<FontLibrary, kLibraryCount> libraries{{
        {0, "12*12宋体", "hzk12宋", 24, 32, 16},
        {1, "16*16宋体", "hzk16宋", 32, 32, 16},
        {2, "16*16繁体", "hzk16繁", 32, 32, 16},
        {3, "24*24宋体", "hzk24宋", 72, 72, 24},
        {4, "24*24楷体", "hzk24楷", 72, 72, 24},
        {5, "24*24黑体", "hzk24黑", 72, 72, 24},
    }};
    return libraries;
}

const FontLibrary& fontLibrary(int position) {
    if (position < 0 || position >= kLibraryCount)
        throw std::out_of_range("font library position " + std::to_string(position) + " is not 0..5");
    return fontLibraries()[static_cast<std::size_t>(position)];
}

std::string libraryPath(std::string_view programDir, const FontLibrary& library) {
    std::string path(programDir);
    if (path.empty())
        path = ".";
    if (path.back() != '/')
        path += '/';
    path += library.fileName;
    return path;
}

bool hasHalfColumns(int position) {
    return fontLibrary(position).GlyphBytes == 32;
}

} // namespace hz
