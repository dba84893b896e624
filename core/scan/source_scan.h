#pragma once
// Collecting the characters a firmware's texts need from its C and C++ sources, so that its font
// can hold exactly those.
//
// Taken: the characters inside string literals, with or without the u8, u, U and L prefixes,
// escaped quotes and adjacent literals included, \uXXXX and \UXXXXXXXX escapes decoded, and in C++
// files raw strings R"delim(...)delim" (all prefixes). Other escapes (\n, \x41, \101) stand for
// bytes, not for characters a user reads, and are not taken.
// Not taken: comments (// with its line splices, /* */), code outside literals, character
// literals ('中', u'中': a font's texts are strings; a lone character is usually a key or a
// separator), and the file name of #include "...".
//
// Each file is read as UTF-8 (a byte order mark is skipped) or, when it is not valid UTF-8, as code
// page 936. A file of neither is noted and skipped. Only characters beyond ASCII count, unless
// printable ASCII is asked for as well (for fonts with half-width characters); control characters
// never do.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

enum class SourceEncoding { Utf8, Cp936, Unreadable };

struct ScannedFile {
    std::filesystem::path path;
    SourceEncoding encoding = SourceEncoding::Utf8;
    std::size_t characters = 0; // distinct characters taken from this file
    std::string problem;        // why the file was skipped; empty when it was read
};

struct ScanResult {
    std::u32string characters;      // each once, by code point
    std::vector<ScannedFile> files; // in the order scanned
    std::string error;              // a path that does not exist or cannot be walked
    bool ok() const { return error.empty(); }
};

// "UTF-8", "code page 936", "unreadable".
const char* encodingName(SourceEncoding encoding);

// The characters of the literals in one text already decoded, in the order met (duplicates kept).
// cplusplus: raw strings are read; in C, R"..." is an identifier R before a string.
std::u32string literalCharacters(std::u32string_view source, bool cplusplus, bool ascii);

// Whether a file is one of the sources a folder is searched for: .c .h .cc .cpp .hpp .ino.
bool isSourceFile(const std::filesystem::path& path);

// Scans files and folders: a folder is searched recursively for source files, in sorted order; a
// file named directly is scanned whatever its extension (C for .c, C++ otherwise).
ScanResult scanSources(std::span<const std::filesystem::path> paths, bool ascii);

} // namespace hz
