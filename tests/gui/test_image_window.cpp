// "图片取模": opening a picture through the dialog seam and by dropping it, the options acting at
// once on the dots and the texts, and pictures that cannot be read.

#include "gui_test_registry.h"
#include "image_window_support.h"
#include "scripted_prompter.h"
#include "test_form1_fixture.h"

#include "core/layout/layout.h"
#include "core/picture/picture_layout.h"
#include "core/text/byte_text.h"
#include "gui/common/grey_depth.h"
#include "gui/common/text_copy.h"
#include "gui/imagewin/image_view.h"
#include "gui/mainwin/text_panel.h"
#include "picturesource/picture_reader.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

using namespace hz::gui;
using namespace hz::gui::imagetest;

namespace {

// Whether every dot of the picture is set exactly where wanted(x, y) says.
bool dotsAre(const hz::DotPicture& dots, const std::function<bool(int, int)>& wanted) {
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            if (dots.dot(x, y) != wanted(x, y))
                return false;
    return true;
}

QString boxText(const std::vector<std::uint8_t>& bytes) {
    return QString::fromStdString(hz::assemblyText(bytes)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

struct Window {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ImageWindow window{prompter, hz::LayoutChoice::of(hz::Arrangement::Rows), 1};

    template <typename T> T* find(const char* name) const { return control<T>(window, name); }
    const hz::DotPicture& dots() const { return window.result()->dots; }
};

// Sends a drag of urls over the window and drops it; whether the drag was accepted.
bool dropOn(QWidget& window, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

} // namespace

class ImageWindowOpenTest : public QObject {
    Q_OBJECT

private slots:
    void theDialogOpensAPictureAtItsOwnSize() {
        Window w;
        w.prompter.openAnswers << halfBlack(w.dir);
        QTest::mouseClick(w.find<QPushButton>("ImageOpen"), Qt::LeftButton);

        QCOMPARE(w.prompter.log, QStringList{QStringLiteral("open")});
        QVERIFY(w.prompter.lastFilters.first().contains(QStringLiteral("*.svg")));
        QCOMPARE(w.window.objectName(), QStringLiteral("ImageWindow"));
        QCOMPARE(w.window.windowTitle(), QStringLiteral("图片取模"));
        QCOMPARE(w.find<QSpinBox>("FitWidth")->value(), 40);
        QCOMPARE(w.find<QSpinBox>("FitHeight")->value(), 20);
        QCOMPARE(w.window.result()->name, std::string("logo"));
        // Dark pixels are the dots, as a glyph's strokes are.
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 20; }));
        QCOMPARE(w.find<ImageView>("ImageView")->dots(), w.dots());
        QCOMPARE(w.find<QLabel>("ImageSize")->text(), QStringLiteral("图片点阵:40*20"));
        QVERIFY(w.find<QLabel>("ImageName")->text().startsWith(QStringLiteral("logo.png")));
        QVERIFY(w.window.message().isEmpty());

        // The ten boxes hold the five arrangements' bytes of the dots shown.
        auto* texts = w.find<TextPanel>("ImageTexts");
        QVERIFY(texts);
        QCOMPARE(texts->assemblyBox(0)->toPlainText(),
                 boxText(hz::encodePicture(w.dots(), hz::arrangementLayout(hz::Arrangement::Rows))));
        QCOMPARE(texts->assemblyBox(3)->toPlainText(),
                 boxText(hz::encodePicture(w.dots(), hz::arrangementLayout(hz::Arrangement::HalfUp))));
        // The C set is filled when it comes into view, from the same dots.
        QTest::mouseClick(w.find<QPushButton>("ImageCSet"), Qt::LeftButton);
        QVERIFY(texts->showsCSet());
        QCOMPARE(texts->cBox(2)->toPlainText(),
                 QString::fromStdString(hz::cText(hz::encodePicture(w.dots(), hz::arrangementLayout(hz::Arrangement::ColsDown))))
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // A new picture while the C set is in view fills the C set, and the assembly set on return.
        w.find<QSpinBox>("FitWidth")->setValue(8);
        QCOMPARE(texts->cBox(0)->toPlainText().count(QStringLiteral("0x")), 4);
        QTest::mouseClick(w.find<QPushButton>("ImageAssemblySet"), Qt::LeftButton);
        QCOMPARE(texts->assemblyBox(0)->toPlainText(),
                 boxText(hz::encodePicture(w.dots(), hz::arrangementLayout(hz::Arrangement::Rows))));
    }

    void aCancelledDialogChangesNothing() {
        Window w;
        QVERIFY(w.window.openPicture(halfBlack(w.dir)));
        const hz::PictureRecord before = *w.window.result();
        w.window.choosePicture();
        QCOMPARE(*w.window.result(), before);
        QVERIFY(w.window.message().isEmpty());
    }

    // A picture larger than 1024 dots a side starts fitted inside 1024 x 1024, keeping its aspect.
    void aLargePictureStartsFittedInsideTheLargestSize() {
        Window w;
        const QString wide = savePicture(w.dir, QStringLiteral("wide.png"), 2048, 1024,
                                         [](int x, int) { return x % 2 ? QColor(Qt::black) : QColor(Qt::white); });
        QVERIFY(w.window.openPicture(wide));
        QCOMPARE(w.find<QSpinBox>("FitWidth")->value(), 1024);
        QCOMPARE(w.find<QSpinBox>("FitHeight")->value(), 512);
        QCOMPARE(w.dots().width(), 1024);
        QCOMPARE(w.dots().height(), 512);
        // The boxes show the first 8 KB of the 64 KB and say so; the export has all of it.
        const QString shown = w.find<TextPanel>("ImageTexts")->assemblyBox(0)->toPlainText();
        QVERIFY(shown.contains(QStringLiteral("只显示前 8192 字节，共 65536 字节")));
        QCOMPARE(shown.count(QStringLiteral("DB")), 8192 / 8);
    }

    // The picture shown is the one the core makes from the file with the window's options.
    void theDotsAreTheCoresForTheOptionsChosen() {
        Window w;
        QVERIFY(w.window.openPicture(greyBands(w.dir)));
        w.find<QComboBox>("DitherChoice")->setCurrentIndex(static_cast<int>(hz::Dither::Bayer4));
        w.find<QSpinBox>("FitWidth")->setValue(17);
        const auto read = hz::picturesource::readPicture(QFile::encodeName(w.window.picturePath()).toStdString());
        QVERIFY(read);
        const auto made = hz::pictureDots(*read, w.window.settings());
        QVERIFY(made);
        QCOMPARE(w.dots(), *made);
        QCOMPARE(w.window.settings().dither, hz::Dither::Bayer4);
        QCOMPARE(w.window.settings().fit, (hz::PictureSize{17, 10}));
    }

    // An SVG is drawn afresh at each size asked for.
    void anSvgFollowsTheSizeAskedFor() {
        Window w;
        const QString svg = writeFile(w.dir, QStringLiteral("battery-full.svg"),
                                      "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='16'>"
                                      "<rect x='0' y='0' width='16' height='16' fill='black'/></svg>");
        QVERIFY(w.window.openPicture(svg));
        QCOMPARE(w.window.result()->name, std::string("battery_full"));
        QCOMPARE(w.dots().width(), 32);
        w.find<QSpinBox>("FitWidth")->setValue(64);
        w.find<QSpinBox>("FitHeight")->setValue(64);
        QCOMPARE(w.dots().width(), 64);
        QCOMPARE(w.dots().height(), 32);
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 32; }));
    }

    // An SVG names a size, but has no pixels: one too large to draw at its own size starts at the
    // largest size instead of being refused.
    void anSvgOfAHugeSizeStartsAtTheLargest() {
        Window w;
        const QString svg = writeFile(w.dir, QStringLiteral("poster.svg"),
                                      "<svg xmlns='http://www.w3.org/2000/svg' width='40000' height='20000'>"
                                      "<rect width='20000' height='20000'/></svg>");
        QVERIFY2(w.window.openPicture(svg), qPrintable(w.window.message()));
        QCOMPARE(w.dots().width(), 1024);
        QCOMPARE(w.dots().height(), 512);
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 512; }));
    }

    // The main window's button opens the picture window modally, on the main window's layout.
    void theMainWindowOpensIt() {
        form1test::Window main;
        main.find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(2);
        QString className;
        QString layout;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            className = QString::fromLatin1(modal->metaObject()->className());
            if (auto* chooser = modal->findChild<QComboBox*>(QStringLiteral("ImageLayout")))
                layout = chooser->currentText();
            modal->close();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(3000);
        QTest::mouseClick(main.find<QPushButton>(QStringLiteral("OpenImageWindow")), Qt::LeftButton);
        QCOMPARE(className, QStringLiteral("hz::gui::ImageWindow"));
        QCOMPARE(layout, main.find<QComboBox>(QStringLiteral("Combo2"))->currentText());
    }
};

class ImageWindowOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void sizeAndInversionRedrawAtOnce() {
        Window w;
        QVERIFY(w.window.openPicture(halfBlack(w.dir)));
        auto* texts = w.find<TextPanel>("ImageTexts");
        const QString before = texts->assemblyBox(0)->toPlainText();

        w.find<QSpinBox>("FitWidth")->setValue(20);
        QCOMPARE(w.dots().width(), 20);
        QCOMPARE(w.dots().height(), 10);
        QCOMPARE(w.find<ImageView>("ImageView")->dots(), w.dots());
        QCOMPARE(w.find<QLabel>("ImageSize")->text(), QStringLiteral("图片点阵:20*10"));
        QVERIFY(texts->assemblyBox(0)->toPlainText() != before);

        w.find<QCheckBox>("InvertCheck")->setChecked(true);
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x >= 10; }));
        QCOMPARE(w.find<ImageView>("ImageView")->dots(), w.dots());
    }

    // A size typed and taken with Enter is the size; Enter presses no button of the window.
    void enterInASizeBoxOnlyTakesTheSize() {
        Window w;
        QVERIFY(w.window.openPicture(halfBlack(w.dir)));
        w.window.show();
        auto* width = w.find<QSpinBox>("FitWidth");
        width->setFocus();
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("12"));
        QCOMPARE(w.dots().width(), 40); // nothing taken while typing
        QTest::keyClick(width, Qt::Key_Return);
        QCOMPARE(w.dots().width(), 12);
        QVERIFY(w.prompter.log.isEmpty());
    }

    // The slider starts at Otsu's choice, which lies between the two greys of a two-grey picture; the
    // user's own threshold then cuts where it says.
    void theThresholdCutsWhereTheSliderSays() {
        Window w;
        w.find<QComboBox>("DitherChoice")->setCurrentIndex(static_cast<int>(hz::Dither::Threshold));
        QVERIFY(w.window.openPicture(greyBands(w.dir)));
        auto* slider = w.find<QSlider>("ThresholdSlider");
        QVERIFY(slider->isEnabled());
        QVERIFY(slider->value() > 60 && slider->value() <= 220);

        slider->setValue(50);
        QCOMPARE(w.dots().inkCount(), 0);
        QCOMPARE(w.find<QLabel>("ThresholdValue")->text(), QStringLiteral("50"));
        slider->setValue(141);
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 20; }));
        // A threshold the user chose stays when the size changes.
        w.find<QSpinBox>("FitWidth")->setValue(15);
        QCOMPARE(slider->value(), 141);

        // "不抖动" cuts at the middle and grey levels have no threshold: the slider has nothing to do.
        w.find<QComboBox>("DitherChoice")->setCurrentIndex(static_cast<int>(hz::Dither::None));
        QVERIFY(!slider->isEnabled());
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 5; }));
        w.find<QComboBox>("DitherChoice")->setCurrentIndex(static_cast<int>(hz::Dither::Threshold));
        w.find<QComboBox>("ImageDepth")->setCurrentIndex(2);
        QVERIFY(!slider->isEnabled());
    }

    // Until the user moves it, the slider follows Otsu's choice for the picture as it is now.
    void otsusChoiceFollowsTheInversion() {
        Window w;
        w.find<QComboBox>("DitherChoice")->setCurrentIndex(static_cast<int>(hz::Dither::Threshold));
        QVERIFY(w.window.openPicture(greyBands(w.dir)));
        const int plain = w.find<QSlider>("ThresholdSlider")->value();
        w.find<QCheckBox>("InvertCheck")->setChecked(true);
        const int inverted = w.find<QSlider>("ThresholdSlider")->value();
        QVERIFY(inverted != plain);
        // Inverted, the bands are 195, 115 and 35: the cut still falls between two of them.
        QVERIFY(inverted > 35 && inverted <= 195);
        QVERIFY(w.dots().inkCount() > 0 && w.dots().inkCount() < 300);
    }

    void theDepthAndTheLayoutChangeTheTexts() {
        Window w;
        QVERIFY(w.window.openPicture(greyBands(w.dir)));
        auto* texts = w.find<TextPanel>("ImageTexts");
        auto* depth = w.find<QComboBox>("ImageDepth");
        QCOMPARE(depth->count(), 4);
        depth->setCurrentIndex(2); // 4 bits
        QCOMPARE(w.dots().depth(), 4);
        QCOMPARE(w.find<ImageView>("ImageView")->dots().depth(), 4);
        // Page arrangements are one-bit layouts; the rows are four bits a dot.
        QCOMPARE(texts->assemblyBox(3)->toPlainText(), kPagesOneBitNote);
        QCOMPARE(texts->assemblyBox(0)->toPlainText(),
                 boxText(hz::encodePicture(w.dots(), layoutAtDepth(hz::arrangementLayout(hz::Arrangement::Rows), 4))));

        // A layout other than the five gets its own box, named with its depth.
        auto* layout = w.find<QComboBox>("ImageLayout");
        const int xbm = layout->findText(QStringLiteral("xbm"), Qt::MatchStartsWith);
        QVERIFY(xbm > 0);
        layout->setCurrentIndex(xbm);
        QVERIFY(texts->chosenLayoutBox()->isVisibleTo(&w.window));
        QVERIFY(texts->chosenLayoutLabel()->text().contains(QStringLiteral("rows-lsb-4bpp")));
        QVERIFY(texts->chosenLayoutBox()->toPlainText().startsWith(QStringLiteral("DB")));
        // Its "复制为数组元素" copies this picture's fields in that layout.
        const auto bytes = hz::encodePicture(w.dots(), *hz::parseLayout("rows-lsb-4bpp"));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const auto copiers = texts->chosenLayoutBox()->findChildren<QAction*>(QStringLiteral("CopyArrayElements"));
        QCOMPARE(copiers.size(), 1);
        copiers.first()->trigger();
        QCOMPARE(clipboard->text(), arrayElements(QString::fromStdString(hz::cText(bytes))));
        layout->setCurrentIndex(0);
        QVERIFY(!texts->chosenLayoutBox()->isVisibleTo(&w.window));
    }
};

