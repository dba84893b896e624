#include "gui/fontchooser/font_library_file.h"

#include "core/layout/layout.h"
#include "core/library/font_library.h"
#include "gui/common/wait_cursor.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <memory>

namespace {

// Our 24-dot Song library tells every cell size apart; the 16-dot one stands in when it is missing.
constexpr int kReferencePositions[] = {3, 1};

std::unique_ptr<hz::LibrarySource> referenceLibrary(const std::string& libraryFolder) {
    for (int position : kReferencePositions) {
        auto library = std::make_unique<hz::LibrarySource>(libraryFolder, position, 0, 0);
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(library->path())));
        if (file.isFile() && file.isReadable())
            return library;
    }
    return nullptr;
}

QString hexRow(int row) {
    return QStringLiteral("0x%1").arg(QString::number(row, 16).toUpper());
}

} // namespace

LibraryFileProbe probeLibraryFile(const QString& path, const std::string& libraryFolder) {
    LibraryFileProbe probe;
    // The time and size come first: a file changed while it is probed is then probed again next time.
    const QFileInfo file(path);
    const qint64 size = file.size();
    const qint64 modified = file.lastModified().toMSecsSinceEpoch();

    const std::unique_ptr<hz::LibrarySource> reference = referenceLibrary(libraryFolder);
    if (!reference) {
        probe.error = QStringLiteral("识别点阵字库文件的格式需要程序文件夹（%1）中的 hzk24宋 或 hzk16宋。")
                          .arg(QFile::decodeName(QByteArray::fromStdString(libraryFolder)));
        return probe;
    }
    WaitCursor hourglass;
    const hz::ProbeResult result = hz::probeLibrary(QFile::encodeName(path).toStdString(), *reference);
    if (!result.ok()) {
        probe.error = QString::fromStdString(result.error);
        return probe;
    }
    probe.findings =
        LibraryFileFindings{result.geometry, result.records, result.trailingBytes, result.score, size, modified};
    return probe;
}

bool stillAsProbed(const QString& path, const LibraryFileFindings& findings) {
    const QFileInfo file(path);
    return file.isFile() && file.size() == findings.fileSize &&
           file.lastModified().toMSecsSinceEpoch() == findings.modifiedMs;
}

QString findingsText(const LibraryFileFindings& findings) {
    const hz::LibraryGeometry& g = findings.geometry;
    QStringList lines;
    lines << QStringLiteral("点阵：%1×%1，每字 %2 字节").arg(g.cell).arg(g.recordBytes());
    lines << QStringLiteral("首区：%1（%2）")
                 .arg(hexRow(g.firstRow), g.firstRow == 0xA1   ? QStringLiteral("含符号区")
                                          : g.firstRow == 0xB0 ? QStringLiteral("自汉字起")
                                                               : QStringLiteral("自该区起"));
    lines << QStringLiteral("字节排列：%1").arg(QString::fromStdString(hz::layoutName(g.recordLayout)));
    QString records = QStringLiteral("字数：%1").arg(findings.records);
    if (findings.trailingBytes > 0)
        records += QStringLiteral("（文件末尾另有 %1 字节）").arg(findings.trailingBytes);
    lines << records;
    lines << QStringLiteral("与本程序字库的吻合度：%1").arg(findings.score, 0, 'f', 3);
    return lines.join(QLatin1Char('\n'));
}

namespace {

// The endings of the font files FreeType reads, for the open-file dialog and to tell a font from a
// library file.
const QStringList& fontFileEndings() {
    static const QStringList endings{".ttf", ".ttc", ".otf", ".otc",  ".pcf",  ".pcf.gz",
                                     ".bdf", ".pfa", ".pfb", ".woff", ".woff2"};
    return endings;
}

} // namespace

bool namedAsFont(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    for (const QString& ending : fontFileEndings()) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString fontFileFilter() {
    QStringList patterns;
    for (const QString& ending : fontFileEndings())
        patterns << QLatin1Char('*') + ending;
    return QStringLiteral("字体文件 (%1)").arg(patterns.join(QLatin1Char(' ')));
}
