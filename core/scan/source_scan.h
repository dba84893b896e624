#pragma once
// Collecting the characters a firmware's texts need from its C and C++ sources, so that its font
// can hold exactly those.
//
// Taken: the characters inside string literals, with or without the u8, u, U and L prefixes,
// escaped quotes and adjacent literals included, and in C++ files raw strings R"delim(...)delim"
// (all prefixes), which end only at their own )delim". Escapes count as the characters they make:
// \uXXXX and \UXXXXXXXX, and \x41 or \101 for an ASCII character (in u, U and L strings any
// character); a \x or octal byte above 0x7F in a narrow string is part of a code we cannot know and
// is not taken.
// Not taken: comments (// with its line splices, /* */), code outside literals, character
// literals ('中', u'中': a font's texts are strings; a lone character is usually a key or a
// separator), and the file name of #include "...".
//
// Each literal is read on its own: as UTF-8 when its bytes are UTF-8, otherwise as code page 936
// when they are that, otherwise not at all; what lies outside literals never matters. Only
// characters beyond ASCII count, unless printable ASCII is asked for as well (for fonts with
// half-width characters); control characters never do.
//
// Files are read a megabyte at a time (nearly every source in one read), so memory does not grow
// with a file's size: only a literal that may have to be read again as code page 936 is held, up to
// a megabyte (a longer one on a single line is read as UTF-8 only). The files of a scan are read on
// every core, and what they hold is put together in their order, as if they had been read one by one.

#include "core/scan/literal_scan.h"
#include "core/system/result.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace hz {

// Whether a file is one of the sources a folder is searched for: .c .h .cc .cpp .hpp .ino.
bool isSourceFile(const std::filesystem::path& path);

struct ScannedFile {
    std::filesystem::path path;
    std::size_t characters = 0;    // distinct characters taken from this file
    std::size_t cp936Literals = 0; // literals read as code page 936
};

// Where a character was first met.
struct ScanPlace {
    std::size_t file = 0; // in ScanResult::files
    int line = 0;
};

struct ScanResult {
    std::u32string characters;      // each once, by code point
    std::vector<ScanPlace> places;  // beside characters
    std::vector<ScannedFile> files; // every file read, in the order scanned
    // In the order met: ScanLiteralCp936 for each literal read as code page 936 and
    // ScanLiteralUnreadable for each one read as neither (whose characters are not taken).
    std::vector<Problem> literals;
    std::size_t unreadableLiterals = 0;
};

// Scans files and folders: a folder is searched recursively for source files, in sorted order; a
// file named directly is scanned whatever its extension (C for .c, C++ otherwise). Any path that
// cannot be read or searched fails the whole scan: ScanPathMissing, ScanPathUnreadable,
// ScanFolderUnreadable, ScanNotAFile.
Result<ScanResult> scanSources(std::span<const std::filesystem::path> paths, bool ascii);

} // namespace hz
