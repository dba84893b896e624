// Qt's own dialogs and buttons speak Chinese once the program has installed Qt's translation; a
// folder without it changes nothing and stops nothing.

#include "gui_test_registry.h"

#include "gui/common/qt_chinese.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace hz::gui;

namespace {

QString okButtonText() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("HzDot"), QStringLiteral("是否退出程序？"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Ok)->text();
}

// The label before the folder chooser of Qt's own save dialog.
QString lookInText() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto* label = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    return label ? label->text() : QString();
}

bool hasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

} // namespace

class QtChineseTest : public QObject {
    Q_OBJECT

private slots:
    void qtsDialogsSpeakChinese() {
        QVERIFY(!hasChinese(okButtonText()));
        {
            const auto translator = installQtChinese(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
            QVERIFY2(translator, "qtbase_zh_CN.qm is missing: scripts/install-deps.sh installs qt6-translations-l10n");
            QCOMPARE(okButtonText(), QStringLiteral("确定"));
            QVERIFY2(hasChinese(lookInText()), qPrintable(lookInText()));
            QCOMPARE(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("另存为"));
        }
        // Gone with its translator.
        QVERIFY(!hasChinese(okButtonText()));
    }

    void aFolderWithoutTheTranslationChangesNothing() {
        QTemporaryDir empty;
        QVERIFY(!installQtChinese(empty.path()));
        QVERIFY(!installQtChinese(empty.filePath(QStringLiteral("no such folder"))));
        // A damaged file is refused the same way.
        QFile damaged(empty.filePath(QStringLiteral("qtbase_zh_CN.qm")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a translation");
        damaged.close();
        QVERIFY(!installQtChinese(empty.path()));
        QVERIFY(!hasChinese(okButtonText()));
    }
};

static GuiTestRegistration<QtChineseTest> registration;
#include "test_qt_chinese.moc"
