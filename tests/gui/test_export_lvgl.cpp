// FormatChoice and the LVGL fonts the export button then writes: named after the file, the window's
// depth, the one-size rule and the depths the binary file refuses. The fonts' bytes are checked in
// the core's tests.

#include "gui_test_registry.h"
#include "library_record.h"
#include "lvgl_bin_reader.h"
#include "scripted_prompter.h"
#include "test_form1_fixture.h"

#include "core/glyph/glyph_record.h"
#include "gui/common/export_action.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace hz::gui;

namespace {

using guitest::readAll;

hz::GlyphRecord record(char32_t character, std::uint8_t firstByte, int libraryPosition = 1) {
    std::vector<std::uint8_t> bytes(libraryPosition >= 3 ? 72 : 32, 0);
    bytes[0] = firstByte;
    return hz::test::libraryRecord(character, bytes, libraryPosition);
}

std::optional<hz::test::LvglBinFont> readBin(const QString& path) {
    const QByteArray bytes = readAll(path);
    std::string error;
    return hz::test::readLvglBin(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), error);
}

} // namespace

class ExportLvglTest : public QObject {
    Q_OBJECT

private slots:
    void cFileIsNamedAfterTheFile() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        ExportAction action{prompter, nullptr};
        prompter.fileAnswers << dir.filePath(QStringLiteral("oled_font.c"));
        const std::vector<hz::GlyphRecord> records{record(U'样', 0x80), record(U'字', 0x01), record(U'样', 0x80)};
        action.exportLvgl(records, 1, false, 0);
        QCOMPARE(prompter.lastSuggestedName, QStringLiteral("hzk16_16.c"));
        const QByteArray text = readAll(dir.filePath(QStringLiteral("oled_font.c")));
        QVERIFY2(text.contains("\nconst lv_font_t oled_font = {\n"), text.left(600).constData());
        QVERIFY(text.contains("/* U+5B57 字 */"));
        QVERIFY(prompter.criticals.isEmpty());
    }

    // Refused before any file is asked for: two sizes in one font, eight bits in the binary file.
    void refusalsComeBeforeTheDialog() {
        ScriptedPrompter prompter;
        ExportAction action{prompter, nullptr};
        const std::vector<hz::GlyphRecord> twoSizes{record(U'样', 0x80, 1), record(U'样', 0x81, 3)};
        const std::vector<hz::GlyphRecord> one{record(U'样', 0x80)};
        action.exportLvgl(twoSizes, 1, true, 0);
        action.exportLvgl(one, 8, true, 0);
        QCOMPARE(prompter.criticals.size(), 2);
        QVERIFY(prompter.criticals[0].startsWith(QStringLiteral("LVGL字体只能容纳一种大小的点阵，而列表中有 16、24 点的字。")));
        QVERIFY(prompter.criticals[1].startsWith(QStringLiteral("LVGL二进制字体只能是每点1、2或4位，当前是8位。")));
        QVERIFY(prompter.lastSuggestedName.isEmpty());
    }

    // The window: FormatChoice beside the export button offers the forms; LVGL bin writes the list's
    // characters once each into LVGL's binary font.
    void theWindowWritesTheChosenForm() {
        form1test::Window w;
        auto* choice = w.find<QComboBox>(QStringLiteral("FormatChoice"));
        QStringList labels;
        for (int i = 0; i < choice->count(); ++i)
            labels << choice->itemText(i);
        QCOMPARE(labels, QStringList({QStringLiteral("C头文件"), QStringLiteral("LVGL C"), QStringLiteral("LVGL bin"),
                                      QStringLiteral("u8g2"), QStringLiteral("BDF")}));
        QCOMPARE(choice->currentIndex(), 0);

        w.lookUp(1, QStringLiteral("字样字"));
        choice->setCurrentIndex(2);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ui.bin"));
        w.prompter.fileAnswers << path;
        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("ExportHeader")), Qt::LeftButton);
        QVERIFY2(w.prompter.criticals.isEmpty(), qPrintable(w.prompter.criticals.join('\n')));
        const auto font = readBin(path);
        QVERIFY(font);
        QCOMPARE(font->glyphIds.size(), std::size_t{2});
        QCOMPARE(font->ascent - font->descent, 16);
    }

    // u8g2 and BDF from the same button: the list's characters once each, the array or family named
    // after the file.
    void theWindowWritesU8g2AndBdf() {
        form1test::Window w;
        auto* choice = w.find<QComboBox>(QStringLiteral("FormatChoice"));
        w.lookUp(1, QStringLiteral("字样字"));
        QTemporaryDir dir;
        choice->setCurrentIndex(3);
        w.prompter.fileAnswers << dir.filePath(QStringLiteral("oled_u8g2.c"));
        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("ExportHeader")), Qt::LeftButton);
        choice->setCurrentIndex(4);
        w.prompter.fileAnswers << dir.filePath(QStringLiteral("song16.bdf"));
        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("ExportHeader")), Qt::LeftButton);
        QVERIFY2(w.prompter.criticals.isEmpty(), qPrintable(w.prompter.criticals.join('\n')));
        const QByteArray u8g2 = readAll(dir.filePath(QStringLiteral("oled_u8g2.c")));
        QVERIFY2(u8g2.contains("const uint8_t oled_u8g2["), u8g2.left(600).constData());
        const QByteArray bdf = readAll(dir.filePath(QStringLiteral("song16.bdf")));
        QVERIFY2(bdf.startsWith("STARTFONT 2.1"), bdf.left(200).constData());
        QCOMPARE(bdf.count("STARTCHAR"), 2);
        QVERIFY(bdf.contains("ENCODING 23383\n")); // 字
    }
};

static GuiTestRegistration<ExportLvglTest> registration;
#include "test_export_lvgl.moc"
