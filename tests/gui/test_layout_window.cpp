// The main window's layout choices: Combo2's items, export of "全部" and of a layout from the layout
// dialog through the window's own buttons, and the copy actions of the ten text boxes.

#include "export_texts.h"
#include "gui_test_registry.h"
#include "layout_test_support.h"
#include "test_form1_fixture.h"

#include "gui/common/module1.h"
#include "gui/layoutdialog/layout_dialog.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/text_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace hz::gui;

using namespace form1test;
using namespace layouttest;

namespace {

using guitest::cp936;
using guitest::readAll;

// The header lines of an export file, ";样[16*16]横排" and "{//样[16*16]横排", in their order.
QByteArrayList headerLines(const QByteArray& file) {
    QByteArrayList headers;
    for (const QByteArray& line : file.split('\n'))
        if (line.startsWith(';') || line.startsWith("{//"))
            headers << line.chopped(1); // the CR
    return headers;
}

QComboBox* combo2(const Window& w) {
    return w.find<QComboBox>(QStringLiteral("Combo2"));
}

QStringList items(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Picks "自定义排列…" and lets `act` work in the dialog it opens.
bool inLayoutDialog(const Window& w, const std::function<void(QDialog*)>& act) {
    return inModal([&] { combo2(w)->setCurrentIndex(combo2(w)->count() - 1); }, act);
}

// In the dialog: sets the switches to a layout, then clicks OK.
void chooseAndAccept(QDialog* dialog, const hz::Layout& layout) {
    auto* layoutDialog = qobject_cast<LayoutDialog*>(dialog);
    QVERIFY(layoutDialog);
    layoutDialog->chooseLayout(layout);
    layoutDialog->accept();
}

void exportThroughButton(Window& w, int index, const QString& path) {
    w.prompter.fileAnswers << path;
    w.form->Command20Click(index);
}

const QStringList kFive = {QStringLiteral("横排→→"), QStringLiteral("下上列排↑↑"), QStringLiteral("上下列排↓↓"),
                           QStringLiteral("下半列排↑↘"), QStringLiteral("上半列排↓↗")};

} // namespace

class LayoutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Module1() = ProgramSettings{}; }

    void combo2HasTheFiveThenAllThenTheDialog() {
        Window w;
        const QStringList expected = kFive + QStringList{QStringLiteral("全部"), QStringLiteral("自定义排列…")};
        QCOMPARE(items(combo2(w)), expected);
        QCOMPARE(combo2(w)->currentIndex(), 0);
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::of(hz::Arrangement::Rows));
        combo2(w)->setCurrentIndex(5);
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::all());
    }

    // "全部" writes the five arrangements one after another, and the views show what they did.
    void exportOfAllWritesTheFiveArrangements() {
        QTemporaryDir out;
        Window w;
        w.lookUp(3, QStringLiteral("字")); // a 24x24 record among the 16x16 ones
        const QString shownBefore = w.box("Text2")->toPlainText();
        combo2(w)->setCurrentIndex(5);
        QCOMPARE(w.box("Text2")->toPlainText(), shownBefore);

        exportThroughButton(w, 2, out.filePath(QStringLiteral("all.TXT")));
        exportThroughButton(w, 3, out.filePath(QStringLiteral("current.TXT")));

        QCOMPARE(w.form->glyphList().count(), 3);
        // Each arrangement in turn, 横排 first: the three records' assembly blocks, then their C blocks.
        QByteArrayList headers;
        for (const char* arrangement : {"横排", "下上列排", "上下列排", "下半列排", "上半列排"})
            for (const char* start : {";", "{//"})
                for (const char* record : {"样[16*16]", "字[16*16]", "字[24*24]"})
                    headers << cp936(QString::fromUtf8(start) + QString::fromUtf8(record) +
                                     QString::fromUtf8(arrangement));
        const QByteArray all = readAll(out.filePath(QStringLiteral("all.TXT")));
        QCOMPARE(headerLines(all), headers);
        // One block in full: 样's diagonal in 上半列排, the top bands of the columns first, top dot in bit 7.
        std::vector<std::uint8_t> halves(32, 0);
        for (int c = 0; c < 16; ++c)
            halves[static_cast<std::size_t>(c < 8 ? c : 16 + c)] = static_cast<std::uint8_t>(0x80 >> (c % 8));
        QVERIFY(all.contains(cp936(guitest::assemblyBlock({QStringLiteral("样[16*16]上半列排"), halves}))));

        // The current record in the five, a line break between them: 字's two corner dots in a
        // 24x24 cell, and no half-column bytes for a 72-byte glyph.
        std::vector<std::uint8_t> topDotLow(72, 0);
        topDotLow.front() = 0x01;
        topDotLow.back() = 0x80;
        const std::vector<guitest::ExportedRecord> five = {{QStringLiteral("字[24*24]横排"), cornerDots(72)},
                                                           {QStringLiteral("字[24*24]下上列排"), topDotLow},
                                                           {QStringLiteral("字[24*24]上下列排"), cornerDots(72)},
                                                           {QStringLiteral("字[24*24]下半列排"), {}},
                                                           {QStringLiteral("字[24*24]上半列排"), {}}};
        QStringList current;
        for (const guitest::ExportedRecord& record : five)
            current << guitest::exportCurrentText(record);
        QCOMPARE(readAll(out.filePath(QStringLiteral("current.TXT"))), cp936(current.join(QStringLiteral("\r\n"))));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // Cancelling the dialog keeps the choice before it; OK shows the layout as Combo2's item before
    // "自定义排列…" and exports write it; a second layout takes the first one's place.
    void aLayoutFromTheDialogBecomesTheChoice() {
        QTemporaryDir out;
        Window w;
        combo2(w)->setCurrentIndex(2);
        QVERIFY(inLayoutDialog(w, [](QDialog* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("LayoutDialog"));
            // It starts from the layout chosen before: 上下列排 is columns-msb.
            QCOMPARE(qobject_cast<LayoutDialog*>(dialog)->chosenLayout(), *hz::parseLayout("columns-msb"));
            dialog->reject();
        }));
        QCOMPARE(combo2(w)->currentIndex(), 2);
        QCOMPARE(combo2(w)->count(), 7);

        const hz::Layout first = *hz::parseLayout("pages-lsb-invert");
        QVERIFY(inLayoutDialog(w, [&](QDialog* dialog) { chooseAndAccept(dialog, first); }));
        const QStringList withLayout = kFive + QStringList{QStringLiteral("全部"), QStringLiteral("pages-lsb-invert"),
                                                           QStringLiteral("自定义排列…")};
        QCOMPARE(items(combo2(w)), withLayout);
        QCOMPARE(combo2(w)->currentText(), QStringLiteral("pages-lsb-invert"));
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::of(first));

        exportThroughButton(w, 3, out.filePath(QStringLiteral("current.TXT")));
        const QByteArray current = readAll(out.filePath(QStringLiteral("current.TXT")));
        // 字's corner dots, inverted: the top left dot is bit 0 of the first byte, the bottom right
        // bit 7 of the last.
        std::vector<std::uint8_t> inverted(32, 0xFF);
        inverted.front() = 0xFE;
        inverted.back() = 0x7F;
        QCOMPARE(current, cp936(guitest::exportCurrentText({QStringLiteral("字[16*16]pages-lsb-invert"), inverted})));

        const hz::Layout second = *hz::parseLayout("rows-lsb-left");
        QVERIFY(inLayoutDialog(w, [&](QDialog* dialog) {
            QCOMPARE(qobject_cast<LayoutDialog*>(dialog)->chosenLayout(), first);
            chooseAndAccept(dialog, second);
        }));
        QCOMPARE(items(combo2(w)).mid(5),
                 QStringList({QStringLiteral("全部"), QStringLiteral("rows-lsb-left"), QStringLiteral("自定义排列…")}));
        exportThroughButton(w, 2, out.filePath(QStringLiteral("all.TXT")));
        // Mirrored, a row's leftmost dot in bit 0: 样's dot of row r lands in column 15 - r.
        std::vector<std::uint8_t> yang(32, 0);
        for (int r = 0; r < 16; ++r) {
            const int c = 15 - r;
            yang[static_cast<std::size_t>(2 * r + c / 8)] = static_cast<std::uint8_t>(1 << (c % 8));
        }
        std::vector<std::uint8_t> zi(32, 0);
        zi[1] = 0x80;
        zi[30] = 0x01;
        QCOMPARE(readAll(out.filePath(QStringLiteral("all.TXT"))),
                 cp936(guitest::exportAllText({{QStringLiteral("样[16*16]rows-lsb-left"), yang},
                                               {QStringLiteral("字[16*16]rows-lsb-left"), zi}})));

        // Back to an arrangement and to the layout again: the item stays and keeps its layout.
        combo2(w)->setCurrentIndex(0);
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::of(hz::Arrangement::Rows));
        combo2(w)->setCurrentIndex(6);
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::of(second));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // The dialog previews the record shown in the window; with an empty list it still opens.
    void theDialogShowsTheCurrentRecord() {
        Window w;
        w.form->selectRow(0);
        w.form->showRecord(0);
        QVERIFY(inLayoutDialog(w, [](QDialog* dialog) {
            auto* preview = dialog->findChild<QPlainTextEdit*>(QStringLiteral("AsmPreview"));
            QVERIFY(preview->toPlainText().startsWith(QStringLiteral(";样[16*16]rows-msb\n")));
        }));
        w.form->Command20Click(1); // delete all, answered OK
        QCOMPARE(w.form->glyphList().count(), 0);
        QVERIFY(inLayoutDialog(w, [](QDialog* dialog) {
            QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("CopyAsm"))->isEnabled());
        }));
    }

    // Every one of the ten boxes copies its whole text, by its menu entry and by Ctrl+C with nothing
    // selected; with a selection Ctrl+C copies just that.
    void eachTextBoxCopiesItsWholeText_data() {
        QTest::addColumn<QString>("box");
        for (const char* name :
             {"Text2", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text10", "Text11", "Text12"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void eachTextBoxCopiesItsWholeText() {
        QFETCH(QString, box);
        Window w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        auto* edit = w.find<QPlainTextEdit>(box);
        QVERIFY(edit);
        edit->show(); // the C set is hidden until "C格式"
        const QString whole = edit->toPlainText();
        QVERIFY(!whole.isEmpty());
        QClipboard* clipboard = QGuiApplication::clipboard();

        clipboard->clear();
        auto* copyAll = edit->findChild<QAction*>(QStringLiteral("CopyAll"));
        QVERIFY(copyAll);
        QCOMPARE(copyAll->text(), QStringLiteral("复制"));
        copyAll->trigger();
        QCOMPARE(clipboard->text(), whole);

        clipboard->clear();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), whole);

        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), whole.left(4));

        // Only the C boxes offer the array form.
        const bool cBox = box.mid(4).toInt() >= 8;
        QCOMPARE(edit->findChild<QAction*>(QStringLiteral("CopyArrayElements")) != nullptr, cBox);
    }

    // What "复制为数组元素" copies compiles between "{" and "}", one glyph after another.
    void arrayElementsCompileInsideAnInitialiser() {
        const QString compiler = QStandardPaths::findExecutable(QStringLiteral("cc"));
        Window w;
        w.lookUp(3, QStringLiteral("字"));
        QClipboard* clipboard = QGuiApplication::clipboard();
        QString elements;
        int glyphs = 0;
        for (int row = 0; row < w.form->glyphList().count(); ++row) {
            w.form->showRecord(row);
            for (const char* name : {"Text8", "Text11"}) {
                clipboard->clear();
                w.box(name)->findChild<QAction*>(QStringLiteral("CopyArrayElements"))->trigger();
                const QString copied = clipboard->text();
                const QString fields = w.box(name)->toPlainText();
                // No header line, no braces; a 24x24 record has no half-column text and copies none.
                QVERIFY(!copied.contains(QLatin1Char('{')) && !copied.contains(QLatin1Char('}')));
                QCOMPARE(copied.isEmpty(), fields.isEmpty());
                if (!copied.isEmpty()) {
                    QCOMPARE(copied, fields + QStringLiteral(",\n"));
                    ++glyphs;
                }
                elements += copied;
            }
        }
        QCOMPARE(glyphs, 5);
        if (compiler.isEmpty())
            QSKIP("no C compiler here");
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("glyphs.c"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("static const unsigned char glyphs[] = {\n" + elements.toUtf8() +
                   "};\nint main(void) { return (int)sizeof glyphs; }\n");
        file.close();
        QProcess cc;
        cc.start(compiler,
                 {QStringLiteral("-std=c99"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                  QStringLiteral("-Werror"), QStringLiteral("-pedantic"), QStringLiteral("-fsyntax-only"), source});
        QVERIFY(cc.waitForFinished(60000));
        QVERIFY2(cc.exitCode() == 0, cc.readAllStandardError().constData());
    }
};

static GuiTestRegistration<LayoutWindowTest> registration;
#include "test_layout_window.moc"
