#pragma once
// A library file of fixed-size records, open for reading through a window: neighbouring records of
// a text are read from memory, and the file is opened once for a whole text.

#include "core/system/result.h"
#include "core/system/unique_fd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

enum class LookupStatus : int; // glyph_reader.h

class RecordFile {
public:
    // Opens a regular file. FileUnreadable or NotAFile, with nothing open, for anything else; a pipe
    // is refused rather than waited on.
    Result<void> open(const std::string& path);
    bool isOpen() const { return file.valid(); }
    std::uint64_t size() const { return fileSize; }

    // Copies recordSize bytes at offset. RecordOutsideFile when the file (or what is left of it, if
    // it shrank since it was opened) ends first; LibraryMissing when reading fails.
    LookupStatus read(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out);

private:
    UniqueFd file;
    std::uint64_t fileSize = 0;
    std::vector<std::uint8_t> block;
    std::uint64_t blockStart = 0;
};

} // namespace hz
