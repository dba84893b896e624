#include "cli/picture_problem_text.h"

#include "core/picture/dot_picture.h"

#include <cstring>

namespace hz::cli {

namespace {

std::string quoted(const std::string& file) {
    return "\"" + file + "\"";
}

std::string size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

} // namespace

std::string pictureProblemText(const hz::PictureProblem& p) {
    const std::string picture = "picture " + quoted(p.file);
    switch (p.kind) {
    case hz::PictureProblemKind::FileUnreadable:
        return "cannot read " + picture + ": " + std::strerror(p.systemError);
    case hz::PictureProblemKind::NotAFile:
        return picture + " is not a file (a folder, pipe or device)";
    case hz::PictureProblemKind::FileTooLarge:
        return picture + " is " + std::to_string(p.number) + " bytes; pictures of more than " +
               std::to_string(p.limit) + " bytes are not read";
    case hz::PictureProblemKind::Empty:
        return picture + " is empty";
    case hz::PictureProblemKind::NotRecognised:
        return quoted(p.file) + " is not a PNG, BMP, JPEG, GIF or SVG picture";
    case hz::PictureProblemKind::Broken:
        return picture + " is damaged or cut short" + (p.detail.empty() ? "" : " (" + p.detail + ")");
    case hz::PictureProblemKind::SourceTooLarge:
        return picture + " is " + size(p.width, p.height) + " pixels; pictures of more than " +
               std::to_string(p.limit) + " pixels (or 16384 a side) are not decoded";
    case hz::PictureProblemKind::TooLargeForDots:
        return picture + " is " + size(p.width, p.height) + "; a picture has at most " +
               std::to_string(hz::DotPicture::kMaxSide) + " dots a side: give --fit WxH, e.g. --fit 128x64";
    case hz::PictureProblemKind::NoDecoder:
        return "cannot decode " + picture + ": the picture library has no " + p.detail +
               " loader (is gdk-pixbuf's package for it installed?)";
    case hz::PictureProblemKind::NoPictureModule:
        return "cannot decode " + picture + ": HzDot's picture module " + p.detail +
               " (is HzDot installed whole?)";
    }
    return picture + " cannot be read";
}

} // namespace hz::cli
