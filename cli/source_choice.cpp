#include "cli/source_choice.h"

#include "core/font_library.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace hzcli {
namespace {

// The library is checked once here rather than refusing every character with the same message.
std::optional<std::string> checkLibrary(const std::string& path) {
    const std::string hint = " (--fonts DIR names the folder of the library files)";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "library file not found: " + path + hint;
        return "cannot read library file " + path + ": " + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode))
        return "library file " + path + " is not a regular file" + hint;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "cannot read library file " + path + ": " + std::strerror(errno);
    std::fclose(file);
    return std::nullopt;
}

} // namespace

std::shared_ptr<hz::GlyphSource> openSource(const CliOptions& options, const std::string& programDir,
                                            std::string& error) {
    const std::string fontsDir = options.fontsDir.value_or(programDir);
    auto library = std::make_shared<hz::LibrarySource>(fontsDir, options.library, options.spaceX, options.spaceY);
    if (auto problem = checkLibrary(library->path())) {
        error = *problem;
        return nullptr;
    }
    return library;
}

} // namespace hzcli
