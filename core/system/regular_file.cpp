#include "core/system/regular_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace hz {

Result<RegularFile> openRegularFile(const std::string& path) {
    // Reads of a regular file do not heed O_NONBLOCK; it only keeps the open from waiting.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        return Problem{.kind = ProblemKind::FileUnreadable, .file = path, .systemError = errno};
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return Problem{.kind = ProblemKind::FileUnreadable, .file = path, .systemError = errno};
    if (!S_ISREG(st.st_mode))
        return Problem{.kind = ProblemKind::NotAFile, .file = path, .systemError = S_ISDIR(st.st_mode) ? EISDIR : 0};
    return RegularFile{std::move(fd), static_cast<std::uint64_t>(st.st_size)};
}

} // namespace hz
