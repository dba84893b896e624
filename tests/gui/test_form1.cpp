// The main window from start-up through lookups: the records it appends, the messages it shows for
// refused characters, and what it leaves selected, shown and counted.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/library/glyph_reader.h"
#include "gui/common/module1.h"
#include "gui/common/rain_button.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"

#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>
#include <functional>

using namespace hz::gui;

using namespace form1test;

namespace {
QString message(hz::LookupStatus status) {
    return QString::fromUtf8(hz::statusMessage(status));
}

// Notes what the window looked like while each message was up.
struct WatchingPrompter : ScriptedPrompter {
    std::function<void()> onCritical;
    void critical(QWidget* parent, const QString& text) override {
        ScriptedPrompter::critical(parent, text);
        if (onCritical)
            onCritical();
    }
};
} // namespace

class Form1LookupTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheTwoSampleRecords() {
        Window w;
        Form1& form = *w.form;
        QVERIFY(w.prompter.log.isEmpty());
        QCOMPARE(form.windowTitle(), QStringLiteral("HzDot 汉字点阵"));
        QCOMPARE(form.size(), QSize(1016, 741));

        QCOMPARE(w.Text3()->text(), QStringLiteral("样字"));
        QCOMPARE(w.Combo1()->currentText(), QStringLiteral("16*16宋体"));
        QCOMPARE(w.find<QComboBox>(QStringLiteral("Combo2"))->currentText(), QStringLiteral("横排→→"));

