#pragma once
// Writing a whole file or nothing.

#include "core/system/result.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace hz {

// Writes bytes to a temporary file in the target's folder, flushes it to disk and puts it in the
// target's place. On any failure the target (an existing file included) is unchanged and the
// temporary file is gone. A write-protected target is refused (WriteProtected); any other failure
// is WriteFailed with the path as the caller gave it and the system's errno.
Result<void> writeFileSafely(const std::string& path, std::string_view bytes);

// Whether path is an existing file the writer refuses to replace: one its owner has made
// read-only, as cp without -f would not replace it. For root, a file without any write permission.
bool writeProtected(const std::string& path);

// The same, for output that comes in pieces: open(), write() as often as needed, commit(). Until
// commit() succeeds the target is untouched; a writer destroyed without commit() leaves no trace.
// The temporary file has no name where the file system allows (so not even SIGKILL leaves it
// behind); where it needs a name, SIGINT, SIGTERM and SIGHUP remove it before the process ends.
class SafeFileWriter {
public:
    SafeFileWriter() = default;
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    Result<void> open(const std::string& path);
    Result<void> write(std::string_view bytes);
    Result<void> commit();

private:
    enum class Mode { Closed, Unnamed, Named, InPlace };

    Result<void> fail(int error);
    void abandon();
    Result<void> linkUnnamed();

    Mode mode = Mode::Closed;
    int fd = -1;
    int cleanupSlot = -1; // the named temporary file's place in the signal cleanup list
    std::string path;     // as the caller gave it, for messages
    std::string target;   // the file to replace, links followed
    std::string targetFolder;
    std::string temporary;  // the named temporary file
    bool replacing = false; // the target exists
    mode_t fileMode = 0;
};

// The system calls the writer makes. Tests swap them to make each one fail.
struct WriterCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*linkat)(int fromDir, const char* from, int toDir, const char* to, int flags);
    int (*unlink)(const char* path);
};

// The real calls.
WriterCalls systemWriterCalls();
// Makes the writer use calls; returns the ones used before.
WriterCalls setWriterCalls(const WriterCalls& calls);

} // namespace hz
