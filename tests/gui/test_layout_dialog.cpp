// The layout dialog on its own: the switches and presets, the previews against the export texts of
// the same record, the dots read back from every layout, and its copy buttons.

#include "gui_test_registry.h"
#include "layout_test_support.h"
#include "library_record.h"

#include "core/layout/layout_presets.h"
#include "core/output/export_layout.h"
#include "core/text/byte_text.h"
#include "gui/layoutdialog/dot_picture.h"
#include "gui/layoutdialog/layout_dialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace hz::gui;

using namespace layouttest;

Q_DECLARE_METATYPE(hz::GlyphRecord)

namespace {

// The texts the dialog should show: the export blocks, as a text box holds them.
QString lf(std::string text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString assemblyBlock(const hz::GlyphRecord& record, const hz::Layout& layout) {
    std::string text;
    hz::appendAssemblyBlock(text, record, hz::exportForms(hz::LayoutChoice::of(layout)).front());
    return lf(text);
}
QString cBlock(const hz::GlyphRecord& record, const hz::Layout& layout) {
    std::string text;
    hz::appendCBlock(text, record, hz::exportForms(hz::LayoutChoice::of(layout)).front());
    return lf(text);
}

// A 12x12 library glyph, placed in its 16x16 cell as the window places it.
hz::GlyphRecord twelveRecord() {
    const hz::GlyphRecord random = randomRecord("佳", 12, 12, 6);
    std::vector<std::uint8_t> rows(24, 0);
    for (int row = 0; row < 12; ++row)
        for (int byte = 0; byte < 2; ++byte)
            rows[static_cast<std::size_t>(2 * row + byte)] = random.dots[static_cast<std::size_t>(2 * row + byte)];
    return hz::test::libraryRecord(U'佳', rows, 0);
}

struct Dialog {
    std::unique_ptr<LayoutDialog> dialog;
    Dialog(const hz::GlyphRecord* record, const hz::Layout& start)
        : dialog(std::make_unique<LayoutDialog>(record, start, nullptr)) {}
    template <typename T> T* find(const char* name) const {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qWarning("no control %s", name);
        return found;
    }
    QString asmText() const { return find<QPlainTextEdit>("AsmPreview")->toPlainText(); }
    QString cText() const { return find<QPlainTextEdit>("CPreview")->toPlainText(); }
    const hz::DotCell& dots() const { return find<DotPicture>("DotPreview")->cell(); }
};

} // namespace

class LayoutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void hasEveryNamedControl() {
        const hz::GlyphRecord record = randomRecord("样", 16, 16, 1);
        Dialog d(&record, {});
        QCOMPARE(d.dialog->objectName(), QStringLiteral("LayoutDialog"));
        for (const char* name :
             {"PresetList", "ScanChoice", "BitChoice", "UpCheck", "LeftCheck", "InvertCheck", "AsmPreview", "CPreview",
              "DotPreview", "CopyAsm", "CopyC", "PasteBox", "PasteChar", "MatchButton", "MatchList", "UseButton"})
            QVERIFY2(d.dialog->findChild<QWidget*>(QString::fromLatin1(name)), name);
        // Every preset is listed with its layout and drivers.
        auto* presets = d.find<QListWidget>("PresetList");
        QCOMPARE(presets->count(), static_cast<int>(hz::layoutPresets().size()));
        QVERIFY(presets->item(0)->text().contains(QStringLiteral("ssd1306")));
        QVERIFY(presets->item(0)->text().contains(QStringLiteral("pages-lsb")));
        QVERIFY(presets->item(0)->text().contains(QStringLiteral("KS0108")));
    }

    // Each switch, flipped by the user, changes the previews to the export texts of the new layout.
    void switchesUpdateThePreviews() {
        const hz::GlyphRecord record = randomRecord("样", 16, 16, 2);
        Dialog d(&record, {});
        QCOMPARE(d.asmText(), assemblyBlock(record, {}));
        QVERIFY(d.asmText().startsWith(QStringLiteral(";样[16*16]rows-msb\n")));

        hz::Layout expected;
        d.find<QComboBox>("ScanChoice")->setCurrentIndex(2);
        expected.scan = hz::Scan::Pages;
        QCOMPARE(d.dialog->chosenLayout(), expected);
        QCOMPARE(d.asmText(), assemblyBlock(record, expected));
        d.find<QComboBox>("BitChoice")->setCurrentIndex(1);
        expected.bit = hz::BitOrder::Lsb;
        QCOMPARE(d.cText(), cBlock(record, expected));
        QVERIFY(d.cText().startsWith(QStringLiteral("{//样[16*16]pages-lsb\n")));

        QTest::mouseClick(d.find<QCheckBox>("InvertCheck"), Qt::LeftButton);
        expected.invert = true;
        QCOMPARE(d.asmText(), assemblyBlock(record, expected));
        QVERIFY(d.asmText().startsWith(QStringLiteral(";样[16*16]pages-lsb-invert\n")));
        QTest::mouseClick(d.find<QCheckBox>("UpCheck"), Qt::LeftButton);
        QTest::mouseClick(d.find<QCheckBox>("LeftCheck"), Qt::LeftButton);
        expected.up = expected.left = true;
        QCOMPARE(d.dialog->chosenLayout(), expected);
        QCOMPARE(d.cText(), cBlock(record, expected));
        QCOMPARE(d.dots(), record.cell());
    }

