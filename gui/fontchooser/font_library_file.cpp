#include "gui/fontchooser/font_library_file.h"

#include "core/layout/layout.h"
#include "core/library/library_probe.h"
#include "gui/common/wait_cursor.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

namespace hz::gui {

namespace {

QString hexRow(int row) {
    return QStringLiteral("0x%1").arg(QString::number(row, 16).toUpper());
}

QString fileText(const std::string& file) {
    return QFile::decodeName(QByteArray::fromStdString(file));
}

// What the command line takes for what the probe could not find; the window has no such fields.
const QString kByHand =
    QStringLiteral("（可用 hzdot-cli --library 加上 --cell N、--first-row 0xA1|0xB0 和 --record-layout L 读取该文件）");

// Why the file cannot be read as a library, in the window's words.
QString probeProblemText(const hz::ProbeFailure& failure) {
    const hz::Problem& problem = failure.problem;
    const QString file = fileText(problem.file);
    using Kind = hz::ProblemKind;
    switch (problem.kind) {
    case Kind::FileUnreadable:
        return QStringLiteral("无法读取 %1（%2）")
            .arg(file, QString::fromLocal8Bit(std::strerror(problem.systemError)));
    case Kind::NotAFile:
        return QStringLiteral("%1 不是文件").arg(file);
    case Kind::ReferenceTooFewGlyphs:
        return QStringLiteral("用来比对的本程序字库（%1）缺少识别所用的常用字")
            .arg(QString::fromStdString(problem.value));
    case Kind::NoPlausibleCell:
        return QStringLiteral("%1（%2 字节）的大小不合 8 到 64 点中任何一种点阵的字数\n%3")
            .arg(file)
            .arg(problem.fileSize)
            .arg(kByHand);
    case Kind::TooFewRecords:
        return QStringLiteral("%1（%2 字节）所含的 %3×%3 点阵字太少，容不下识别所用的常用字\n%4")
            .arg(file)
            .arg(problem.fileSize)
            .arg(problem.number)
            .arg(kByHand);
    case Kind::NoWholeRecord:
        return QStringLiteral("%1（%2 字节）连一个 %3 字节的点阵也容不下")
            .arg(file)
            .arg(problem.fileSize)
            .arg(problem.number);
    case Kind::LayoutUnclear: {
        QStringList lines{QStringLiteral("看不出 %1 的格式，试过的格式（最像的在前）：").arg(file)};
        for (std::size_t i = 0; i < failure.tried.size() && i < 8; ++i) {
            const hz::ProbeCandidate& c = failure.tried[i];
            lines << QStringLiteral("  点阵 %1，首区 %2，%3：吻合度 %4")
                         .arg(c.geometry.cell)
                         .arg(hexRow(c.geometry.firstRow),
                              QString::fromStdString(hz::layoutName(c.geometry.recordLayout)))
                         .arg(c.score, 0, 'f', 3);
        }
        lines << kByHand;
        return lines.join(QLatin1Char('\n'));
    }
    default:
        // Hints out of range and the rest: the window gives no hints, so these do not come up here.
        return QStringLiteral("无法识别 %1").arg(file);
    }
}

} // namespace

LibraryFileProbe probeLibraryFile(const QString& path, const std::string& libraryFolder) {
    LibraryFileProbe probe;
    // The time and size come first: a file changed while it is probed is then probed again next time.
    const QFileInfo file(path);
    const qint64 size = file.size();
    const qint64 modified = file.lastModified().toMSecsSinceEpoch();

    const auto reference = hz::probeReference(libraryFolder);
    if (!reference) {
        probe.error = QStringLiteral("识别点阵字库文件的格式需要程序文件夹（%1）中的 hzk24宋 或 hzk16宋。")
                          .arg(fileText(libraryFolder));
        return probe;
    }
    WaitCursor hourglass;
    const auto result = hz::probeLibrary(QFile::encodeName(path).toStdString(), **reference);
    if (!result) {
        probe.error = probeProblemText(result.problem());
        return probe;
    }
    probe.findings =
        LibraryFileFindings{result->geometry, result->records, result->trailingBytes, result->score, size, modified};
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

} // namespace hz::gui
