#pragma once
// The program's own modules: the parts that need large libraries (pictures need GLib and gdk-pixbuf,
// fonts FreeType and fontconfig) are built as modules apart from hzdot-cli, so that a command that
// never reads a picture or draws from a font does not pay for loading those libraries at start-up. A module is looked for beside the program (the
// build folder), then in the installed modules folder, found relative to the program as the data
// folder is:
//
//   <prefix>/bin/hzdot-cli
//   <prefix>/lib/<multiarch>/hzdot/hzdot-pictures.so, hzdot-fonts.so
//
// Each module has one entry point, a function of no arguments returning a table whose first member
// is the version of HzDot it was built with; a module of another version is refused rather than
// called, since the tables of two versions need not agree.

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace hz {

// Where a module is looked for, in order: beside the program, then in the installed modules folder.
std::array<std::string, 2> modulePlaces(std::string_view programDir, std::string_view fileName);

struct ModuleFailure {
    std::string fileName;   // "hzdot-pictures.so"
    std::string lookedIn;   // the places tried, joined by " and "
    std::string detail;     // the loader's own words, or what was wrong with the module
};

// Loads the module (once per process; later calls return the same entry) and calls its entry
// function: its table, or why there is none. version is the version the table must carry.
std::variant<const void*, ModuleFailure> loadModuleEntry(std::string_view fileName, const char* entryName,
                                                         std::string_view version);

// The folder of the running program, from /proc/self/exe.
std::string runningProgramFolder();

} // namespace hz
