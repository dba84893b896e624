#pragma once
// The fuzz input as a file the code under test can open by name, without touching the disk.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

class MemoryFile {
public:
    MemoryFile(const std::uint8_t* data, std::size_t size) : fd(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
        for (std::size_t done = 0; fd >= 0 && done < size;) {
            const ssize_t n = ::write(fd, data + done, size - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
    }
    ~MemoryFile() {
        if (fd >= 0)
            ::close(fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool valid() const { return fd >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }

private:
    int fd;
};
