// The main window's box of the layout chosen in the layout dialog (ChosenLayoutText): shown while
// that layout is Combo2's choice, holding what export current writes for the current record, and
// copied like the other text boxes.

#include "export_texts.h"
#include "file_bytes.h"
#include "gui_test_registry.h"
#include "layout_test_support.h"
#include "test_form1_fixture.h"

#include "gui/common/module1.h"
#include "gui/common/text_copy.h"
#include "gui/layoutdialog/layout_dialog.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/text_panel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace hz::gui;

using namespace form1test;
using namespace layouttest;

namespace {

QComboBox* combo2(const Window& w) {
    return w.find<QComboBox>(QStringLiteral("Combo2"));
}

QPlainTextEdit* chosenBox(const Window& w) {
    return w.box("ChosenLayoutText");
}

// Picks "自定义排列…" and chooses the layout in the dialog.
bool chooseInDialog(const Window& w, const hz::Layout& layout) {
    return inModal([&] { combo2(w)->setCurrentIndex(combo2(w)->count() - 1); },
                   [&](QDialog* dialog) {
                       auto* layoutDialog = qobject_cast<LayoutDialog*>(dialog);
                       QVERIFY(layoutDialog);
                       layoutDialog->chooseLayout(layout);
                       layoutDialog->accept();
                   });
}

// What "导出当前汉字点阵" writes now, as the file holds it.
QByteArray exportCurrent(Window& w, const QString& path) {
    w.prompter.fileAnswers << path; // the overwrite question is answered OK
    w.form->Command20Click(3);
    return guitest::readAll(path);
}

// A box's text as it would be written to an export file.
QByteArray asFile(const QPlainTextEdit* box) {
    return guitest::cp936(box->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

} // namespace

class ChosenLayoutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Module1() = ProgramSettings{}; }

    // Hidden while one of the five or "全部" is chosen; a layout from the dialog shows it, scrolled into
    // view, named, and holding export current's text; it hides again when an arrangement is chosen
    // and comes back with the layout's item.
    void theBoxShowsWhileALayoutIsChosen() {
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("current.TXT"));
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QScrollBar* scroll = w.form->textPanel()->scrollBar();
        QVERIFY(chosenBox(w));
        QVERIFY(!chosenBox(w)->isVisible());
        combo2(w)->setCurrentIndex(5); // 全部
        QVERIFY(!chosenBox(w)->isVisible());
        QCOMPARE(scroll->maximum(), 2);

        const hz::Layout layout = *hz::parseLayout("pages-lsb-invert");
        QVERIFY(chooseInDialog(w, layout));
        QVERIFY(chosenBox(w)->isVisible());
        QVERIFY(
            w.find<QLabel>(QStringLiteral("ChosenLayoutName"))->text().contains(QStringLiteral("pages-lsb-invert")));
        QCOMPARE(scroll->value(), scroll->maximum());
        // The whole box lies inside the panel's viewport.
        const QRect inPanel(chosenBox(w)->mapTo(w.form->textPanel(), QPoint()), chosenBox(w)->size());
        QVERIFY2(w.form->textPanel()->rect().contains(inPanel), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                               .arg(inPanel.x())
                                                                               .arg(inPanel.y())
                                                                               .arg(inPanel.width())
                                                                               .arg(inPanel.height())));
        QVERIFY(chosenBox(w)->toPlainText().startsWith(QStringLiteral(";字[16*16]pages-lsb-invert\n")));
        QCOMPARE(asFile(chosenBox(w)), exportCurrent(w, file));

        // "C格式" leaves it as it is: it holds both blocks.
        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
        QVERIFY(chosenBox(w)->isVisible());

        combo2(w)->setCurrentIndex(0);
        QVERIFY(!chosenBox(w)->isVisible());
        QCOMPARE(scroll->maximum(), 2);
        QVERIFY(scroll->value() <= 2);
        combo2(w)->setCurrentIndex(6);
        QVERIFY(chosenBox(w)->isVisible());
        QCOMPARE(asFile(chosenBox(w)), exportCurrent(w, file));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // Whichever record is current, of whichever size, the box holds what export current writes for
    // it; a second layout takes the first one's place; an empty list leaves the box empty.
    void theBoxFollowsTheCurrentRecord() {
        QTemporaryDir out;
        const QString file = out.filePath(QStringLiteral("current.TXT"));
        Window w;
        QVERIFY(chooseInDialog(w, *hz::parseLayout("columns-lsb-up")));
        w.lookUp(3, QStringLiteral("字"));
        QVERIFY(chosenBox(w)->toPlainText().startsWith(QStringLiteral(";字[24*24]columns-lsb-up\n")));
        QCOMPARE(asFile(chosenBox(w)), exportCurrent(w, file));

        w.form->selectRow(0);
        w.form->showRecord(0);
        QVERIFY(chosenBox(w)->toPlainText().startsWith(QStringLiteral(";样[16*16]columns-lsb-up\n")));
        QCOMPARE(asFile(chosenBox(w)), exportCurrent(w, file));

        QVERIFY(chooseInDialog(w, *hz::parseLayout("rows-lsb")));
        QVERIFY(chosenBox(w)->toPlainText().startsWith(QStringLiteral(";样[16*16]rows-lsb\n")));
        QCOMPARE(asFile(chosenBox(w)), exportCurrent(w, file));

        w.form->Command20Click(1); // delete all, answered OK
        QCOMPARE(w.form->glyphList().count(), 0);
        QVERIFY(chosenBox(w)->toPlainText().isEmpty());
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // "复制" copies the whole text; "复制为数组元素" the C block's fields as array elements.
    void theBoxCopiesLikeTheOthers() {
        Window w;
        QVERIFY(chooseInDialog(w, *hz::parseLayout("pages-msb")));
        QPlainTextEdit* box = chosenBox(w);
        QClipboard* clipboard = QGuiApplication::clipboard();

        clipboard->clear();
        box->findChild<QAction*>(QStringLiteral("CopyAll"))->trigger();
        QCOMPARE(clipboard->text(), box->toPlainText());

        // The fields are the lines between the C block's header and its "};".
        const QString text = box->toPlainText();
        const qsizetype header = text.indexOf(QStringLiteral("{//字[16*16]pages-msb\n"));
        QVERIFY(header > 0);
        const qsizetype first = text.indexOf(QLatin1Char('\n'), header) + 1;
        const QString fields = text.mid(first, text.lastIndexOf(QStringLiteral("};")) - first);
        QVERIFY(fields.startsWith(QStringLiteral("0x")));
        clipboard->clear();
        box->findChild<QAction*>(QStringLiteral("CopyArrayElements"))->trigger();
        QCOMPARE(clipboard->text(), arrayElements(fields));
    }
};

static GuiTestRegistration<ChosenLayoutBoxTest> registration;
#include "test_chosen_layout_box.moc"
