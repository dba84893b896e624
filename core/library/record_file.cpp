#include "core/library/record_file.h"

#include "core/library/glyph_reader.h"
#include "core/system/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace hz {

namespace {

// Reads up to length bytes at offset; returns how many came, short at the file's end or on an error
// (then error is set).
std::size_t readAt(int fd, std::uint8_t* out, std::size_t length, std::uint64_t offset, int& error) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace

Result<void> RecordFile::open(const std::string& path) {
    auto opened = openRegularFile(path);
    if (!opened)
        return opened.problem();
    file = std::move(opened->fd);
    fileSize = opened->size;
    contentsRead = false;
    readError = 0;
    kept.clear();
    return {};
}

void RecordFile::readContents() {
    contentsRead = true;
    kept.resize(static_cast<std::size_t>(std::min(fileSize, kMostKept)));
    // Short when the file shrank since it was opened: the records past its new end are outside it.
    kept.resize(readAt(file.get(), kept.data(), kept.size(), 0, readError));
    kept.shrink_to_fit();
}

LookupStatus RecordFile::read(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out) {
    // Written so that neither side can overflow, whatever the file's size.
    if (recordSize > fileSize || offset > fileSize - recordSize)
        return LookupStatus::RecordOutsideFile;
    if (!contentsRead)
        readContents();
    if (recordSize <= kept.size() && offset <= kept.size() - recordSize) {
        std::memcpy(out, kept.data() + offset, recordSize);
        return LookupStatus::Found;
    }
    if (kept.size() < std::min(fileSize, kMostKept)) // the file ended early: it shrank, or a read failed
        return readError ? LookupStatus::LibraryMissing : LookupStatus::RecordOutsideFile;
    return readBeyondKept(offset, recordSize, out);
}

LookupStatus RecordFile::readBeyondKept(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out) {
    int error = 0;
    if (readAt(file.get(), out, recordSize, offset, error) == recordSize)
        return LookupStatus::Found;
    std::memset(out, 0, recordSize);
    return error ? LookupStatus::LibraryMissing : LookupStatus::RecordOutsideFile;
}

} // namespace hz
