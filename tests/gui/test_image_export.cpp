// The picture window's export and its view of the dots.

#include "file_bytes.h"
#include "gui_test_registry.h"
#include "image_window_support.h"
#include "scripted_prompter.h"

#include "core/layout/layout.h"
#include "core/picture/picture_layout.h"
#include "core/text/codepage.h"
#include "gui/common/module1.h"
#include "gui/imagewin/image_view.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace hz::gui;
using namespace hz::gui::imagetest;

namespace {

struct Window {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ImageWindow window{prompter, hz::LayoutChoice::of(hz::Arrangement::HalfUp), 1};
    QString picture;

    Window() {
        picture = halfBlack(dir);
        window.openPicture(picture);
    }
    void exportTo(const QString& path) {
        prompter.fileAnswers << path;
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ImageExport")), Qt::LeftButton);
    }
};

QString utf8Of(const QByteArray& cp936) {
    return QString::fromStdString(hz::cp936ToUtf8(cp936.toStdString()).value_or(std::string()));
}

} // namespace

class ImageExportTest : public QObject {
    Q_OBJECT

private slots:
    // The file's extension says what is written; the layout is the window's choice, named in the
    // headers as the main window names it.
    void theExportWritesTheFileTheNameAsksFor() {
        Window w;
        const QString text = w.dir.filePath(QStringLiteral("logo.TXT"));
        w.exportTo(text);
        QCOMPARE(w.prompter.lastSuggestedName, QStringLiteral("logo.TXT"));
        QVERIFY(w.prompter.criticals.isEmpty());
        const QString written = utf8Of(guitest::readAll(text));
        QVERIFY2(written.startsWith(QStringLiteral(";logo[40*20]下半列排\r\nDB")), qPrintable(written.left(40)));
        QVERIFY(written.contains(QStringLiteral("{//logo[40*20]下半列排\r\n0x")));

        const QString binary = w.dir.filePath(QStringLiteral("logo.bin"));
        w.exportTo(binary);
        const std::vector<std::uint8_t> bytes =
            hz::encodePicture(w.window.result()->dots, hz::arrangementLayout(hz::Arrangement::HalfUp));
        QCOMPARE(guitest::readAll(binary),
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        // A header is named by its file, as the main window's are; "全部" would be 横排 there too.
        const QString header = w.dir.filePath(QStringLiteral("icons.h"));
        w.exportTo(header);
        const QByteArray headerText = guitest::readAll(header);
        QVERIFY2(headerText.contains("icons_logo_WIDTH 40"), headerText.left(400).constData());
        QVERIFY(headerText.contains("icons_logo_HEIGHT 20"));
        QVERIFY(headerText.contains("icons_pictures"));
        const QString badName = w.dir.filePath(QStringLiteral("my icons.h"));
        w.exportTo(badName);
        QVERIFY(guitest::readAll(badName).contains("image_logo_WIDTH 40"));
        QVERIFY(w.prompter.criticals.isEmpty());

        // The dialog offers the last name chosen.
        w.exportTo(QString());
        QCOMPARE(w.prompter.lastSuggestedName, badName);
    }

    void anExistingFileIsReplacedOnlyWhenTheUserSaysSo() {
        Window w;
        const QString path = w.dir.filePath(QStringLiteral("old.TXT"));
        QVERIFY(guitest::writeAll(path, "kept"));
        w.prompter.questionAnswers << false;
        w.exportTo(path);
        QCOMPARE(w.prompter.questions.size(), 1);
        QCOMPARE(guitest::readAll(path), QByteArray("kept"));
        w.exportTo(path);
        QVERIFY(utf8Of(guitest::readAll(path)).startsWith(QStringLiteral(";logo[40*20]")));
    }

    // An export never lands on the picture it was made from, a folder or a read-only file.
    void anExportThatWouldDestroySomethingIsRefused_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("said");
        QTest::newRow("the picture") << QStringLiteral("logo.png") << QStringLiteral("正在取模的图片文件");
        QTest::newRow("a folder") << QString() << QStringLiteral("文件夹");
        QTest::newRow("read-only") << QStringLiteral("locked.TXT") << QStringLiteral("只读");
    }
    void anExportThatWouldDestroySomethingIsRefused() {
        QFETCH(QString, target);
        QFETCH(QString, said);
        Window w;
        const QString path = target.isEmpty() ? w.dir.path() : w.dir.filePath(target);
        if (target == QStringLiteral("locked.TXT")) {
            QVERIFY(guitest::writeAll(path, "kept"));
            QFile::setPermissions(path, QFileDevice::ReadOwner);
        }
        const QByteArray before = QFileInfo(path).isFile() ? guitest::readAll(path) : QByteArray();
        w.exportTo(path);
        QCOMPARE(w.prompter.criticals.size(), 1);
        QVERIFY2(w.prompter.criticals.first().contains(said), qPrintable(w.prompter.criticals.first()));
        if (QFileInfo(path).isFile())
            QCOMPARE(guitest::readAll(path), before);
    }

