#include "picturesource/picture_reader.h"

#include "picturesource/picture_decoder.h"

#include "core/system/regular_file.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace hz::picturesource {

Result<RgbaImage, PictureProblem> readPictureBytes(std::span<const std::uint8_t> bytes, const std::string& name,
                                                   std::optional<PictureSize> svgBox, const ReadLimits& limits) {
    return decodePicture(bytes, name, svgBox, limits);
}

Result<RgbaImage, PictureProblem> readPicture(const std::string& path, std::optional<PictureSize> svgBox,
                                              const ReadLimits& limits) {
    auto opened = openRegularFile(path);
    if (!opened) {
        const Problem& problem = opened.problem();
        const auto kind =
            problem.kind == ProblemKind::NotAFile ? PictureProblemKind::NotAFile : PictureProblemKind::FileUnreadable;
        return PictureProblem{.kind = kind, .file = path, .systemError = problem.systemError};
    }
    if (opened->size > static_cast<std::uint64_t>(limits.maxFileBytes))
        return PictureProblem{.kind = PictureProblemKind::FileTooLarge,
                              .file = path,
                              .number = static_cast<std::int64_t>(opened->size),
                              .limit = limits.maxFileBytes};
    std::vector<std::uint8_t> bytes(opened->size);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(opened->fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return PictureProblem{.kind = PictureProblemKind::FileUnreadable, .file = path, .systemError = errno};
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return readPictureBytes(bytes, path, svgBox, limits);
}

Result<DotPicture, PictureProblem> readPictureDots(const std::string& path, const PictureSettings& settings,
                                                   const ReadLimits& limits) {
    auto picture = readPicture(path, settings.fit, limits);
    if (!picture)
        return picture.problem();
    auto dots = pictureDots(*picture, settings);
    if (!dots) {
        PictureProblem problem = dots.problem();
        problem.file = path;
        return problem;
    }
    return std::move(*dots);
}

} // namespace hz::picturesource
