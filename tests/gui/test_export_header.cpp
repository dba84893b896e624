// "导出C头文件": the list as a C header through the export's dialogs, and what the window hands it.

#include "gui_test_registry.h"
#include "library_record.h"
#include "scripted_prompter.h"
#include "test_form1_fixture.h"

#include "core/glyph/glyph_record.h"
#include "core/output/c_header.h"
#include "gui/common/export_action.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace hz::gui;

namespace {

using guitest::readAll;

hz::GlyphRecord libraryRecord(char32_t character, std::uint8_t firstByte, int libraryPosition = 1) {
    std::vector<std::uint8_t> bytes(32, 0);
    bytes[0] = firstByte;
    return hz::test::libraryRecord(character, bytes, libraryPosition);
}

// The export action on a scripted prompter, writing into a folder of its own.
struct Exporter {
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ExportAction action{prompter, nullptr};

    // The header written to the file `name`, as chosen in the save dialog.
    QByteArray header(const QString& name, const std::vector<hz::GlyphRecord>& records, const hz::Layout& layout) {
        prompter.fileAnswers << dir.filePath(name);
        action.exportHeader(records, layout);
        return readAll(dir.filePath(name));
    }
};

} // namespace

class ExportHeaderTest : public QObject {
    Q_OBJECT

private slots:
    // 样 twice and 字 once: two glyphs, named after the file, in the layout given.
    void writesEachCharacterOnceNamedAfterTheFile() {
        Exporter e;
        const QByteArray text =
            e.header(QStringLiteral("oled_font.h"),
                     {libraryRecord(U'样', 0x80), libraryRecord(U'字', 0x01), libraryRecord(U'样', 0x80)},
                     hz::Layout{hz::Scan::Pages, hz::BitOrder::Lsb});

        QCOMPARE(e.prompter.lastSuggestedName, QStringLiteral("hzk16_16.h"));
        // Two glyphs of 32 bytes, two 16-bit keys, no widths or offsets: the size shown before saving.
        QCOMPARE(e.prompter.lastFilters, QStringList({QStringLiteral("C头文件，2 个字，字库数据 68 字节(*.h)"),
                                                      QStringLiteral("所有文件(*.*)")}));
        QVERIFY(text.contains("#define oled_font_COUNT 2\n"));
        QVERIFY(text.contains("Source:     hzk16宋, 16 dots high"));
        QVERIFY(text.contains("Layout:     pages-lsb"));
        QVERIFY(text.contains("Characters: 样 字\n"));
        // 样's first dot, top left, is bit 0 of the first byte in pages-lsb; 字 (U+5B57) sorts first.
        QVERIFY2(text.contains("/* U+6837 样, 16x16 */\n    0x01, 0x00"), text.constData());
        QVERIFY(e.prompter.criticals.isEmpty());
    }

    void aFileNameThatIsNoIdentifierGivesTheDefaultName() {
        Exporter e;
        const QByteArray text = e.header(QStringLiteral("my font.h"), {libraryRecord(U'样', 0x80, 0)}, hz::Layout{});
        QVERIFY(text.contains("#define hzk12_12_COUNT 1\n"));
        QVERIFY(text.contains("hzk12宋, 12 dots high"));
        QVERIFY(text.contains("#define hzk12_12_HEIGHT 16\n")); // 12x12 glyphs sit in 16x16 cells
    }

    // Glyphs of two sizes (a 16 and a 24 样) cannot share one header: refused, naming the sizes,
    // before any file is asked for; nothing is dropped silently.
    void aListOfTwoSizesIsRefused() {
        Exporter e;
        const std::vector<hz::GlyphRecord> records{
            libraryRecord(U'样', 0x80, 1), hz::test::libraryRecord(U'样', std::vector<std::uint8_t>(72, 0x81), 3)};
        e.action.exportHeader(records, hz::Layout{});
        QCOMPARE(e.prompter.criticals,
                 QStringList(QStringLiteral("C头文件只能容纳一种大小的点阵，而列表中有 16、24 点的字。\n"
                                            "请删去其他大小的字，只留一种再导出。")));
        QVERIFY(e.prompter.lastSuggestedName.isEmpty());
    }

    void nothingWithoutRecordsAndTheExportsQuestionsAndFailures() {
        Exporter e;
        ScriptedPrompter& prompter = e.prompter;
        e.action.exportHeader({}, hz::Layout{});
        QVERIFY(prompter.log.isEmpty());

        const std::vector<hz::GlyphRecord> records{libraryRecord(U'样', 0x80)};
        const QString old = e.dir.filePath(QStringLiteral("old.h"));
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
        file.close();
        const QString missing = e.dir.filePath(QStringLiteral("no/such/folder/x.h"));
        prompter.fileAnswers << old << missing << std::nullopt;
        prompter.questionAnswers << false;

        e.action.exportHeader(records, hz::Layout{}); // the overwrite question, answered Cancel
        e.action.exportHeader(records, hz::Layout{}); // a folder that is not there
        e.action.exportHeader(records, hz::Layout{}); // the dialog cancelled; the last name offered again

        QCOMPARE(readAll(old), QByteArray("kept"));
        QCOMPARE(prompter.questions, QStringList{QStringLiteral("该文件已经存在是否覆盖？")});
        QCOMPARE(prompter.criticals.size(), 1);
        QVERIFY(prompter.criticals[0].startsWith(QStringLiteral("无法导出到文件“%1”。\n").arg(missing)));
        QCOMPARE(prompter.lastSuggestedName, missing);
        QVERIFY(!QFile::exists(missing));
    }

    // 压缩 ticked: a header with the decoder, its smaller size named in the dialog before saving.
    void theCompressCheckMakesACompressedHeader() {
        form1test::Window w;
        w.lookUp(1, QStringLiteral("字样字"));
        QCheckBox* check = w.find<QCheckBox>(QStringLiteral("CompressCheck"));
        QCOMPARE(check->text(), QStringLiteral("压缩"));
        QVERIFY(!check->isChecked());
        check->setChecked(true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("small.h"));
        w.prompter.fileAnswers << path;

        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("ExportHeader")), Qt::LeftButton);

        const QByteArray text = readAll(path);
        QVERIFY2(text.contains("small_glyph(uint32_t key, uint8_t *out"), text.constData());
        QVERIFY(!text.contains("small_find("));
        QVERIFY(w.prompter.lastFilters.value(0).startsWith(QStringLiteral("C头文件，2 个字，字库数据 ")));
        QVERIFY(w.prompter.criticals.isEmpty());
    }

    // The window's button: the list in its order, in the arrangement chosen in Combo2.
    void theWindowsButtonWritesTheListInTheChosenArrangement() {
        form1test::Window w;
        w.lookUp(1, QStringLiteral("字样字"));
        w.find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(static_cast<int>(hz::Arrangement::HalfDown));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.h"));
        w.prompter.fileAnswers << path;

        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("ExportHeader")), Qt::LeftButton);

        const QByteArray text = readAll(path);
        QVERIFY2(text.contains("Layout:     pages-msb (上半列排)"), text.constData());
        QVERIFY(text.contains("Characters: 样 字\n")); // the start-up lookup put 样 first
        QVERIFY(text.contains("#define list_COUNT 2\n"));
        QVERIFY(w.prompter.criticals.isEmpty());
    }
};

static GuiTestRegistration<ExportHeaderTest> registration;
#include "test_export_header.moc"
