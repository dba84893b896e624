#pragma once
// Writing a whole file or nothing.

#include <string>
#include <string_view>
#include <sys/types.h>

namespace hz {

struct WriteResult {
    bool ok = true;
    std::string error; // what went wrong, naming the file, when !ok
    explicit operator bool() const { return ok; }
};

// Writes bytes to a temporary file in the target's folder, flushes it to disk and puts it in the
// target's place. On any failure the target (an existing file included) is unchanged and the
// temporary file is gone. A write-protected target is refused.
WriteResult writeFileSafely(const std::string& path, std::string_view bytes);

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

    WriteResult open(const std::string& path);
    WriteResult write(std::string_view bytes);
    WriteResult commit();

private:
    enum class Mode { Closed, Unnamed, Named, InPlace };

    WriteResult fail(int error);
    void abandon();
    WriteResult linkUnnamed();

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
