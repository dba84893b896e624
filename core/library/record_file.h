#pragma once
// A library file of fixed-size records, open for reading. On the first read its contents are read
// into memory in one go (a library is at most a few hundred kilobytes), so that a long text costs one
// read of the file rather than one per character, and a file that changes or shrinks afterwards
// cannot disturb the records already taken.

#include "core/system/result.h"
#include "core/system/unique_fd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hz {

enum class LookupStatus : int; // glyph_reader.h

class RecordFile {
public:
    // The most bytes kept in memory: every record a GB2312 code can reach in the largest cell (a full
    // table of 94 x 94 records of 64 x 64 dots). A longer file is read this far; records beyond, which
    // no code reaches, are read one at a time.
    static constexpr std::uint64_t kMostKept = 94ULL * 94 * 512;

    // Opens a regular file. FileUnreadable or NotAFile, with nothing open, for anything else; a pipe
    // is refused rather than waited on. Nothing is read yet.
    Result<void> open(const std::string& path);
    bool isOpen() const { return file.valid(); }
    std::uint64_t size() const { return fileSize; }

    // Copies recordSize bytes at offset. RecordOutsideFile when the file ends first (or, if it shrank
    // before its first read, what was left of it); LibraryMissing when reading fails.
    LookupStatus read(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out);

private:
    void readContents();
    LookupStatus readBeyondKept(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out);

    UniqueFd file;
    std::uint64_t fileSize = 0;
    bool contentsRead = false;
    int readError = 0;              // errno of a read that failed part way, 0 if none
    std::vector<std::uint8_t> kept; // the file's first bytes, up to kMostKept
};

} // namespace hz
