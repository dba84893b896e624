#include "core/system/safe_writer.h"

#include "core/system/signal_cleanup.h"
#include "core/system/unique_fd.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace hz {

namespace {

int realOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

WriterCalls& calls() {
    static WriterCalls current = systemWriterCalls();
    return current;
}

Result<void> failure(const std::string& path, int error) {
    return Problem{.kind = ProblemKind::WriteFailed, .file = path, .systemError = error};
}

// Writes everything, or returns the errno of the first failing write.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = calls().write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether a link is a process's open descriptor: it lies in a /proc/<pid>/fd folder, whichever
// name led there (/dev/stdout, /dev/fd/3, /proc/self/fd/1).
bool isDescriptorLink(const std::string& link) {
    std::unique_ptr<char, decltype(&std::free)> folder(::realpath(folderOf(link).c_str(), nullptr), &std::free);
    if (!folder)
        return false;
    const std::string_view real(folder.get());
    return real.starts_with("/proc/") && real.ends_with("/fd");
}

// The path a chain of symbolic links ends at, whether or not that file exists yet; throughDescriptor
// tells whether the chain passed an open descriptor. Returns the errno on failure (ELOOP for a cycle).
int followLinks(std::string& path, bool& throughDescriptor) {
    throughDescriptor = false;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        throughDescriptor = throughDescriptor || isDescriptorLink(path);
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
        if (n < 0)
            return errno;
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        path = link.starts_with('/') ? link : folderOf(path) + "/" + link;
    }
    return ELOOP;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool protectedFile(const std::string& path, const struct stat& st) {
    const uid_t user = ::geteuid();
    if (st.st_uid == user)
        return (st.st_mode & S_IWUSR) == 0;
    if (user == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

// A name for a temporary file beside the target that no other file has yet; only the last six
// characters vary. A name near the length limit would not fit with the suffix; it need not be whole.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned long> counter{0};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned long seed = static_cast<unsigned long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         (static_cast<unsigned long>(::getpid()) << 20) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15UL);
    std::string name = folderOf(target) + "/." + nameOf(target).substr(0, 200) + ".";
    for (int i = 0; i < 6; ++i) {
        name += kLetters[seed % (sizeof kLetters - 1)];
        seed = seed / (sizeof kLetters - 1) + seed * 6364136223846793005UL;
    }
    return name;
}

std::string descriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

WriterCalls systemWriterCalls() {
    return WriterCalls{realOpen, ::write, ::fsync, ::close, ::rename, ::linkat, ::unlink};
}

WriterCalls setWriterCalls(const WriterCalls& replacement) {
    const WriterCalls before = calls();
    calls() = replacement;
    return before;
}

SafeFileWriter::~SafeFileWriter() {
    abandon();
}

void SafeFileWriter::abandon() {
    if (fd >= 0)
        calls().close(fd);
    fd = -1;
    if (!temporary.empty())
        calls().unlink(temporary.c_str());
    keepOnSignal(cleanupSlot);
    cleanupSlot = -1;
    temporary.clear();
    mode = Mode::Closed;
}

Result<void> SafeFileWriter::fail(int error) {
    abandon();
    return failure(path, error);
}

Result<void> SafeFileWriter::open(const std::string& outputPath) {
    abandon();
    path = outputPath;
    target = outputPath;
    replacing = false;
    if (path.empty())
        return failure(path, ENOENT);

    struct stat st {};
    fileMode = 0666 & ~currentUmask();
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return failure(path, EISDIR);
        bool throughDescriptor = false;
        if (S_ISREG(st.st_mode)) {
            // Replace the file a link points to, not the link.
            if (const int error = followLinks(target, throughDescriptor))
                return failure(path, error);
        }
        // Devices, FIFOs and the like cannot be replaced by a rename; they are written straight into.
        // So is a file reached through an open descriptor (/dev/stdout sent to a file), appended to
        // as the shell's ">>" would, so that what the descriptor's owner wrote there is kept.
        if (!S_ISREG(st.st_mode) || throughDescriptor) {
            fd = calls().open(path.c_str(), O_WRONLY | O_CLOEXEC | (throughDescriptor ? O_APPEND : 0), 0);
            if (fd < 0)
                return failure(path, errno);
            mode = Mode::InPlace;
            return {};
        }
        if (protectedFile(path, st))
            return Problem{.kind = ProblemKind::WriteProtected, .file = path};
        fileMode = st.st_mode & 07777;
        replacing = true;
    } else if (errno == ENOENT) {
        // Perhaps a link to a file not yet made: create the file it names.
        bool throughDescriptor = false;
        if (const int error = followLinks(target, throughDescriptor))
            return failure(path, error);
    } else {
        return failure(path, errno);
    }

    targetFolder = folderOf(target);
    // An unnamed file vanishes with the process however it ends. It is given its name through
    // /proc, so it is used only where /proc shows it.
    fd = calls().open(targetFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0 && ::access(descriptorPath(fd).c_str(), F_OK) == 0) {
        mode = Mode::Unnamed;
    } else {
        if (fd >= 0)
            calls().close(fd);
        for (int attempt = 0;; ++attempt) {
            temporary = temporaryName(target);
            fd = calls().open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0)
                break;
            const int error = errno;
            temporary.clear();
            if (error != EEXIST || attempt == 100)
                return failure(path, error);
        }
        mode = Mode::Named;
        cleanupSlot = removeOnSignal(temporary.c_str());
    }

