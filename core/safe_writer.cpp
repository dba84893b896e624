#include "core/safe_writer.h"

#include "core/unique_fd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace hz {

namespace {

WriteResult failure(const std::string& path, int error) {
    return WriteResult{false, path + ": " + std::strerror(error)};
}

// Writes everything, or returns the errno of the first failing write.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
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

// Devices, FIFOs and the like cannot be replaced by a rename; they are written straight into. So is
// a file reached through an open descriptor (/dev/stdout sent to a file), appended to as the shell's
// ">>" would, so that what the descriptor's owner wrote there is kept.
WriteResult writeInPlace(const std::string& path, std::string_view bytes, bool append) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | (append ? O_APPEND : 0)));
    if (!fd.valid())
        return failure(path, errno);
    if (const int error = writeAll(fd.get(), bytes))
        return failure(path, error);
    if (::close(fd.release()) != 0)
        return failure(path, errno);
    return {};
}

} // namespace

WriteResult writeFileSafely(const std::string& path, std::string_view bytes) {
    if (path.empty())
        return failure("\"\"", ENOENT);

    struct stat st {};
    std::string target = path;
    mode_t mode = 0666 & ~currentUmask();
    bool replacing = false;
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return failure(path, EISDIR);
        if (!S_ISREG(st.st_mode))
            return writeInPlace(path, bytes, false);
        // Replace the file a link points to, not the link; keep the file's permission bits.
        bool throughDescriptor = false;
        if (const int error = followLinks(target, throughDescriptor))
            return failure(path, error);
        if (throughDescriptor)
            return writeInPlace(path, bytes, true);
        mode = st.st_mode & 07777;
        replacing = true;
    } else if (errno == ENOENT) {
        // Perhaps a link to a file not yet made: create the file it names.
        bool throughDescriptor = false;
        if (const int error = followLinks(target, throughDescriptor))
            return failure(path, error);
    } else {
        return failure(path, errno);
    }

    // A name near the length limit would not fit with the suffix; the temporary name need not be whole.
    std::string temporary = folderOf(target) + "/." + nameOf(target).substr(0, 200) + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd.valid())
        return failure(path, errno);

    // Someone else's file keeps its owner where we may set it (as root). Where we may not, the new
    // file is ours; the data is what matters.
    bool ownerKept = true;
    if (replacing && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
        ownerKept = ::fchown(fd.get(), st.st_uid, st.st_gid) == 0;
    (void)ownerKept;
    int error = writeAll(fd.get(), bytes);
    if (!error && ::fchmod(fd.get(), mode) != 0)
        error = errno;
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    if (!error && ::close(fd.release()) != 0)
        error = errno;
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        fd.reset();
        ::unlink(temporary.c_str());
        return failure(path, error);
    }

    // Make the rename itself durable; a failure here no longer risks the data.
    UniqueFd folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    return {};
}

} // namespace hz
