#include "gui/help/document_links.h"

#include "core/system/install_paths.h"
#include "gui/common/prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace hz::gui {

namespace {

struct DocumentNames {
    QString fileName;
    QString title;
};

DocumentNames namesOf(Document document) {
    switch (document) {
    case Document::Readme:
        return {QStringLiteral("README.md"), QStringLiteral("程序说明（README.md）")};
    case Document::Arrangements:
        return {QStringLiteral("arrangements.md"), QStringLiteral("五种排列的用法")};
    case Document::ExportFormat:
        return {QStringLiteral("export-format.md"), QStringLiteral("导出文件的格式")};
    }
    return {};
}

} // namespace

QString documentFileName(Document document) {
    return namesOf(document).fileName;
}

QString documentTitle(Document document) {
    return namesOf(document).title;
}

void openDocument(QWidget* parent, const QString& programDir, Document document, Prompter& prompter) {
    const QString name = documentFileName(document);
    const QString path = QString::fromStdString(hz::documentPath(programDir.toStdString(), name.toStdString()));
    if (path.isEmpty()) {
        prompter.critical(parent,
                          QStringLiteral("找不到说明文件 %1：程序所在的文件夹和安装的文档文件夹里都没有。").arg(name));
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (prompter.openUrl(QUrl::fromLocalFile(absolute)))
        return;
    // No program on this desktop takes the file: show the text ourselves rather than nothing.
    QFile file(absolute);
    if (!file.open(QIODevice::ReadOnly)) {
        prompter.critical(parent, QStringLiteral("无法读取说明文件 %1：%2").arg(absolute, file.errorString()));
        return;
    }
    prompter.showDocument(parent, documentTitle(document), QString::fromUtf8(file.readAll()));
}

} // namespace hz::gui
