// The main window's view of the current record and the buttons around it: the background mark,
// the colours, the assembly/C switch, the text panel's scrolling, closing, the home page, the list
// model, and the font that keeps the marks in columns.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/library/glyph_reader.h"
#include "gui/common/module1.h"
#include "gui/common/song_font.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/text_panel.h"

#include <QAbstractItemModelTester>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>

using namespace hz::gui;

using namespace form1test;

namespace {
// Receives the URLs the window asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

hz::GlyphRecord sampleRecord(const char* character) {
    hz::GlyphRecord record;
    record.character = character;
    record.sizeText = "16*16";
    record.dots.assign(32, 0);
    record.width = record.height = 16;
    record.libraryPosition = 1;
    return record;
}

void clickRow(QTreeView* view, int row) {
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}
} // namespace

class Form1ViewTest : public QObject {
    Q_OBJECT

private slots:
    void backMarkToggledTwiceRestoresTheDrawing() {
        Window w;
        const QString first = w.form->dotView()->text();
        w.form->Command20Click(7);
        QVERIFY(!Module1().BackMarkOn);
        // Clear dots become two spaces; the set dots keep their columns.
        QCOMPARE(w.form->dotView()->text(),
                 expectedView(16, {{0, 0}, {15, 15}}, QStringLiteral("■"), QStringLiteral("  ")));
        w.form->Command20Click(7);
        QVERIFY(Module1().BackMarkOn);
        QCOMPARE(w.form->dotView()->text(), first);
    }

    void backMarkOnAnEmptyListChangesNothing() {
        Window w(Libraries::None);
        QCOMPARE(w.prompter.criticals.size(), 2);
        QCOMPARE(w.form->glyphList().count(), 0);
        QCOMPARE(w.form->CurrentIndex, 0);
        w.form->Command20Click(7);
        QVERIFY(Module1().BackMarkOn);
        QVERIFY(w.form->dotView()->text().isEmpty());
    }

    void cFormatThenARowClickShowsThatRowsTexts() {
        Window w;
        QTest::mouseClick(w.find(QStringLiteral("Command2")), Qt::LeftButton);
        QVERIFY(w.box("Text2")->isHidden());
        QVERIFY(!w.box("Text8")->isHidden());

        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        clickRow(w.form->listView(), 0);
        const hz::GlyphRecord& yang = w.form->glyphList().record(0);
        QCOMPARE(w.form->CurrentIndex, 1);
        QCOMPARE(w.label("Label3"), QStringLiteral("样"));
        QCOMPARE(w.form->dotView()->text(), expectedView(16, diagonal()));
        const char* cBoxes[] = {"Text8", "Text9", "Text10", "Text11", "Text12"};
        const char* assemblyBoxes[] = {"Text2", "Text4", "Text5", "Text6", "Text7"};
        for (std::size_t k = 0; k < 5; ++k) {
            QCOMPARE(w.box(cBoxes[k])->toPlainText(), shown(yang.cText(k)));
            QCOMPARE(w.box(assemblyBoxes[k])->toPlainText(), shown(yang.assemblyText(k)));
        }
        QVERIFY(w.box("Text2")->isHidden());

        QTest::mouseClick(w.find(QStringLiteral("Command6")), Qt::LeftButton);
        QVERIFY(!w.box("Text2")->isHidden());
        QVERIFY(w.box("Text8")->isHidden());
    }

    void keyboardMovesThroughTheList() {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->listView()->setFocus();
        QTest::keyClick(w.form->listView(), Qt::Key_Up);
        QTRY_COMPARE(w.form->CurrentIndex, 1);
        QCOMPARE(w.label("Label3"), QStringLiteral("样"));
    }

    void scrollingShowsTheLaterBoxes() {
        Window w;
        QWidget* viewport = w.find(QStringLiteral("Picture3"));
        auto* scroll = w.find<QScrollBar>(QStringLiteral("VScroll1"));
        QCOMPARE(scroll->minimum(), 0);
        QCOMPARE(scroll->maximum(), 2);
        auto visible = [&](const char* name) {
            QWidget* box = w.find(QString::fromUtf8(name));
            const QRect inViewport(box->mapTo(viewport, QPoint(0, 0)), box->size());
            return viewport->rect().contains(inViewport);
        };
        QVERIFY(visible("Text2") && visible("Text4") && visible("Text5"));
        QVERIFY(!visible("Text6"));
        scroll->setValue(2);
        QVERIFY(visible("Text5") && visible("Text6") && visible("Text7"));
        QVERIFY(!visible("Text4"));
        scroll->setValue(1);
        QVERIFY(visible("Text4") && visible("Text6"));
        QVERIFY(!visible("Text2") && !visible("Text7"));
    }

