// The layout dialog's "匹配我的驱动" page in the window: a glyph pasted from firmware in any of the
// three styles is matched against the window's own glyph of the character, and "使用" makes the
// layout found the window's choice.

#include "gui_test_registry.h"
#include "layout_test_support.h"
#include "test_form1_fixture.h"

#include "core/layout/layout.h"
#include "core/library/glyph_reader.h"
#include "core/text/byte_text.h"
#include "gui/common/module1.h"
#include "gui/layoutdialog/layout_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace hz::gui;

using namespace form1test;
using namespace layouttest;

namespace {

// 样 as the library draws it in these tests: no mirror or transpose of it looks the same.
const char* const kGlyph[16] = {
    "1111111100000000", "1000000000000000", "1000000000000000", "1111110000000000",
    "1000000000000000", "1000000000000000", "1000000000001100", "1000000000001100",
    "0000000000000000", "0000011111111110", "0000010000000000", "0000010000000000",
    "0000010000000000", "0000010000000000", "0000000000000000", "0000000000000001",
};

hz::DotCell glyphCell() {
    hz::DotCell cell(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            cell.setDot(x, y, kGlyph[y][x] == '1');
    return cell;
}

// The glyph's bytes in a layout, written as a user's firmware source might hold them.
QString pasted(const QString& style, const hz::Layout& layout) {
    const std::vector<std::uint8_t> bytes = hz::encodeCell(glyphCell(), layout);
    if (style == QLatin1String("C"))
        return QStringLiteral("// 样 16x16\nstatic const unsigned char yang[32] = {\n%1\n};\n")
            .arg(QString::fromStdString(hz::cText(bytes)));
    if (style == QLatin1String("assembly"))
        return QStringLiteral("; 样\nYANG: ") + QString::fromStdString(hz::assemblyText(bytes));
    QString hex;
    for (std::uint8_t byte : bytes)
        hex += QStringLiteral("%1 ").arg(byte, 2, 16, QLatin1Char('0'));
    return hex;
}

struct MatchSeen {
    QString message;
    QStringList items;
    bool iconsShown = true;
    bool useEnabled = false;
    int result = -1;
};

// Opens the dialog from Combo2, pastes, asks for 样, matches, and clicks "使用" if it can.
MatchSeen matchInDialog(Window& w, const QString& paste, const QString& character = QStringLiteral("样")) {
    MatchSeen seen;
    auto* combo = w.find<QComboBox>(QStringLiteral("Combo2"));
    const bool opened =
        inModal([&] { combo->setCurrentIndex(combo->count() - 1); },
                [&](QDialog* dialog) {
                    dialog->findChild<QPlainTextEdit*>(QStringLiteral("PasteBox"))->setPlainText(paste);
                    dialog->findChild<QLineEdit*>(QStringLiteral("PasteChar"))->setText(character);
                    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("MatchButton")), Qt::LeftButton);
                    seen.message = dialog->findChild<QLabel*>(QStringLiteral("MatchMessage"))->text();
                    auto* list = dialog->findChild<QListWidget*>(QStringLiteral("MatchList"));
                    for (int row = 0; row < list->count(); ++row) {
                        seen.items << list->item(row)->text();
                        seen.iconsShown = seen.iconsShown && !list->item(row)->icon().isNull();
                    }
                    auto* use = dialog->findChild<QPushButton*>(QStringLiteral("UseButton"));
                    seen.useEnabled = use->isEnabled();
                    if (use->isEnabled())
                        QTest::mouseClick(use, Qt::LeftButton);
                    seen.result = dialog->isVisible() ? -1 : dialog->result();
                });
    if (!opened)
        seen.message = QStringLiteral("<no dialog>");
    return seen;
}

} // namespace

class MatchPageTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Module1() = ProgramSettings{}; }

    // Each paste style in layouts of every scan: the layout found first is the one pasted, and "使用"
    // makes it the window's choice.
    void aPasteIsMatchedAndUsed_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("layout");
        for (const char* style : {"C", "assembly", "bare hex"})
            for (const char* layout : {"pages-lsb-invert", "rows-lsb", "columns-msb-up-left", "rows-msb"})
                QTest::addRow("%s, %s", style, layout) << QString::fromLatin1(style) << QString::fromLatin1(layout);
    }
    void aPasteIsMatchedAndUsed() {
        QFETCH(QString, style);
        QFETCH(QString, layout);
        Window w;
        writeLibrary(w.dir.path(), 1, {{kYang, glyphCell().rowBytes()}});
        const hz::Layout expected = *hz::parseLayout(layout.toStdString());

        const MatchSeen seen = matchInDialog(w, pasted(style, expected));

        QVERIFY2(!seen.items.isEmpty() && seen.items.size() <= 3, qPrintable(seen.message));
        QVERIFY2(seen.items.front().startsWith(layout + QLatin1Char(' ')), qPrintable(seen.items.front()));
        QVERIFY2(seen.items.front().contains(QStringLiteral("1.000")), qPrintable(seen.items.front()));
        QVERIFY(seen.iconsShown);
        QVERIFY(seen.useEnabled);
        QCOMPARE(seen.result, int(QDialog::Accepted));
        QCOMPARE(w.find<QComboBox>(QStringLiteral("Combo2"))->currentText(), layout);
        QCOMPARE(w.form->layoutChoice(), hz::LayoutChoice::of(expected));
        // The window shows the current record in the layout used.
        const QPlainTextEdit* chosen = w.box("ChosenLayoutText");
        QVERIFY(!chosen->isHidden());
        QVERIFY2(chosen->toPlainText().startsWith(QStringLiteral(";字[16*16]") + layout + QLatin1Char('\n')),
                 qPrintable(chosen->toPlainText()));
    }

    // A preset's drivers are named beside its layout.
    void presetsAndDriversAreShown() {
        Window w;
        writeLibrary(w.dir.path(), 1, {{kYang, glyphCell().rowBytes()}});
        const MatchSeen seen = matchInDialog(w, pasted(QStringLiteral("C"), *hz::parseLayout("pages-lsb")));
        QVERIFY(!seen.items.isEmpty());
        QVERIFY2(seen.items.front().contains(QStringLiteral("ssd1306")), qPrintable(seen.items.front()));
        QVERIFY2(seen.items.front().contains(QStringLiteral("KS0108")), qPrintable(seen.items.front()));
    }

    // A character that looks the same mirrored cannot tell the mirrors apart: the page says so and
    // asks for another, but the user may still use what it found.
    void aSymmetricCharacterIsSaidToBeAmbiguous() {
        hz::DotCell tee(16, 16);
        for (int x = 1; x < 15; ++x)
            tee.setDot(x, 1);
        for (int y = 1; y < 15; ++y) {
            tee.setDot(7, y);
            tee.setDot(8, y);
        }
        Window w;
        writeLibrary(w.dir.path(), 1, {{kYang, tee.rowBytes()}});
        const std::vector<std::uint8_t> bytes = hz::encodeCell(tee, *hz::parseLayout("rows-msb"));
        const MatchSeen seen = matchInDialog(w, QString::fromStdString(hz::cText(bytes)));
        QVERIFY2(seen.message.contains(QStringLiteral("翻转")), qPrintable(seen.message));
        QVERIFY2(seen.message.contains(QStringLiteral("我")), qPrintable(seen.message));
        QVERIFY(seen.items.size() >= 2);
        QVERIFY(seen.useEnabled);
    }

    // Bytes that draw nothing like the character are still listed, with a word that none looks
    // like it.
    void bytesUnlikeTheCharacterAreSaidToBe() {
        Window w;
        writeLibrary(w.dir.path(), 1, {{kYang, glyphCell().rowBytes()}});
        std::vector<std::uint8_t> noise;
        for (unsigned v = 12345, i = 0; i < 32; ++i, v = v * 1103515245 + 12345)
            noise.push_back(static_cast<std::uint8_t>(v >> 16));
        const MatchSeen seen = matchInDialog(w, QString::fromStdString(hz::cText(noise)));
        QVERIFY2(seen.message.contains(QStringLiteral("没有哪种排列画出的字明显像这个字")), qPrintable(seen.message));
        QCOMPARE(seen.items.size(), 3);
    }

    // The firmware's font may draw the character unlike the chosen library: the page compares the
    // paste with the other libraries of the program's folder too, as the command line does.
    void anotherLibrarysDrawingIsRecognised() {
        Window w;
        writeLibrary(w.dir.path(), 1, {{kYang, glyphCell().rowBytes()}});
        hz::DotCell other(16, 16);
        for (int i = 0; i < 16; ++i) {
            other.setDot(i, 15 - i);
            other.setDot(i, 7);
            other.setDot(2, i);
        }
        other.setDot(13, 1);
        other.setDot(14, 1);
        writeLibrary(w.dir.path(), 2, {{kYang, other.rowBytes()}});
        const hz::Layout layout = *hz::parseLayout("pages-lsb");
        const MatchSeen seen = matchInDialog(w, QString::fromStdString(hz::cText(hz::encodeCell(other, layout))));
        QVERIFY(!seen.items.isEmpty());
        QVERIFY2(seen.items.front().startsWith(QStringLiteral("pages-lsb ")), qPrintable(seen.items.front()));
        QVERIFY2(seen.items.front().contains(QStringLiteral("1.000")), qPrintable(seen.items.front()));
        QVERIFY2(!seen.message.contains(QStringLiteral("没有哪种排列")), qPrintable(seen.message));
    }

    // What cannot be matched is said on the page; nothing is offered for use and the choice stays.
    void refusalsAreToldAndChangeNothing_data() {
        QTest::addColumn<QString>("paste");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("library");
        QTest::addColumn<QString>("said");
        QTest::newRow("no bytes") << QStringLiteral("// nothing here") << QStringLiteral("样") << 1 << QString();
        // Told in the window's words, not the command line's.
        QTest::newRow("a count that fits no cell")
            << QStringLiteral("{1,2,3}") << QStringLiteral("样") << 1
            << QStringLiteral("无法匹配：3 个字节放不进任何字模；最接近的字节数是 4");
        QTest::newRow("more bytes than a glyph")
            << QString(1030, QLatin1Char('f')) << QStringLiteral("样") << 1 << QStringLiteral("超过 514 个字节");
        QTest::newRow("a value below -128")
            << QStringLiteral("{-129}") << QStringLiteral("样") << 1 << QStringLiteral("“-129”小于 -128");
        QTest::newRow("two characters") << pasted(QStringLiteral("C"), {}) << QStringLiteral("样字") << 1
                                        << QStringLiteral("一个汉字");
        QTest::newRow("not a Chinese character") << pasted(QStringLiteral("C"), {}) << QStringLiteral("A") << 1
                                                 << QString::fromUtf8(hz::statusMessage(hz::LookupStatus::NotChinese));
        // The reference comes from the library the window has chosen, here one that is missing.
        QTest::newRow("the chosen library is missing")
            << pasted(QStringLiteral("C"), {}) << QStringLiteral("样") << 4
            << QString::fromUtf8(hz::statusMessage(hz::LookupStatus::LibraryMissing));
    }
    void refusalsAreToldAndChangeNothing() {
        QFETCH(QString, paste);
        QFETCH(QString, character);
        QFETCH(int, library);
        QFETCH(QString, said);
        Window w;
        w.Combo1()->setCurrentIndex(library);
        const MatchSeen seen = matchInDialog(w, paste, character);
        QVERIFY(seen.items.isEmpty());
        QVERIFY(!seen.useEnabled);
        QVERIFY2(!seen.message.isEmpty() && seen.message.contains(said), qPrintable(seen.message));
        QCOMPARE(w.find<QComboBox>(QStringLiteral("Combo2"))->currentIndex(), 0);
        QVERIFY(w.prompter.criticals.isEmpty());
    }
};

static GuiTestRegistration<MatchPageTest> registration;
#include "test_match_page.moc"
