#pragma once
// Opening a file the program reads as a whole or in records: only a regular file will do.

#include "core/system/result.h"
#include "core/system/unique_fd.h"

#include <cstdint>
#include <string>

namespace hz {

struct RegularFile {
    UniqueFd fd;
    std::uint64_t size = 0;
};

// Opens path for reading if it is a regular file. It is opened without waiting, so that a FIFO with
// no writer is refused rather than waited for; a device could never end. Problems: FileUnreadable
// (file; systemError) and NotAFile (file; systemError EISDIR for a folder, 0 for a pipe, device or
// socket).
Result<RegularFile> openRegularFile(const std::string& path);

} // namespace hz
