#include "core/library/record_file.h"

#include "core/library/glyph_reader.h"
#include "core/system/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hz {

Result<void> RecordFile::open(const std::string& path) {
    auto opened = openRegularFile(path);
    if (!opened)
        return opened.problem();
    file = std::move(opened->fd);
    fileSize = opened->size;
    block.clear();
    blockStart = 0;
    return {};
}

LookupStatus RecordFile::read(std::uint64_t offset, std::size_t recordSize, std::uint8_t* out) {
    // Written so that neither side can overflow, whatever the file's size.
    if (recordSize > fileSize || offset > fileSize - recordSize)
        return LookupStatus::RecordOutsideFile;
    if (offset < blockStart || offset + recordSize > blockStart + block.size()) {
        // The window holds every record that starts in its first kBlock bytes.
        constexpr std::uint64_t kBlock = 64 * 1024;
        const std::uint64_t start = offset / kBlock * kBlock;
        const std::uint64_t length = std::min<std::uint64_t>(kBlock + recordSize, fileSize - start);
        block.resize(static_cast<std::size_t>(length));
        std::size_t done = 0;
        int readError = 0;
        while (done < block.size()) {
            const ssize_t n =
                ::pread(file.get(), block.data() + done, block.size() - done, static_cast<off_t>(start + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                readError = errno;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        block.resize(done); // short when the file shrank since it was opened
        blockStart = start;
        if (offset + recordSize > blockStart + block.size())
            return readError ? LookupStatus::LibraryMissing : LookupStatus::RecordOutsideFile;
    }
    std::memcpy(out, block.data() + (offset - blockStart), recordSize);
    return LookupStatus::Found;
}

} // namespace hz
