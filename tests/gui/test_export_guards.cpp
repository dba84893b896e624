// Exports that must not happen: onto a library the window reads, whatever name leads there, and
// over a write-protected file. Each is told with the file's name, and nothing is changed.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/library/font_library.h"

#include <QAbstractButton>
#include <QFile>
#include <QTest>
#include <filesystem>
#include <sys/stat.h>

using namespace hz::gui;

using namespace form1test;

namespace {

using guitest::readAll;

void exportAll(Window& w, const QString& path) {
    w.prompter.fileAnswers << path;
    w.find<QAbstractButton>(QStringLiteral("Command20(2)"))->click();
}

} // namespace

class ExportGuardTest : public QObject {
    Q_OBJECT

private slots:
    void aLibraryIsNeverTheExportTarget_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("link");
        QTest::newRow("the library in use") << 1 << QString();
        QTest::newRow("another library of the folder") << 3 << QString();
        QTest::newRow("a hard link to it") << 1 << QStringLiteral("hard");
        QTest::newRow("a symbolic link to it") << 1 << QStringLiteral("soft");
    }
    void aLibraryIsNeverTheExportTarget() {
        QFETCH(int, position);
        QFETCH(QString, link);
        Window w;
        const QString library =
            QString::fromStdString(hz::libraryPath(w.dir.path().toStdString(), hz::fontLibrary(position)));
        const QByteArray before = readAll(library);
        QString target = library;
        if (!link.isEmpty()) {
            target = w.dir.filePath(link + QStringLiteral(".TXT"));
            if (link == QLatin1String("hard"))
                std::filesystem::create_hard_link(library.toStdString(), target.toStdString());
            else
                std::filesystem::create_symlink(library.toStdString(), target.toStdString());
        }
        exportAll(w, target);
        QCOMPARE(w.prompter.criticals.size(), 1);
        QVERIFY(w.prompter.questions.isEmpty());
        QVERIFY2(w.prompter.criticals.front().contains(target), qPrintable(w.prompter.criticals.front()));
        QVERIFY2(w.prompter.criticals.front().contains(QStringLiteral("正在读取的字库文件")),
                 qPrintable(w.prompter.criticals.front()));
        QCOMPARE(readAll(library), before);
    }

    void aWriteProtectedFileIsKept() {
        Window w;
        const QString path = w.dir.filePath(QStringLiteral("protected.TXT"));
        QVERIFY(guitest::writeAll(path, "the user's old file"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        exportAll(w, path);
        QCOMPARE(w.prompter.criticals.size(), 1);
        QVERIFY(w.prompter.questions.isEmpty());
        QCOMPARE(w.prompter.criticals.front(),
                 QStringLiteral("无法导出到文件“%1”。\n该文件是只读文件，不能覆盖。").arg(path));
        QCOMPARE(readAll(path), QByteArray("the user's old file"));

        // Given back its write permission, it is replaced after the usual question.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        exportAll(w, path);
        QCOMPARE(w.prompter.criticals.size(), 1);
        QCOMPARE(w.prompter.questions.size(), 1);
        QVERIFY(readAll(path).startsWith(";"));
    }
};

static GuiTestRegistration<ExportGuardTest> registration;
#include "test_export_guards.moc"