        const GlyphListModel& list = form.glyphList();
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.record(0).character, std::string("样"));
        QCOMPARE(list.record(1).character, std::string("字"));
        QCOMPARE(list.record(1).tag(), std::string("163216"));
        QCOMPARE(form.CurrentIndex, 2);
        QCOMPARE(form.listView()->currentIndex().row(), 1);
        QVERIFY(form.listView()->selectionModel()->isRowSelected(1, QModelIndex()));

        QCOMPARE(w.label("Label3"), QStringLiteral("字"));
        QCOMPARE(w.label("Label6"), QStringLiteral("当前汉字点阵:16*16"));
        QCOMPARE(w.label("Label2"), QStringLiteral("最近输入共： 2个汉字"));
        QCOMPARE(form.dotView()->text(), expectedView(16, {{0, 0}, {15, 15}}));
        QCOMPARE(w.box("Text2")->toPlainText(), shown(list.record(1).assemblyText(0)));
        QCOMPARE(w.box("Text12")->toPlainText(), shown(list.record(1).cText(4)));
        QVERIFY(!w.box("Text2")->isHidden());
        QVERIFY(w.box("Text8")->isHidden());
        QVERIFY(w.find(QStringLiteral("ProgressBar1"))->isHidden());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        const ProgramSettings& settings = Module1();
        QCOMPARE(settings.DotMark, QStringLiteral("■"));
        QCOMPARE(settings.BackMark, QStringLiteral("□"));
        QVERIFY(settings.BackMarkOn);
        QCOMPARE(settings.SpaceX, 2);
        QCOMPARE(settings.SpaceY, 2);
        QCOMPARE(settings.ViewBackColor, form.dotView()->backColor());
        QCOMPARE(settings.ViewForeColor, form.dotView()->textColor());
    }

    void everyControlIsThereByName() {
        Window w;
        const QStringList names = {
            "Picture6",  "Label1(0)", "Label1(1)", "Label1(2)", "Label1(3)", "Label1(4)", "Label1(5)",    "Label3",
            "Combo1",    "Combo2",    "Text3",     "Command1",  "Command3",  "Command21", "ProgressBar1", "Label5(5)",
            "Label5(6)", "Label5(7)", "Label5(8)", "Label8",    "Label9",    "Frame2",    "ListView1",    "Label2",
            "Text1",     "Picture4",  "Command6",  "Command2",  "Label6",    "Picture3",  "Picture5",     "VScroll1",
            "Text2",     "Text4",     "Text5",     "Text6",     "Text7",     "Text8",     "Text9",        "Text10",
            "Text11",    "Text12",    "Label4(0)", "Label4(4)", "Label5(0)", "Label5(4)"};
        for (const QString& name : names)
            QVERIFY2(w.find(name) != nullptr, qPrintable(name));

        // The button group: captions, and the styled colour on all but 查找 and 常用字符.
        const QStringList captions = {"删除全部汉字点阵",     "导出全部汉字点阵", "导出当前汉字点阵",
                                      "点阵图前景色",         "点阵图背景色",     "退出程序",
                                      "点阵图背景字符",       "删除当前汉字点阵", "",
                                      "设计12*12变16*16方案", "程序帮助"};
        for (int index = 1; index <= 11; ++index) {
            auto* button = w.find<RainButton>(QStringLiteral("Command20(%1)").arg(index));
            QVERIFY(button);
            QCOMPARE(button->text(), captions[index - 1]);
            QVERIFY(button->styled());
            QCOMPARE(button->baseColor(), QColor(130, 240, 217));
        }
        QVERIFY(!w.find<RainButton>(QStringLiteral("Command20(9)"))->picture().isNull());
        QVERIFY(w.find<RainButton>(QStringLiteral("Command21"))->styled());
        QVERIFY(!w.find<RainButton>(QStringLiteral("Command1"))->styled());
        QCOMPARE(w.find<RainButton>(QStringLiteral("Command1"))->text(), QStringLiteral("查找"));
        QCOMPARE(w.find<RainButton>(QStringLiteral("Command3"))->text(), QStringLiteral("常用字符"));

        const QHeaderView* header = w.form->listView()->header();
        QCOMPARE(header->count(), 12);
        const QAbstractItemModel* model = w.form->listView()->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("汉字"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("点阵横排"));
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("点阵横排"));
        QCOMPARE(model->headerData(11, Qt::Horizontal).toString(), QStringLiteral("上半列排"));
        QVERIFY(header->sectionSize(0) < header->sectionSize(2));
    }

    void lookUpAppendsOrRefuses_data() {
        QTest::addColumn<int>("library");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("newRows");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("halvesEmpty");
        QTest::addColumn<int>("assemblyLines");

        const QString notChinese = message(hz::LookupStatus::NotChinese);
        const QString missing = message(hz::LookupStatus::LibraryMissing);
        QTest::newRow("latin letter, then a hanzi") << 1 << "a字" << QStringList{notChinese} << 1 << "16*16"
                                                    << "163216" << false << 4;
        QTest::newRow("full-width punctuation") << 1 << "，" << QStringList{} << 1 << "16*16"
                                                << "163216" << false << 4;
        QTest::newRow("a character twice") << 1 << "字字" << QStringList{} << 2 << "16*16"
                                           << "163216" << false << 4;
        QTest::newRow("traditional") << 2 << "字" << QStringList{} << 1 << "16*16"
                                     << "163216" << false << 4;
        QTest::newRow("24x24") << 3 << "字" << QStringList{} << 1 << "24*24"
                               << "247224" << true << 9;
        QTest::newRow("12x12") << 0 << "字" << QStringList{} << 1 << "12*12"
                               << "123216" << false << 4;
        QTest::newRow("library missing") << 4 << "样字" << QStringList{missing, missing} << 0 << ""
                                         << "" << false << 0;
        QTest::newRow("library cut short")
            << 5 << "字" << QStringList{message(hz::LookupStatus::RecordOutsideFile)} << 0 << ""
            << "" << false << 0;
        QTest::newRow("beyond the basic plane, one message") << 1 << "\U00020000" << QStringList{notChinese} << 0 << ""
                                                             << "" << false << 0;
        QTest::newRow("empty input") << 1 << "" << QStringList{} << 0 << ""
                                     << "" << false << 0;
    }

    void lookUpAppendsOrRefuses() {
        QFETCH(int, library);
        QFETCH(QString, input);
        QFETCH(QStringList, messages);
        QFETCH(int, newRows);
        QFETCH(QString, sizeText);
        QFETCH(QString, tag);
        QFETCH(bool, halvesEmpty);
        QFETCH(int, assemblyLines);

        Window w;
        w.lookUp(library, input);
        const GlyphListModel& list = w.form->glyphList();
        QCOMPARE(w.prompter.criticals, messages);
        QCOMPARE(list.count(), 2 + newRows);
        QCOMPARE(w.label("Label2"), QStringLiteral("最近输入共： %1个汉字").arg(2 + newRows));
        QCOMPARE(w.Text3()->text(), input);
        QVERIFY(w.find(QStringLiteral("ProgressBar1"))->isHidden());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The last row is current, selected and shown, whatever this pass added.
        QCOMPARE(w.form->CurrentIndex, list.count());
        QCOMPARE(w.form->listView()->currentIndex().row(), list.count() - 1);
        QCOMPARE(w.label("Label3"), QString::fromStdString(list.record(list.count() - 1).character));
        if (newRows == 0)
            return;

        const hz::GlyphRecord& last = list.record(list.count() - 1);
        QCOMPARE(QString::fromStdString(last.sizeText), sizeText);
        QCOMPARE(QString::fromStdString(last.tag()), tag);
        for (std::size_t half : {3u, 4u}) {
            QCOMPARE(last.assemblyText(half).empty(), halvesEmpty);
            QCOMPARE(last.cText(half).empty(), halvesEmpty);
        }
        QCOMPARE(static_cast<int>(QString::fromStdString(last.assemblyText(0)).count(QStringLiteral("DB "))),
                 assemblyLines);
        QCOMPARE(w.label("Label6"), QStringLiteral("当前汉字点阵:") + sizeText);
        const int side = sizeText.left(2) == QStringLiteral("24") ? 24 : 16;
        QCOMPARE(w.form->dotView()->text().count(QStringLiteral("\r\n")), side);
    }

    void twelveByTwelveFollowsTheSpacingAtLookupTime() {
        Window w;
        w.lookUp(0, QStringLiteral("字"));
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{2, 2}}));

        Module1().SpaceX = 0;
        Module1().SpaceY = 0;
        w.lookUp(0, QStringLiteral("字"));
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{0, 0}, {11, 15}}));
        // The earlier record keeps its placement.
        w.form->showRecord(2);
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{2, 2}}));
    }

    void aMessageWaitsWithTheRowsSoFarShownAndTheBarUp() {
        Window w;
        auto prompter = std::make_unique<WatchingPrompter>();
        w.form = std::make_unique<Form1>(w.dir.path(), prompter.get());
        int rowsAtMessage = -1;
        bool barVisible = false;
        QString shownAtMessage;
        prompter->onCritical = [&] {
            rowsAtMessage = w.form->glyphList().count();
            barVisible = !w.find(QStringLiteral("ProgressBar1"))->isHidden();
            shownAtMessage = w.label("Label3");
        };
        w.lookUp(1, QStringLiteral("样a字"));
        QCOMPARE(prompter->criticals.size(), 1);
        QCOMPARE(rowsAtMessage, 3);
        QVERIFY(barVisible);
        QCOMPARE(shownAtMessage, QStringLiteral("样"));
        QCOMPARE(w.form->glyphList().count(), 4);
        QVERIFY(w.find(QStringLiteral("ProgressBar1"))->isHidden());
        w.form.reset();
    }

    void focusGoesWhereTheFaultCanBeMended() {
        Window w;
        w.form->show();
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));

        w.lookUp(4, QStringLiteral("字"));
        QCOMPARE(QApplication::focusWidget(), w.Combo1());
        w.lookUp(1, QStringLiteral("a"));
        QCOMPARE(QApplication::focusWidget(), w.Text3());
        w.Combo1()->setFocus();
        w.lookUp(5, QStringLiteral("字"));
        QCOMPARE(QApplication::focusWidget(), w.Text3());
    }

    void aPassIsNotLimitedTo16Bits() {
        Window w;
        const QString input(33000, QChar(0x5B57)); // 字
        w.lookUp(1, input);
        QCOMPARE(w.Text3()->text().size(), input.size());
        QCOMPARE(w.form->glyphList().count(), 33002);
        QCOMPARE(w.form->CurrentIndex, 33002);
        QCOMPARE(w.label("Label2"), QStringLiteral("最近输入共： 33002个汉字"));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // A very long text is painted only around the cursor, but the box still holds, edits, copies and
    // looks up the whole of it.
    void aLongTextStaysWholeInTheInputBox() {
        Window w;
        QString input = QStringLiteral("样") + QString(200000, QChar(0x5B57)) + QStringLiteral("样");
        QLineEdit* box = w.Text3();
        box->setText(input);
        box->setFocus();
        box->end(false);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("字"), Qt::NoModifier);
        input += QStringLiteral("字");
        QCOMPARE(box->text(), input);
        box->home(false);
        QTest::keyClick(box, Qt::Key_Delete);
        input.remove(0, 1);
        QCOMPARE(box->text(), input);

        QApplication::clipboard()->clear();
        box->selectAll();
        box->copy();
        QCOMPARE(QApplication::clipboard()->text(), input);

        // The box paints something of the text (not an empty frame) wherever its cursor stands.
        const QImage empty = [&] {
            QLineEdit plain;
            plain.resize(box->size());
            return plain.grab().toImage();
        }();
        for (int at : {0, 100000, static_cast<int>(input.size())}) {
            box->setCursorPosition(at);
            QVERIFY2(box->grab().toImage() != empty, qPrintable(QString::number(at)));
        }

        // "查找" takes the whole text that is in the box.
        w.Combo1()->setCurrentIndex(1);
        w.form->runLookup();
        QCOMPARE(w.form->glyphList().count(), 2 + static_cast<int>(input.size()));
    }

    // A window whose program folder holds no library, nor the installed fonts folder beside it, names
    // both places with the missing library's message; once the installed folder holds the library,
    // the window reads it from there.
    void noLibraryInEitherPlaceNamesBoth() {
        QTemporaryDir root;
        const QString bin = root.filePath(QStringLiteral("bin"));
        const QString installed = root.filePath(QStringLiteral("share/hzdot/fonts"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(installed));
        ScriptedPrompter prompter;
        Form1 form(bin, &prompter); // looks up 样字 at start
        const QString both =
            message(hz::LookupStatus::LibraryMissing) +
            QStringLiteral("\n程序所在的文件夹（%1）和安装的字库文件夹（%2）里都没有字库文件。").arg(bin, installed);
        QCOMPARE(prompter.criticals, QStringList({both, both}));

        writeLibrary(installed, 1, {{kZi, cornerDots(32)}});
        prompter.criticals.clear();
        form.inputBox()->setText(QStringLiteral("字"));
        form.runLookup();
        QVERIFY(prompter.criticals.isEmpty());
        QCOMPARE(form.glyphList().count(), 1);
        QCOMPARE(form.glyphList().record(0).bytes(hz::Arrangement::Rows), cornerDots(32));

        // One library there: another one missing is told as before, without the two places.
        form.libraryChooser()->setCurrentIndex(3);
        form.runLookup();
        QCOMPARE(prompter.criticals, QStringList{message(hz::LookupStatus::LibraryMissing)});
    }
};

static GuiTestRegistration<Form1LookupTest> registration;
#include "test_form1.moc"
