// The main window driven as a user drives it, through its controls by name: deleting records, exporting
// them, the key panel in both modes, and the three side windows with what the designer hands back.

#include "export_texts.h"
#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "gui/common/module1.h"
#include "gui/designer/form3.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/key_panel.h"

#include <QAbstractButton>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

using namespace hz::gui;

using namespace form1test;
using guitest::cp936;

namespace {

const char* const kTextBoxes[] = {"Text2", "Text4", "Text5",  "Text6",  "Text7",
                                  "Text8", "Text9", "Text10", "Text11", "Text12"};

// The window shown and active, so that clicks and focus behave as on a desktop.
void showWindow(Window& w) {
    w.form->show();
    w.form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
}

// Clicks a control by name; false when the window has no such control.
bool click(const Window& w, const QString& name) {
    QWidget* control = w.find(name);
    if (!control)
        return false;
    QTest::mouseClick(control, Qt::LeftButton);
    // Lets the list's queued reactions to removed and selected rows run, as the event loop would.
    QCoreApplication::processEvents();
    return true;
}

// The symbol key with this caption.
bool clickKey(const Window& w, const QString& symbol) {
    for (QPushButton* key : w.form->keyPanel()->findChildren<QPushButton*>()) {
        if (key->objectName().startsWith(QStringLiteral("Command4(")) && key->text() == symbol) {
            QTest::mouseClick(key, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

void clickRow(const Window& w, int row) {
    QTreeView* view = w.form->listView();
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
}

QString characters(const Window& w) {
    QString text;
    for (const hz::GlyphRecord& record : w.form->glyphList().records())
        text += QString::fromStdString(record.character);
    return text;
}

// Everything a deletion may change, as the user sees it.
QStringList visibleState(const Window& w) {
    QStringList state{characters(w),
                      QString::number(w.form->CurrentIndex),
                      QString::number(w.form->listView()->currentIndex().row()),
                      w.label("Label2"),
                      w.label("Label3"),
                      w.label("Label6"),
                      w.form->dotView()->text(),
                      w.form->dotView()->toPlainText()};
    for (const char* box : kTextBoxes)
        state << w.box(box)->toPlainText();
    return state;
}

bool viewIsBlank(const Window& w) {
    bool blank = w.form->dotView()->text().isEmpty() && w.form->dotView()->toPlainText().isEmpty() &&
                 w.label("Label3").isEmpty() && w.form->CurrentIndex == 0;
    for (const char* box : kTextBoxes)
        blank = blank && w.box(box)->toPlainText().isEmpty();
    return blank;
}

// "open" or "closed"; the shadow goes with the panel, always.
QString panel(const Window& w) {
    QWidget* shadow = w.find(QStringLiteral("Picture2"));
    const bool open = w.form->keyPanel()->isOpen();
    if (!shadow || shadow->isHidden() == open)
        return QStringLiteral("shadow out of step");
    return open ? QStringLiteral("open") : QStringLiteral("closed");
}

QString countText(int n) {
    return QStringLiteral("最近输入共： %1个汉字").arg(n);
}

// What a side window looked like while it was up.
struct SideWindowSeen {
    bool seen = false;
    QString className;
    QString title;
    bool modal = false;
    bool normalPointer = false;
    bool keyPanelHidden = false;
};

// Clicks a control that opens a modal window, waits for the window, notes what it was, lets `act`
// work in it, and closes it if it is still open. A click that opens nothing returns at once with
// `seen` false; a window that never shows as the modal one is closed after a few seconds.
SideWindowSeen clickOpeningModal(const Window& w, const QString& name, const std::function<void(QWidget*)>& act = {}) {
    SideWindowSeen seen;
    QTimer poll;
    int ticks = 0;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++ticks > 300) {
                poll.stop();
                for (QDialog* dialog : w.form->findChildren<QDialog*>())
                    dialog->reject();
            }
            return;
        }
        poll.stop();
        seen.seen = true;
        seen.className = QString::fromLatin1(modal->metaObject()->className());
        seen.title = modal->windowTitle();
        seen.modal = modal->isModal();
        seen.normalPointer = QApplication::overrideCursor() == nullptr;
        seen.keyPanelHidden = !w.form->keyPanel()->isOpen();
        if (act)
            act(modal);
        if (modal->isVisible())
            modal->close();
    });
    poll.start();
    click(w, name);
    poll.stop();
    return seen;
}

// 样's diagonal by column, top band first: the bytes of the two column arrangements.
std::vector<std::uint8_t> diagonalColumns(bool topBitHigh) {
    // Columns 9..16 have their dot in the lower band, the second byte of the column.
    std::vector<std::uint8_t> bytes(32, 0);
    for (int c = 0; c < 16; ++c) {
        const int bit = c % 8;
        bytes[static_cast<std::size_t>(2 * c + c / 8)] =
            static_cast<std::uint8_t>(topBitHigh ? 0x80 >> bit : 0x01 << bit);
    }
    return bytes;
}

} // namespace

