#pragma once
// The fuzz input as a file the code under test can open by name, without touching the disk.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

class MemoryFile {
public:
    // An empty file.
    MemoryFile() : fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {}
    // A file holding the bytes.
    MemoryFile(const std::uint8_t* data, std::size_t size) : MemoryFile() {
        if (!writeAt(0, data, size))
            close();
    }
    ~MemoryFile() { close(); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool valid() const { return fd >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }

    std::uint64_t size() const {
        struct stat status {};
        return fd >= 0 && ::fstat(fd, &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    }

    // Sets the length; a longer file reads as zeros without taking memory for them.
    bool resize(std::uint64_t size) { return fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0; }

    bool writeAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
        for (std::size_t done = 0; done < size;) {
            if (fd < 0)
                return false;
            const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(offset + done));
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return fd >= 0;
    }

private:
    void close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    int fd;
};
