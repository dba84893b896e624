#include "gui/imagewin/image_export.h"

#include "core/output/c_header.h"
#include "core/output/picture_header.h"
#include "core/picture/picture_export.h"
#include "core/system/safe_writer.h"
#include "core/system/same_file.h"
#include "core/text/codepage.h"
#include "gui/common/prompter.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <span>

namespace hz::gui {

namespace {

QString nameOf(const std::string& file) {
    return QFile::decodeName(QByteArray::fromStdString(file));
}

QString writeProblemText(const hz::Problem& problem) {
    if (problem.kind == hz::ProblemKind::WriteProtected)
        return QStringLiteral("该文件是只读文件，不能覆盖。");
    return QString::fromLocal8Bit(std::strerror(problem.systemError));
}

enum class FileKind { Text, Binary, Header };

FileKind kindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("bin"))
        return FileKind::Binary;
    if (suffix == QStringLiteral("h"))
        return FileKind::Header;
    return FileKind::Text;
}

} // namespace

ImageExport::ImageExport(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles)
    : prompter(prompter), parent(parent), readFiles(std::move(readFiles)) {}

void ImageExport::exportPicture(const hz::PictureRecord& picture, const hz::LayoutChoice& choice,
                                const std::string& pictureFile) {
    if (lastName.isEmpty())
        lastName = QString::fromStdString(picture.name) + QStringLiteral(".TXT");
    const QStringList filters{QStringLiteral(" 导出文件(*.TXT)"), QStringLiteral("C头文件(*.h)"),
                              QStringLiteral("二进制文件(*.bin)"), QStringLiteral("所有文件(*.*)")};
    const auto chosen = prompter.saveFileName(parent, lastName, filters);
    if (!chosen || chosen->isEmpty())
        return;
    lastName = *chosen;
    if (!mayWrite(*chosen, pictureFile))
        return;

    const std::span<const hz::PictureRecord> pictures(&picture, 1);
    if (kindOf(*chosen) == FileKind::Header) {
        if (const auto clash = hz::pictureHeaderClash(pictures)) {
            reportFailure(*chosen, QStringLiteral("图片名“%1”与C头文件自己的名字重复，请给图片文件改名后再导出。")
                                       .arg(QString::fromStdString(*clash)));
            return;
        }
    }
    std::string bytes;
    switch (kindOf(*chosen)) {
    case FileKind::Binary: {
        const std::vector<std::uint8_t> raw = hz::pictureBinary(pictures, choice);
        bytes.assign(raw.begin(), raw.end());
        break;
    }
    case FileKind::Header: {
        // Named as the main window names its headers: by the file, when that is a C name.
        const std::string baseName = QFileInfo(*chosen).completeBaseName().toStdString();
        const std::string name = hz::checkHeaderName(baseName) ? std::string("image") : baseName;
        // "全部" is five layouts; a header holds one, 横排's.
        bytes = hz::makePictureHeader({pictures, choice.layout, name});
        break;
    }
    case FileKind::Text: {
        auto text = hz::utf8ToCp936(hz::pictureExportText(pictures, choice));
        if (!text) {
            reportFailure(*chosen, QStringLiteral("字符“%1”在GB2312（代码页936）中没有编码，无法写入。")
                                       .arg(QString::fromStdString(text.problem().value)));
            return;
        }
        bytes = std::move(*text);
        break;
    }
    }
    if (auto written = hz::writeFileSafely(QFile::encodeName(*chosen).toStdString(), bytes); !written)
        reportFailure(*chosen, writeProblemText(written.problem()));
}

bool ImageExport::mayWrite(const QString& path, const std::string& pictureFile) {
    if (QFileInfo(path).isDir()) {
        reportFailure(path, QStringLiteral("这是一个文件夹，不是文件。"));
        return false;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    if (!pictureFile.empty() && hz::sameFileAs(file, std::span<const std::string>(&pictureFile, 1))) {
        reportFailure(path, QStringLiteral("这是正在取模的图片文件，导出会毁掉它。"));
        return false;
    }
    if (const auto library = hz::sameFileAs(file, readFiles)) {
        reportFailure(path, QStringLiteral("这是程序正在读取的字库文件（%1），导出会毁掉它。").arg(nameOf(*library)));
        return false;
    }
    if (hz::writeProtected(file)) {
        reportFailure(path, QStringLiteral("该文件是只读文件，不能覆盖。"));
        return false;
    }
    return !QFileInfo::exists(path) || prompter.question(parent, QStringLiteral("该文件已经存在是否覆盖？"));
}

void ImageExport::reportFailure(const QString& path, const QString& reason) {
    prompter.critical(parent, QStringLiteral("无法导出到文件“%1”。\n%2").arg(path, reason));
}

} // namespace hz::gui
