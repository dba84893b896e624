#include "gui/imagewin/picture_problem_text.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cerrno>
#include <cstring>

namespace hz::gui {

namespace {

QString fileOf(const hz::PictureProblem& problem) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(problem.file))).fileName();
}

QString megabytes(std::int64_t bytes) {
    return QLocale::c().toString(static_cast<double>(bytes) / (1 << 20), 'f', 1) + QStringLiteral(" MB");
}

// Why the system would not open a file, in Chinese for the usual reasons; the system's own words
// for the rest.
QString systemReason(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("文件不存在。");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有读取这个文件的权限。");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// The decoder's own (English) words, when it gave any, for a report of the fault.
QString withDetail(const QString& text, const hz::PictureProblem& problem) {
    if (problem.detail.empty())
        return text;
    return text + QStringLiteral("\n（%1）").arg(QString::fromStdString(problem.detail));
}

} // namespace

QString pictureProblemText(const hz::PictureProblem& problem) {
    const QString file = fileOf(problem);
    switch (problem.kind) {
    case hz::PictureProblemKind::FileUnreadable:
        return QStringLiteral("无法读取图片“%1”：%2").arg(file, systemReason(problem.systemError));
    case hz::PictureProblemKind::NotAFile:
        return QStringLiteral("“%1”不是文件（是文件夹或设备），不能当作图片打开。").arg(file);
    case hz::PictureProblemKind::FileTooLarge:
        return QStringLiteral("图片文件“%1”太大（%2），最多读取 %3 的文件。")
            .arg(file, megabytes(problem.number), megabytes(problem.limit));
    case hz::PictureProblemKind::Empty:
        return QStringLiteral("图片文件“%1”是空的。").arg(file);
    case hz::PictureProblemKind::NotRecognised:
        return withDetail(QStringLiteral("“%1”不是能识别的图片（可用PNG、BMP、JPEG、GIF或SVG）。").arg(file), problem);
    case hz::PictureProblemKind::Broken:
        return withDetail(QStringLiteral("图片“%1”已损坏或不完整，无法解码。").arg(file), problem);
    case hz::PictureProblemKind::SourceTooLarge:
        return QStringLiteral("图片“%1”太大（%2×%3像素），超过可以解码的 %4 像素，没有读取。")
            .arg(file)
            .arg(problem.width)
            .arg(problem.height)
            .arg(problem.limit);
    case hz::PictureProblemKind::TooLargeForDots:
        return QStringLiteral("图片“%1”取模后为 %2×%3点，每边最多 %4 点，请减小宽度或高度。")
            .arg(file)
            .arg(problem.width)
            .arg(problem.height)
            .arg(problem.limit);
    case hz::PictureProblemKind::NoDecoder:
        return withDetail(QStringLiteral("系统缺少解码图片“%1”所需的组件。").arg(file), problem);
    case hz::PictureProblemKind::NoPictureModule:
        return withDetail(QStringLiteral("HzDot 的图片模块无法载入，不能解码图片“%1”。").arg(file), problem);
    }
    return withDetail(QStringLiteral("无法打开图片“%1”。").arg(file), problem);
}

} // namespace hz::gui