    void viewColoursFollowTheDialog_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("text colour") << 4;
        QTest::newRow("background colour") << 5;
    }

    void viewColoursFollowTheDialog() {
        QFETCH(int, index);
        Window w;
        DotView* view = w.form->dotView();
        auto current = [&] { return index == 4 ? view->textColor() : view->backColor(); };
        auto setting = [&] { return index == 4 ? Module1().ViewForeColor : Module1().ViewBackColor; };
        const QColor before = current();

        w.form->Command20Click(index); // cancelled
        QCOMPARE(w.prompter.log, QStringList{QStringLiteral("color")});
        QCOMPARE(current(), before);
        QCOMPARE(setting(), before);

        w.prompter.colorAnswers << QColor(200, 30, 90);
        w.form->Command20Click(index);
        QCOMPARE(current(), QColor(200, 30, 90));
        QCOMPARE(setting(), QColor(200, 30, 90));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    void cancelInTheClosingQuestionKeepsEverything() {
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->Command20Click(7);

        w.prompter.questionAnswers << false << false;
        QVERIFY(!w.form->close());
        w.form->Command20Click(6);
        QCOMPARE(w.prompter.questions, QStringList(2, QStringLiteral("是否退出程序？")));
        QVERIFY(w.form->isVisible());
        QCOMPARE(w.form->glyphList().count(), 2);
        QCOMPARE(w.form->CurrentIndex, 2);
        QVERIFY(!Module1().BackMarkOn);

        w.prompter.questionAnswers << true;
        w.form->Command20Click(6);
        QVERIFY(!w.form->isVisible());
    }

    void theKeyPanelIsAskedToHide() {
        Window w;
        QSignalSpy spy(w.form.get(), &Form1::keyPanelHideRequested);
        w.form->Command20Click(3); // the save dialog is cancelled
        QCOMPARE(spy.count(), 1);
        w.lookUp(1, QStringLiteral("字"));
        QCOMPARE(spy.count(), 2);
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QTest::mouseClick(w.form->dotView()->viewport(), Qt::LeftButton);
        QTest::mouseClick(w.box("Text5")->viewport(), Qt::LeftButton);
        QCOMPARE(spy.count(), 4);
    }

    void linkLabelsOpenTheHomePage() {
        Window w;
        QFile readme(w.dir.filePath(QStringLiteral("README.md")));
        QVERIFY(readme.open(QIODevice::WriteOnly) && readme.write("# HzDot\n") > 0);
        readme.close();
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QTest::mouseClick(w.find(QStringLiteral("Label5(5)")), Qt::LeftButton);
        QTest::mouseClick(w.find(QStringLiteral("Label5(2)")), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        const QUrl home = QUrl::fromLocalFile(w.dir.filePath(QStringLiteral("README.md")));
        QCOMPARE(catcher.urls, (QList<QUrl>{home, home}));
    }

    void theListModelHoldsTogether() {
        GlyphListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        std::vector<hz::GlyphRecord> batch{sampleRecord("样"), sampleRecord("字"), sampleRecord("，")};
        model.appendRecords(std::move(batch));
        model.appendRecord(sampleRecord("汉"));
        QCOMPARE(model.count(), 4);
        model.removeRecord(1);
        QCOMPARE(model.record(1).character, std::string("，"));
        QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("汉"));
        QCOMPARE(model.data(model.index(2, 0), GlyphListModel::TagRole).toString(), QStringLiteral("163216"));
        model.removeRecord(7); // no such row
        QCOMPARE(model.count(), 3);
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, model.record(3));
        model.removeAll();
        QCOMPARE(model.rowCount(), 0);
        model.appendRecords({});
        QCOMPARE(model.rowCount(), 0);
    }

    void theViewFontKeepsClearDotsInColumns() {
        const QStringList marks = {QStringLiteral("■"), QStringLiteral("□")};
        bool anyFits = false;
        for (const QString& family : windowFontFamilies()) {
            QFont font(family);
            font.setPointSizeF(10.5);
            anyFits = anyFits || (QFontDatabase::families().contains(family) && spacesMatchMarks(font, marks));
        }
        if (!anyFits)
            QSKIP("no installed CJK font draws two spaces as wide as one mark");
        Window w;
        QVERIFY(spacesMatchMarks(w.form->dotView()->font(), marks));
    }
};

static GuiTestRegistration<Form1ViewTest> registration;
#include "test_form1_view.moc"