class Form1ActionsTest : public QObject {
    Q_OBJECT

private slots:
    // The settings are the program's one instance; the tests that follow expect their start values.
    void cleanup() { Module1() = ProgramSettings{}; }

    // The record after the deleted one takes its place; after the last, the one before it.
    void deletingTheCurrentRecordShowsTheOneTakingItsPlace_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("nowCurrent");
        QTest::newRow("first of three") << 1 << QStringLiteral("字，") << 1;
        QTest::newRow("second of three") << 2 << QStringLiteral("样，") << 2;
        QTest::newRow("third of three") << 3 << QStringLiteral("样字") << 2;
    }

    void deletingTheCurrentRecordShowsTheOneTakingItsPlace() {
        QFETCH(int, current);
        QFETCH(QString, left);
        QFETCH(int, nowCurrent);

        Window w;
        showWindow(w);
        w.lookUp(1, QStringLiteral("，"));
        clickRow(w, current - 1);
        QCOMPARE(w.form->CurrentIndex, current);

        QVERIFY(click(w, QStringLiteral("Command20(8)")));
        QCOMPARE(w.prompter.questions, QStringList{QStringLiteral("确认是否删除该点阵？")});
        QCOMPARE(characters(w), left);
        QCOMPARE(w.form->CurrentIndex, nowCurrent);
        QCOMPARE(w.form->listView()->currentIndex().row(), nowCurrent - 1);
        QVERIFY(w.form->listView()->selectionModel()->isRowSelected(nowCurrent - 1, QModelIndex()));
        QCOMPARE(w.label("Label2"), countText(2));

        const hz::GlyphRecord& shownRecord = w.form->glyphList().record(nowCurrent - 1);
        QCOMPARE(w.label("Label3"), QString::fromStdString(shownRecord.character));
        QCOMPARE(w.box("Text2")->toPlainText(), shown(shownRecord.assemblyText(0)));
        QCOMPARE(w.box("Text12")->toPlainText(), shown(shownRecord.cText(4)));
        QCOMPARE(w.form->dotView()->text(),
                 shownRecord.character == "样" ? expectedView(16, diagonal()) : expectedView(16, {{0, 0}, {15, 15}}));
    }

    void emptyingTheListBlanksTheViewAndALookupStartsAgain() {
        Window w;
        showWindow(w);
        // Emptied: the view blank, the count at 0, the size label keeping what it last said.
        const auto emptied = [&](const QString& sizeLabel) {
            QCOMPARE(w.form->glyphList().count(), 0);
            QVERIFY(viewIsBlank(w));
            QCOMPARE(w.label("Label2"), countText(0));
            QCOMPARE(w.label("Label6"), sizeLabel);
        };
        // A lookup fills the list afresh, its last record current.
        const auto lookedUp = [&](int library, const QString& text) {
            w.lookUp(library, text);
            QCOMPARE(characters(w), text);
            QCOMPARE(w.form->CurrentIndex, text.size());
            QCOMPARE(w.form->listView()->currentIndex().row(), text.size() - 1);
            QCOMPARE(w.label("Label3"), text.right(1));
            QCOMPARE(w.label("Label2"), countText(text.size()));
        };

        QVERIFY(click(w, QStringLiteral("Command20(1)")));
        QCOMPARE(w.prompter.questions, QStringList{QStringLiteral("确认是否删除全部点阵？")});
        emptied(QStringLiteral("当前汉字点阵:16*16"));
        lookedUp(3, QStringLiteral("字"));

        // The only record deleted: the view goes blank as well.
        QVERIFY(click(w, QStringLiteral("Command20(8)")));
        emptied(QStringLiteral("当前汉字点阵:24*24"));
        lookedUp(1, QStringLiteral("样字"));
        QCOMPARE(w.prompter.questions.size(), 2);
    }

    void cancelInADeletionQuestionKeepsEverything_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("question");
        QTest::newRow("delete all") << 1 << QStringLiteral("确认是否删除全部点阵？");
        QTest::newRow("delete current") << 8 << QStringLiteral("确认是否删除该点阵？");
    }

    void cancelInADeletionQuestionKeepsEverything() {
        QFETCH(int, index);
        QFETCH(QString, question);
        Window w;
        showWindow(w);
        clickRow(w, 0);
        const QStringList before = visibleState(w);

        w.prompter.questionAnswers << false;
        QVERIFY(click(w, QStringLiteral("Command20(%1)").arg(index)));
        QCOMPARE(w.prompter.questions, QStringList{question});
        QCOMPARE(visibleState(w), before);
    }

    void anEmptyListAsksAndOpensNothing() {
        Window w(Libraries::None);
        showWindow(w);
        QCOMPARE(w.form->glyphList().count(), 0);
        w.prompter.log.clear();

        for (int index : {8, 1, 2, 3})
            QVERIFY(click(w, QStringLiteral("Command20(%1)").arg(index)));
        QVERIFY(click(w, QStringLiteral("Command21")));
        QVERIFY(w.prompter.log.isEmpty());
        QCOMPARE(panel(w), QStringLiteral("closed"));

        // Nothing changes, not even a panel already open in insert mode.
        QVERIFY(click(w, QStringLiteral("Command3")));
        QCOMPARE(panel(w), QStringLiteral("open"));
        QVERIFY(click(w, QStringLiteral("Command21")));
        QCOMPARE(panel(w), QStringLiteral("open"));
        QCOMPARE(w.form->keyPanel()->KeyPanelMode(), int(KeyPanel::InsertMode));
        QCOMPARE(w.form->keyPanel()->pos(), QPoint(112, 136));
    }

    void exportAllWritesEveryRecordInTheChosenArrangement() {
        Window w;
        showWindow(w);
        const QString path = w.dir.filePath(QStringLiteral("all.txt"));
        w.prompter.fileAnswers << path;
        w.find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(2); // 上下列排↓↓
        QVERIFY(click(w, QStringLiteral("Command20(2)")));

        const QByteArray expected = cp936(guitest::exportAllText({
            {QStringLiteral("样[16*16]上下列排"), diagonalColumns(true)},
            {QStringLiteral("字[16*16]上下列排"), cornerDots(32)},
        }));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
        QVERIFY(w.prompter.criticals.isEmpty());
        QCOMPARE(w.form->CurrentIndex, 2);
    }

    void exportCurrentWritesTheRecordShown() {
        Window w;
        showWindow(w);
        clickRow(w, 0);
        const QString path = w.dir.filePath(QStringLiteral("current"));
        w.prompter.fileAnswers << path;
        w.find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(1); // 下上列排↑↑
        QVERIFY(click(w, QStringLiteral("Command20(3)")));

        const QByteArray expected =
            cp936(guitest::exportCurrentText({QStringLiteral("样[16*16]下上列排"), diagonalColumns(false)}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
        QCOMPARE(w.prompter.log, QStringList{QStringLiteral("save")});
        QCOMPARE(w.form->CurrentIndex, 1);
    }

    void symbolKeysTypeIntoTheInputBoxAndEnterLooksUp() {
        Window w;
        showWindow(w);
        w.Text3()->setText(QStringLiteral("样字"));
        w.Text3()->setCursorPosition(1);

        QVERIFY(click(w, QStringLiteral("Command3")));
        QCOMPARE(panel(w), QStringLiteral("open"));
        QCOMPARE(w.form->keyPanel()->KeyPanelMode(), int(KeyPanel::InsertMode));
        QVERIFY(!w.find(QStringLiteral("Command5(2)"))->isHidden());
        QCOMPARE(QApplication::focusWidget(), w.Text3());

        QVERIFY(clickKey(w, QStringLiteral("【")));
        QCOMPARE(w.Text3()->text(), QStringLiteral("样【字"));
        QCOMPARE(w.Text3()->cursorPosition(), 2);
        QCOMPARE(panel(w), QStringLiteral("open"));
        QCOMPARE(QApplication::focusWidget(), w.Text3());

        // Enter adds the records 查找 would add, and the lookup closes the panel.
        QTest::keyClick(w.Text3(), Qt::Key_Return);
        QCOMPARE(characters(w), QStringLiteral("样字样【字"));
        QCOMPARE(w.form->CurrentIndex, 5);
        QCOMPARE(w.label("Label2"), countText(5));
        QCOMPARE(panel(w), QStringLiteral("closed"));
        QVERIFY(click(w, QStringLiteral("Command1")));
        QCOMPARE(characters(w), QStringLiteral("样字样【字样【字"));
        for (int k = 2; k < 5; ++k)
            QVERIFY(w.form->glyphList().record(k + 3).dots == w.form->glyphList().record(k).dots);
    }

    void clicksElsewhereCloseThePanel_data() {
        QTest::addColumn<QString>("where");
        for (int index = 1; index <= 8; ++index)
            QTest::addRow("Command20(%d)", index) << QStringLiteral("Command20(%1)").arg(index);
        QTest::newRow("a list row") << QStringLiteral("row");
        QTest::newRow("the dot view") << QStringLiteral("Text1");
        QTest::newRow("a text box") << QStringLiteral("Text9");
        QTest::newRow("the count label") << QStringLiteral("Label2");
        QTest::newRow("the list's frame") << QStringLiteral("Frame2");
        QTest::newRow("the text panel") << QStringLiteral("Picture5");
        QTest::newRow("a lookup") << QStringLiteral("Command1");
        QTest::newRow("the other mode's button") << QStringLiteral("other");
    }

    void clicksElsewhereCloseThePanel() {
        QFETCH(QString, where);
        Window w;
        showWindow(w);
        // Every question is cancelled, so no click here deletes or closes anything.
        w.prompter.questionAnswers << false << false;
        for (const QString& opener : {QStringLiteral("Command3"), QStringLiteral("Command21")}) {
            QVERIFY(click(w, opener));
            QCOMPARE(panel(w), QStringLiteral("open"));
            if (where == QStringLiteral("other")) {
                // The other button sets its mode first, then finds the panel open and closes it.
                const bool toMark = opener == QStringLiteral("Command3");
                QVERIFY(click(w, toMark ? QStringLiteral("Command21") : QStringLiteral("Command3")));
                QCOMPARE(w.form->keyPanel()->KeyPanelMode(), int(toMark ? KeyPanel::MarkMode : KeyPanel::InsertMode));
            } else if (where == QStringLiteral("row")) {
                clickRow(w, 0);
            } else if (where == QStringLiteral("Text1") || where == QStringLiteral("Text9")) {
                QTest::mouseClick(w.box(qPrintable(where))->viewport(), Qt::LeftButton);
            } else {
                QVERIFY(click(w, where));
            }
            QCOMPARE(panel(w) + opener, QStringLiteral("closed") + opener);
        }
        QVERIFY(w.form->isVisible());
        QVERIFY(w.form->glyphList().count() >= 2);
    }

    void aChosenMarkRedrawsTheViewAndTheDesignerUsesIt() {
        Window w;
        showWindow(w);
        QVERIFY(click(w, QStringLiteral("Command21")));
        QVERIFY(clickKey(w, QStringLiteral("★")));
        QCOMPARE(Module1().DotMark, QStringLiteral("★"));
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{0, 0}, {15, 15}}, QStringLiteral("★")));
        QCOMPARE(panel(w), QStringLiteral("open"));
        const QString labels = w.label("Label3") + w.label("Label2");

        QString preview;
        const SideWindowSeen seen = clickOpeningModal(w, QStringLiteral("Command20(10)"), [&](QWidget* modal) {
            if (auto* designer = qobject_cast<Form3*>(modal))
                preview = designer->previewText();
        });
        QVERIFY(seen.seen);
        QVERIFY(seen.keyPanelHidden);
        QVERIFY(preview.contains(QStringLiteral("★")));
        QVERIFY(!preview.contains(QStringLiteral("■")));
        QCOMPARE(w.label("Label3") + w.label("Label2"), labels);
    }

    void sideWindowsOpenModallyAndLeaveTheNormalPointer_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::newRow("meters") << 9 << QStringLiteral("Form14") << QStringLiteral("ads");
        QTest::newRow("designer") << 10 << QStringLiteral("Form3")
                                  << QStringLiteral("设计12*12字符按照16*16字符处理的方案");
        QTest::newRow("help") << 11 << QStringLiteral("Form13") << QStringLiteral("帮助");
    }

    void sideWindowsOpenModallyAndLeaveTheNormalPointer() {
        QFETCH(int, index);
        QFETCH(QString, className);
        QFETCH(QString, title);
        Window w;
        showWindow(w);
        QVERIFY(click(w, QStringLiteral("Command3")));
        const QStringList before = visibleState(w);

        const SideWindowSeen seen = clickOpeningModal(w, QStringLiteral("Command20(%1)").arg(index));
        QVERIFY(seen.seen);
        QCOMPARE(seen.className, className);
        QCOMPARE(seen.title, title);
        QVERIFY(seen.modal);
        QVERIFY(seen.normalPointer);
        QVERIFY(seen.keyPanelHidden);

        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        // Loaded afresh at every opening: nothing of the closed window stays behind.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.form->findChildren<QDialog*>().isEmpty());
        QCOMPARE(visibleState(w), before);
        QVERIFY(w.prompter.log.isEmpty());
    }

    void aConfirmedSpacingPlacesTheNextTwelveByTwelveLookup() {
        Window w;
        showWindow(w);
        const SideWindowSeen seen = clickOpeningModal(w, QStringLiteral("Command20(10)"), [](QWidget* modal) {
            for (const char* name :
                 {"RainButton1(0)", "RainButton1(0)", "RainButton1(3)", "RainButton1(3)", "RainButton2(0)"})
                if (auto* button = modal->findChild<QAbstractButton*>(QString::fromLatin1(name)))
                    QTest::mouseClick(button, Qt::LeftButton);
        });
        QVERIFY(seen.seen);
        QCOMPARE(Module1().SpaceX, 0);
        QCOMPARE(Module1().SpaceY, 4);
        // Records already in the list keep their placement.
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{0, 0}, {15, 15}}));

        w.Combo1()->setCurrentIndex(0);
        w.Text3()->setText(QStringLiteral("字"));
        QVERIFY(click(w, QStringLiteral("Command1")));
        QCOMPARE(w.label("Label6"), QStringLiteral("当前汉字点阵:12*12"));
        // The 12x12 record's first dot four rows down, its last (beyond the twelfth column) at the corner.
        QCOMPARE(w.form->dotView()->text(), expectedView(16, {{4, 0}, {15, 15}}));
    }
};

static GuiTestRegistration<Form1ActionsTest> registration;
#include "test_form1_actions.moc"