    // A picture whose name is one of the header's own names cannot go into a header.
    void aPictureNamedLikeTheHeadersTableIsRefused() {
        Window w;
        QVERIFY(w.window.openPicture(halfBlack(w.dir, QStringLiteral("pictures.png"))));
        const QString header = w.dir.filePath(QStringLiteral("icons.h"));
        w.exportTo(header);
        QCOMPARE(w.prompter.criticals.size(), 1);
        QVERIFY(w.prompter.criticals.first().contains(QStringLiteral("“pictures”")));
        QVERIFY(!QFileInfo::exists(header));
    }

    // Grey dots have no page form: the export says so before asking for a file.
    void aPageLayoutAtGreyDepthIsRefused() {
        Window w;
        w.window.findChild<QComboBox*>(QStringLiteral("ImageDepth"))->setCurrentIndex(1);
        w.exportTo(w.dir.filePath(QStringLiteral("grey.TXT")));
        QCOMPARE(w.prompter.log.size(), 1);
        QVERIFY(w.prompter.log.first().startsWith(QStringLiteral("critical: ")));
        QVERIFY(w.prompter.criticals.first().contains(QStringLiteral("下半列排（pages-lsb）是页排列")));
        // The advice is this window's: its depth chooser, not the font chooser.
        QVERIFY(w.prompter.criticals.first().contains(QStringLiteral("每点位数")));
        QVERIFY(!QFileInfo::exists(w.dir.filePath(QStringLiteral("grey.TXT"))));
    }

    void nothingOpenNothingExported() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        ImageWindow window(prompter, hz::LayoutChoice::of(hz::Arrangement::Rows), 1);
        auto* button = window.findChild<QPushButton*>(QStringLiteral("ImageExport"));
        QVERIFY(!button->isEnabled());
        QVERIFY(!window.findChild<QWidget*>(QStringLiteral("ImageOptions"))->isEnabled());
        window.exportPicture();
        QVERIFY(prompter.log.isEmpty());
        QVERIFY(window.openPicture(halfBlack(dir)));
        QVERIFY(button->isEnabled());
    }
};

class ImageViewTest : public QObject {
    Q_OBJECT

private slots:
    // Set dots in the mark colour, clear ones in the background's, each dot as large as lets the
    // whole picture fit the pane.
    void theDotsFitThePaneInTheViewsColours() {
        ImageView view;
        view.resize(400, 400);
        hz::DotPicture dots(8, 4);
        dots.setLevel(0, 0, 1);
        dots.setLevel(7, 3, 1);
        view.showDots(dots);
        const int pitch = view.dotPitch();
        QVERIFY(pitch >= 4 && pitch * 8 <= 400);
        const QImage& drawn = view.drawing();
        QCOMPARE(drawn.size(), QSize(8 * pitch, 4 * pitch));
        const ProgramSettings& settings = Module1();
        auto centre = [&](int x, int y) { return drawn.pixelColor(x * pitch + pitch / 2, y * pitch + pitch / 2); };
        QCOMPARE(centre(0, 0), settings.ViewForeColor);
        QCOMPARE(centre(7, 3), settings.ViewForeColor);
        QCOMPARE(centre(3, 1), settings.ViewBackColor);
    }

    // A picture too big for a pixel a dot in the pane scrolls; grey levels are shades between the
    // background and the mark colour.
    void aLargeGreyPictureGetsAPixelADot() {
        ImageView view;
        view.resize(300, 300);
        hz::DotPicture dots(1024, 8, 2);
        dots.setLevel(0, 0, 3);
        dots.setLevel(1, 0, 1);
        view.showDots(dots);
        QCOMPARE(view.dotPitch(), 1);
        QCOMPARE(view.drawing().size(), QSize(1024, 8));
        const QColor full = view.drawing().pixelColor(0, 0);
        const QColor third = view.drawing().pixelColor(1, 0);
        const QColor clear = view.drawing().pixelColor(2, 0);
        QCOMPARE(full, Module1().ViewForeColor);
        QCOMPARE(clear, Module1().ViewBackColor);
        QVERIFY(third != full && third != clear);
        view.blank();
        QVERIFY(view.drawing().isNull());
    }
};

static GuiTestRegistration<ImageExportTest> exportRegistration;
static GuiTestRegistration<ImageViewTest> viewRegistration;
#include "test_image_export.moc"
