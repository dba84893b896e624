#include "mainwin/export_action.h"

#include "common/prompter.h"
#include "core/codepage.h"
#include "core/export_layout.h"
#include "core/safe_writer.h"
#include "core/same_file.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QString kOverwriteQuestion = QStringLiteral("该文件已经存在是否覆盖？");

// The first character of the text that code page 936 has no code for.
QString firstUnencodable(const std::string& utf8Text) {
    for (char32_t c : QString::fromStdString(utf8Text).toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!hz::utf8ToCp936(one.toStdString()))
            return one;
    }
    return {};
}
} // namespace

ExportAction::ExportAction(Prompter& prompter, QWidget* parent, std::vector<std::string> readFiles)
    : prompter(prompter), parent(parent), readFiles(std::move(readFiles)) {}

void ExportAction::exportAll(std::span<const hz::GlyphRecord> records, hz::Arrangement arrangement) {
    if (records.empty())
        return;
    if (const auto path = chooseFile())
        writeExport(*path, hz::exportAllText(records, arrangement));
}

void ExportAction::exportCurrent(const hz::GlyphRecord* current, hz::Arrangement arrangement) {
    if (!current)
        return;
    if (const auto path = chooseFile())
        writeExport(*path, hz::exportCurrentText(*current, arrangement));
}

std::optional<QString> ExportAction::chooseFile() {
    const QStringList filters{QStringLiteral(" 导出文件(*.TXT)"), QStringLiteral("所有文件(*.*)")};
    const auto chosen = prompter.saveFileName(parent, lastName, filters);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    // Offered again next time, even if this export goes no further.
    lastName = *chosen;
    if (QFileInfo(*chosen).isDir()) {
        reportFailure(*chosen, QStringLiteral("这是一个文件夹，不是文件。"));
        return std::nullopt;
    }
    const std::string file = QFile::encodeName(*chosen).toStdString();
    if (const auto library = hz::sameFileAs(file, readFiles)) {
        reportFailure(*chosen, QStringLiteral("这是程序正在读取的字库文件（%1），导出会毁掉它。")
                                   .arg(QFile::decodeName(QByteArray::fromStdString(*library))));
        return std::nullopt;
    }
    if (hz::writeProtected(file)) {
        reportFailure(*chosen, QStringLiteral("该文件是只读文件，不能覆盖。"));
        return std::nullopt;
    }
    if (QFileInfo::exists(*chosen) && !prompter.question(parent, kOverwriteQuestion))
        return std::nullopt;
    return chosen;
}

void ExportAction::writeExport(const QString& path, const std::string& utf8Text) {
    const auto bytes = hz::utf8ToCp936(utf8Text);
    if (!bytes) {
        reportFailure(
            path,
            QStringLiteral("字符“%1”在GB2312（代码页936）中没有编码，无法写入。").arg(firstUnencodable(utf8Text)));
        return;
    }

    const hz::WriteResult result = hz::writeFileSafely(QFile::encodeName(path).toStdString(), *bytes);
    if (!result)
        reportFailure(path, QString::fromStdString(result.error));
}

void ExportAction::reportFailure(const QString& path, const QString& reason) {
    prompter.critical(parent, QStringLiteral("无法导出到文件“%1”。\n%2").arg(path, reason));
}
