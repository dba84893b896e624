#include "cli/source_choice.h"
#include "core/library/library_source.h"

#include "cli/problem_text.h"
#include "core/library/font_library.h"
#include "core/library/library_probe.h"
#include "core/library/user_library.h"
#include "core/system/install_paths.h"
#include "fontsource/module_font.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace hz::cli {
namespace {

// The library is checked once here rather than refusing every character with the same message.
// notFound is what to say when there is no such file.
std::optional<std::string> checkLibrary(const std::string& path, const std::string& notFound) {
    const std::string hint = " (--fonts DIR names the folder of the library files)";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return notFound;
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

// A library missing from its folder. When the folder is the default one and neither place the
// program looks in holds any library, both are named: a copy of the program alone looked in each.
std::string libraryNotFound(const CliOptions& options, const std::string& folder) {
    const hz::FontLibrary& wanted = hz::fontLibrary(options.library);
    if (options.fontsDir || hz::holdsAnyLibrary(folder))
        return "library file not found: " + hz::libraryPath(folder, wanted) +
               " (--fonts DIR names the folder of the library files)";
    const auto places = hz::libraryPlaces(folder);
    return "library file not found: " + hz::libraryPath(places[0], wanted) + ", nor " +
           hz::libraryPath(places[1], wanted) +
           " (no library files beside the program nor in its installed fonts folder; --fonts DIR names the folder "
           "of the library files)";
}

} // namespace

LibraryProbe probeUserLibrary(const CliOptions& options, const std::string& programDir) {
    LibraryProbe probe;
    hz::ProbeHints hints{options.cell, options.firstRow, options.recordLayout};
    if (hints.cell && hints.firstRow && hints.recordLayout) {
        // Everything given: nothing to find and no reference needed, but the file is still read and
        // checked, so that a folder or an unreadable file is refused once rather than per character.
        auto taken = hz::takeGivenGeometry(*options.libraryFile, {*hints.cell, *hints.firstRow, *hints.recordLayout});
        if (taken)
            probe.result = std::move(*taken);
        else
            probe.error = problemText(taken.problem().problem);
        return probe;
    }
    const std::string fontsDir = options.fontsDir.value_or(programDir);
    auto reference = hz::probeReference(fontsDir);
    if (!reference) {
        const auto places = hz::libraryPlaces(fontsDir);
        const std::string where = !options.fontsDir && !hz::holdsAnyLibrary(fontsDir)
                                      ? places[0] + " (beside the program) or in " + places[1]
                                      : fontsDir;
        probe.error = "finding the layout of " + *options.libraryFile + " needs hzk24宋 or hzk16宋 in " + where +
                      "; or give --cell N, --first-row 0xA1|0xB0 and --record-layout L";
        return probe;
    }
    auto found = hz::probeLibrary(*options.libraryFile, **reference, hints);
    if (found)
        probe.result = std::move(*found);
    else
        probe.error = problemText(found.problem());
    return probe;
}

std::shared_ptr<hz::GlyphSource> openSource(const CliOptions& options, const std::string& programDir,
                                            std::string& error) {
    if (options.libraryFile) {
        LibraryProbe probe = probeUserLibrary(options, programDir);
        if (probe.error) {
            error = *probe.error;
            return nullptr;
        }
        if (options.verbose)
            std::fprintf(stderr, "hzdot-cli: %s", hz::probeReport(probe.result).c_str());
        return std::make_shared<hz::UserLibrarySource>(*options.libraryFile, probe.result.geometry);
    }
    if (options.fontFile) {
        hz::fontsource::FontSpec fontSpec{*options.fontFile,
                                          options.face,
                                          *options.size,
                                          options.threshold,
                                          options.widths.value_or(hz::fontsource::GlyphWidths::Fixed),
                                          options.ambiguous.value_or(hz::fontsource::AmbiguousWidth::Full),
                                          options.layout.layout.bpp,
                                          options.render.value_or(hz::fontsource::RenderRule::KeepStrokes)};
        auto font = hz::fontsource::ModuleFont::open(fontSpec);
        if (!font) {
            error = problemText(font.problem());
            return nullptr;
        }
        return std::shared_ptr<hz::GlyphSource>(std::move(*font));
    }
    const std::string fontsDir = options.fontsDir.value_or(programDir);
    auto library = std::make_shared<hz::LibrarySource>(fontsDir, options.library, options.spaceX, options.spaceY);
    if (auto problem = checkLibrary(library->path(), libraryNotFound(options, fontsDir))) {
        error = *problem;
        return nullptr;
    }
    return library;
}

} // namespace hz::cli
