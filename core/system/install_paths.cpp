#include "core/system/install_paths.h"

#include "core/library/font_library.h"

#include <filesystem>
#include <system_error>

#ifndef HZDOT_DATA_FROM_BIN
#define HZDOT_DATA_FROM_BIN "../share"
#endif
#ifndef HZDOT_MODULES_FROM_BIN
#define HZDOT_MODULES_FROM_BIN "../lib/hzdot"
#endif

namespace hz {

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

fs::path installedFolder(std::string_view programDir, std::string_view below) {
    // Kept as written (not made canonical): a link or a moved tree resolves the same way.
    return fs::path(programDir) / fs::path(installedDataFromPrograms()) / fs::path(below);
}

} // namespace

std::string_view installedDataFromPrograms() {
    return HZDOT_DATA_FROM_BIN;
}

std::string_view installedModulesFromPrograms() {
    return HZDOT_MODULES_FROM_BIN;
}

bool holdsAnyLibrary(std::string_view folder) {
    for (const FontLibrary& library : fontLibraries())
        if (isFile(fs::path(folder) / std::string(library.fileName)))
            return true;
    return false;
}

std::array<std::string, 2> libraryPlaces(std::string_view programDir) {
    return {std::string(programDir), installedFolder(programDir, "hzdot/fonts").lexically_normal().string()};
}

std::string libraryFolder(std::string_view programDir) {
    for (const std::string& place : libraryPlaces(programDir))
        if (holdsAnyLibrary(place))
            return place;
    return std::string(programDir);
}

std::string documentPath(std::string_view programDir, std::string_view fileName) {
    const fs::path name{std::string(fileName)};
    // The build folder keeps the documents beside the programs; an install keeps the repository's
    // shape, so that the README's links to docs/ work where it is installed.
    for (const fs::path& folder : {fs::path(programDir), installedFolder(programDir, "doc/hzdot").lexically_normal()})
        for (const fs::path& path : {folder / name, folder / "docs" / name})
            if (isFile(path))
                return path.string();
    return {};
}

} // namespace hz