class ImageWindowDropTest : public QObject {
    Q_OBJECT

private slots:
    void aDroppedPictureIsOpened() {
        Window w;
        QVERIFY(w.window.acceptDrops());
        const QString path = halfBlack(w.dir, QStringLiteral("dropped.bmp"));
        QVERIFY(dropOn(w.window, {QUrl::fromLocalFile(path)}));
        QVERIFY(w.window.result());
        QCOMPARE(w.window.result()->name, std::string("dropped"));
        QCOMPARE(w.window.picturePath(), path);
        QVERIFY(dotsAre(w.dots(), [](int x, int) { return x < 20; }));
    }

    // Only files are taken; of several, the first, and the window says the rest were not opened.
    void onlyFilesAreTakenOneAtATime() {
        Window w;
        QVERIFY(!dropOn(w.window, {QUrl(QStringLiteral("https://example.com/logo.png"))}));
        QVERIFY(!w.window.result());

        const QString first = halfBlack(w.dir, QStringLiteral("first.png"));
        const QString second = halfBlack(w.dir, QStringLiteral("second.png"));
        QVERIFY(dropOn(w.window, {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
        QCOMPARE(w.window.result()->name, std::string("first"));
        QVERIFY(w.window.message().contains(QStringLiteral("其余 1 个文件没有打开")));
    }
};

class ImageWindowRefusalTest : public QObject {
    Q_OBJECT

private slots:
    // Each picture that cannot be read is told in the window in Chinese, and the picture shown before
    // stays with its options.
    void aPictureThatCannotBeReadLosesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");
        QTest::newRow("broken png") << QStringLiteral("broken.png")
                                    << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDRgarbage", 24)
                                    << QStringLiteral("broken.png");
        QTest::newRow("not a picture") << QStringLiteral("notes.png") << QByteArray("just some words\n")
                                       << QStringLiteral("不是能识别的图片");
        QTest::newRow("empty") << QStringLiteral("empty.png") << QByteArray() << QStringLiteral("是空的");
        // Refused from its header alone: nothing near 1.6 GB is ever allocated.
        QTest::newRow("huge") << QStringLiteral("huge.png") << pngHeaderOnly(20000, 20000)
                              << QStringLiteral("20000×20000");
    }
    void aPictureThatCannotBeReadLosesNothing() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        Window w;
        const QString good = halfBlack(w.dir);
        QVERIFY(w.window.openPicture(good));
        w.find<QSpinBox>("FitWidth")->setValue(30);
        const hz::PictureRecord before = *w.window.result();

        QVERIFY(!w.window.openPicture(writeFile(w.dir, name, bytes)));
        QVERIFY2(w.window.message().contains(said), qPrintable(w.window.message()));
        QVERIFY(w.find<QLabel>("ImageMessage")->isVisibleTo(&w.window));
        QCOMPARE(*w.window.result(), before);
        QCOMPARE(w.window.picturePath(), good);
        QCOMPARE(w.find<QSpinBox>("FitWidth")->value(), 30);
        QVERIFY(w.prompter.criticals.isEmpty());

        // The next good picture clears the message.
        QVERIFY(w.window.openPicture(good));
        QVERIFY(w.window.message().isEmpty());
        QVERIFY(!w.find<QLabel>("ImageMessage")->isVisibleTo(&w.window));
    }

    void aFolderOrAMissingFileIsRefused() {
        Window w;
        QVERIFY(!w.window.openPicture(w.dir.path()));
        QVERIFY(w.window.message().contains(QStringLiteral("不是文件")));
        QVERIFY(!w.window.openPicture(w.dir.filePath(QStringLiteral("gone.png"))));
        QCOMPARE(w.window.message(), QStringLiteral("无法读取图片“gone.png”：文件不存在。"));
        QVERIFY(!w.window.result());
    }

    // An SVG removed after it was opened cannot be drawn at a new size: the dots shown stay.
    void anSvgThatIsGoneKeepsItsDots() {
        Window w;
        const QString svg = writeFile(w.dir, QStringLiteral("icon.svg"),
                                      "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16'>"
                                      "<rect width='8' height='16'/></svg>");
        QVERIFY(w.window.openPicture(svg));
        const hz::PictureRecord before = *w.window.result();
        QVERIFY(QFile::remove(svg));
        w.find<QSpinBox>("FitWidth")->setValue(32);
        QVERIFY(!w.window.message().isEmpty());
        QCOMPARE(*w.window.result(), before);
    }
};

static GuiTestRegistration<ImageWindowOpenTest> openRegistration;
static GuiTestRegistration<ImageWindowOptionsTest> optionsRegistration;
static GuiTestRegistration<ImageWindowDropTest> dropRegistration;
static GuiTestRegistration<ImageWindowRefusalTest> refusalRegistration;
#include "test_image_window.moc"