    // Someone else's file keeps its owner where we may set it (as root). Where we may not, the new
    // file is ours; the data is what matters.
    if (replacing && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        (void)::fchown(fd, st.st_uid, st.st_gid);
    return {};
}

Result<void> SafeFileWriter::write(std::string_view bytes) {
    if (mode == Mode::Closed)
        return failure(path, EBADF);
    if (const int error = writeAll(fd, bytes))
        return fail(error);
    return {};
}

Result<void> SafeFileWriter::commit() {
    if (mode == Mode::Closed)
        return failure(path, EBADF);
    if (mode == Mode::InPlace) {
        const int closing = std::exchange(fd, -1);
        mode = Mode::Closed;
        if (calls().close(closing) != 0)
            return failure(path, errno);
        return {};
    }

    if (::fchmod(fd, fileMode) != 0 || calls().fsync(fd) != 0)
        return fail(errno);
    if (mode == Mode::Unnamed) {
        if (Result<void> linked = linkUnnamed(); !linked)
            return linked;
    } else {
        if (calls().close(std::exchange(fd, -1)) != 0)
            return fail(errno);
    }
    if (!temporary.empty() && calls().rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);
    // The temporary name is the target's now: nothing left to remove.
    temporary.clear();
    keepOnSignal(cleanupSlot);
    cleanupSlot = -1;
    mode = Mode::Closed;

    // Make the new name itself durable; a failure here no longer risks the data. Nothing from here
    // on allocates, so running out of memory cannot report as failed a file already in place.
    UniqueFd folder(calls().open(targetFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    if (folder.valid())
        calls().fsync(folder.get());
    return {};
}

// Gives the unnamed file a name: the target's own when there is no target yet, else a temporary
// name that commit() renames over the target. Closes the file.
Result<void> SafeFileWriter::linkUnnamed() {
    const std::string source = descriptorPath(fd);
    if (!replacing) {
        if (calls().linkat(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            if (calls().close(std::exchange(fd, -1)) != 0) {
                const int error = errno;
                calls().unlink(target.c_str());
                return fail(error);
            }
            return {};
        }
        // Made by someone else meanwhile: replace it as any existing file.
        if (errno != EEXIST)
            return fail(errno);
    }
    for (int attempt = 0;; ++attempt) {
        temporary = temporaryName(target);
        if (calls().linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0)
            break;
        const int error = errno;
        temporary.clear();
        if (error != EEXIST || attempt == 100)
            return fail(error);
    }
    // Named only for the moment until the rename.
    cleanupSlot = removeOnSignal(temporary.c_str());
    if (calls().close(std::exchange(fd, -1)) != 0)
        return fail(errno);
    return {};
}

bool writeProtected(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && protectedFile(path, st);
}

Result<void> writeFileSafely(const std::string& path, std::string_view bytes) {
    SafeFileWriter writer;
    if (Result<void> opened = writer.open(path); !opened)
        return opened;
    if (Result<void> written = writer.write(bytes); !written)
        return written;
    return writer.commit();
}

} // namespace hz