    void aPresetSetsTheSwitchesAndTheSwitchesFindTheirPreset() {
        const hz::GlyphRecord record = randomRecord("样", 16, 16, 3);
        Dialog d(&record, {});
        auto* presets = d.find<QListWidget>("PresetList");
        QCOMPARE(presets->currentItem()->text().section(QLatin1Char(' '), 0, 0), QStringLiteral("st7920"));

        int xbm = -1;
        for (int row = 0; row < presets->count(); ++row)
            if (presets->item(row)->text().startsWith(QStringLiteral("xbm ")))
                xbm = row;
        QVERIFY(xbm >= 0);
        presets->setCurrentRow(xbm);
        QCOMPARE(d.find<QComboBox>("ScanChoice")->currentIndex(), 0);
        QCOMPARE(d.find<QComboBox>("BitChoice")->currentIndex(), 1);
        QCOMPARE(d.dialog->chosenLayout(), *hz::parseLayout("rows-lsb"));
        QCOMPARE(d.cText(), cBlock(record, *hz::parseLayout("rows-lsb")));

        // A layout no preset has leaves the list without a choice.
        QTest::mouseClick(d.find<QCheckBox>("LeftCheck"), Qt::LeftButton);
        QCOMPARE(presets->currentRow(), -1);
        QVERIFY(d.find<QLabel>("LayoutName")->text().startsWith(QStringLiteral("rows-lsb-left")));
    }

    // The dots read back from the shown bytes are the record's own, in every layout and cell shape:
    // a picture that differs would mean the bytes do.
    void decodedDotsEqualTheRecordInEveryLayout_data() {
        QTest::addColumn<hz::GlyphRecord>("record");
        QTest::newRow("16x16") << randomRecord("样", 16, 16, 4);
        QTest::newRow("24x24") << randomRecord("字", 24, 24, 5);
        QTest::newRow("12x12 library record") << twelveRecord();
        QTest::newRow("half-width 10x20") << randomRecord("A", 10, 20, 7, hz::WidthClass::Half);
        QTest::newRow("5x7") << randomRecord("1", 5, 7, 8, hz::WidthClass::Half);
    }
    void decodedDotsEqualTheRecordInEveryLayout() {
        QFETCH(hz::GlyphRecord, record);
        Dialog d(&record, {});
        for (int index = 0; index < hz::Layout::kCount; ++index) {
            const hz::Layout layout = hz::Layout::fromIndex(index);
            d.dialog->chooseLayout(layout);
            const QByteArray name = QByteArray::fromStdString(hz::layoutName(layout));
            QVERIFY2(d.dots() == record.cell(), name);
            QVERIFY2(d.asmText() == assemblyBlock(record, layout), name);
            QVERIFY2(d.cText() == cBlock(record, layout), name);
        }
    }

    // Without a record there is nothing to show or copy, and nothing fails.
    void withoutARecordThePreviewsAreEmpty() {
        Dialog d(nullptr, *hz::parseLayout("pages-msb"));
        QCOMPARE(d.dialog->chosenLayout(), *hz::parseLayout("pages-msb"));
        QVERIFY(d.cText().isEmpty());
        QCOMPARE(d.dots().width(), 0);
        QVERIFY(!d.find<QPushButton>("CopyAsm")->isEnabled());
        QVERIFY(!d.find<QPushButton>("CopyC")->isEnabled());
    }

    void copyButtonsAndActionsPutTheTextsOnTheClipboard() {
        const hz::GlyphRecord record = randomRecord("样", 16, 16, 9);
        const hz::Layout layout = *hz::parseLayout("columns-msb-up");
        Dialog d(&record, layout);
        QClipboard* clipboard = QGuiApplication::clipboard();

        QTest::mouseClick(d.find<QPushButton>("CopyAsm"), Qt::LeftButton);
        QCOMPARE(clipboard->text(), assemblyBlock(record, layout));
        QTest::mouseClick(d.find<QPushButton>("CopyC"), Qt::LeftButton);
        QCOMPARE(clipboard->text(), cBlock(record, layout));

        auto* cPreview = d.find<QPlainTextEdit>("CPreview");
        clipboard->clear();
        cPreview->findChild<QAction*>(QStringLiteral("CopyAll"))->trigger();
        QCOMPARE(clipboard->text(), cBlock(record, layout));
        // As array elements: the fields of the bytes, each followed by a comma; no header, no braces.
        cPreview->findChild<QAction*>(QStringLiteral("CopyArrayElements"))->trigger();
        QCOMPARE(clipboard->text(), lf(hz::cText(record.bytes(layout))) + QStringLiteral(",\n"));
    }

    // The match page says why it shows nothing: not one character, or no glyph to compare with.
    void matchPageRefusesWhatItCannotUse() {
        const hz::GlyphRecord record = randomRecord("样", 16, 16, 10);
        Dialog d(&record, {});
        auto* message = d.find<QLabel>("MatchMessage");
        d.find<QPlainTextEdit>("PasteBox")->setPlainText(QStringLiteral("{0x00,0x01}"));

        d.find<QLineEdit>("PasteChar")->setText(QStringLiteral("样字"));
        QTest::mouseClick(d.find<QPushButton>("MatchButton"), Qt::LeftButton);
        QVERIFY2(message->text().contains(QStringLiteral("一个汉字")), qPrintable(message->text()));
        QCOMPARE(d.find<QListWidget>("MatchList")->count(), 0);
        QVERIFY(!d.find<QPushButton>("UseButton")->isEnabled());

        // No source to draw the character: the lookup's own message.
        d.find<QLineEdit>("PasteChar")->setText(QStringLiteral("样"));
        QTest::mouseClick(d.find<QPushButton>("MatchButton"), Qt::LeftButton);
        QVERIFY2(message->text().contains(QString::fromUtf8(hz::statusMessage(hz::LookupStatus::LibraryMissing))),
                 qPrintable(message->text()));
        QVERIFY(!d.find<QPushButton>("UseButton")->isEnabled());
    }
};

static GuiTestRegistration<LayoutDialogTest> registration;
#include "test_layout_dialog.moc"
