#pragma once
// Where a program finds its library files and documents: beside itself (the build folder), or in the
// data folder of an installed copy, found relative to the program so that an install under DESTDIR
// or a moved tree works as well as the real prefix.
//
//   <prefix>/bin/hzdot-cli            the program's folder
//   <prefix>/share/hzdot/fonts/       the six library files
//   <prefix>/share/doc/hzdot/         README.md, and docs/arrangements.md, docs/export-format.md as
//                                     the README links them

#include <array>
#include <string>
#include <string_view>

namespace hz {

// The data folder of an installed copy, relative to the program's folder ("../share" by default).
std::string_view installedDataFromPrograms();
// The folder of hzdot-cli's modules in an installed copy, relative to the program's folder
// ("../lib/hzdot", or the multiarch library folder's hzdot/); see program_module.h.
std::string_view installedModulesFromPrograms();

// The folder to read the six library files from: the program's own folder when it holds any of them,
// otherwise the installed fonts folder when that does; the program's own folder when neither does, so
// that a message about a missing file names the first place looked in.
std::string libraryFolder(std::string_view programDir);

// Where libraryFolder looks, in its order: the program's own folder, then the installed fonts folder
// beside it ("<programDir>/../share/hzdot/fonts" with the ".." taken out by name, links not followed).
std::array<std::string, 2> libraryPlaces(std::string_view programDir);

// Whether the folder holds any of the six library files: where it does not, libraryFolder found
// none in either place, and a message about a missing library names both.
bool holdsAnyLibrary(std::string_view folder);

// The first copy of a document (e.g. "README.md", "arrangements.md"): beside the program, then in the
// installed documents folder; in each, at the top or in its docs/ folder. Empty when none exists.
std::string documentPath(std::string_view programDir, std::string_view fileName);

} // namespace hz
