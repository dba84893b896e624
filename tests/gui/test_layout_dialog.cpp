// The layout dialog on its own: the switches and presets, the previews against texts stated here,
// the bytes and dots read back from every layout, and its copy buttons.

#include "export_texts.h"
#include "gui_test_registry.h"
#include "layout_test_support.h"
#include "library_record.h"

#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
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
#include <QRegularExpression>
#include <QTest>

using namespace hz::gui;

using namespace layouttest;

Q_DECLARE_METATYPE(hz::GlyphRecord)

namespace {

using guitest::withLf;

// 样 with its top row, the upper half of its left column and its bottom right dot set: no mirror,
// flip or transpose of it has the same bytes.
hz::GlyphRecord markedRecord() {
    hz::DotCell cell(16, 16);
    for (int x = 0; x < 16; ++x)
        cell.setDot(x, 0, true);
    for (int y = 0; y < 8; ++y)
        cell.setDot(0, y, true);
    cell.setDot(15, 15, true);
    return cellRecord("样", cell);
}

// The bytes shown after a preview's header line: the fields "0x1F" of the C text, "1Fh" and "0E0h" of
// the assembly text.
std::vector<std::uint8_t> shownBytes(const QString& preview) {
    static const QRegularExpression field(QStringLiteral("0x([0-9A-F]{2})|\\b0?([0-9A-F]{2})h\\b"));
    std::vector<std::uint8_t> bytes;
    QRegularExpressionMatchIterator fields = field.globalMatch(preview.section(QLatin1Char('\n'), 1));
    while (fields.hasNext()) {
        const QRegularExpressionMatch match = fields.next();
        const QString hex = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        bytes.push_back(static_cast<std::uint8_t>(hex.toUInt(nullptr, 16)));
    }
    return bytes;
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

    // Each switch, flipped by the user, changes the previews to the texts of the new layout.
    void switchesUpdateThePreviews() {
        const hz::GlyphRecord record = markedRecord();
        Dialog d(&record, {});
        QCOMPARE(d.asmText(), QStringLiteral(";样[16*16]rows-msb\n"
                                             "DB  0FFh, 0FFh,  80h,  00h,  80h,  00h,  80h,  00h\n"
                                             "DB   80h,  00h,  80h,  00h,  80h,  00h,  80h,  00h\n"
                                             "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  00h\n"
                                             "DB   00h,  00h,  00h,  00h,  00h,  00h,  00h,  01h\n"
                                             "\n"));

        // In pages, byte k of page p holds column k's rows 8p..8p+7: the left column's eight dots
        // make the first byte, the top row one dot in each byte of page 0.
        hz::Layout expected;
        d.find<QComboBox>("ScanChoice")->setCurrentIndex(2);
        expected.scan = hz::Scan::Pages;
        QCOMPARE(d.dialog->chosenLayout(), expected);
        std::vector<std::uint8_t> pages(32, 0x80);
        pages[0] = 0xFF;
        std::fill(pages.begin() + 16, pages.end(), 0x00);
        pages[31] = 0x01;
        QCOMPARE(d.asmText(), withLf(guitest::assemblyBlock({QStringLiteral("样[16*16]pages-msb"), pages})));

        d.find<QComboBox>("BitChoice")->setCurrentIndex(1);
        expected.bit = hz::BitOrder::Lsb;
        std::fill(pages.begin() + 1, pages.begin() + 16, 0x01);
        pages[31] = 0x80;
        QCOMPARE(d.cText(), withLf(guitest::cBlock({QStringLiteral("样[16*16]pages-lsb"), pages})));

        QTest::mouseClick(d.find<QCheckBox>("InvertCheck"), Qt::LeftButton);
        expected.invert = true;
        for (std::uint8_t& byte : pages)
            byte = static_cast<std::uint8_t>(~byte);
        QCOMPARE(d.asmText(), withLf(guitest::assemblyBlock({QStringLiteral("样[16*16]pages-lsb-invert"), pages})));

        // Turned half round: the top row at the bottom, the left column's dots on the right, the
        // bottom right dot at the top left.
        QTest::mouseClick(d.find<QCheckBox>("UpCheck"), Qt::LeftButton);
        QTest::mouseClick(d.find<QCheckBox>("LeftCheck"), Qt::LeftButton);
        expected.up = expected.left = true;
        QCOMPARE(d.dialog->chosenLayout(), expected);
        std::vector<std::uint8_t> turned(32, 0x00);
        turned[0] = 0x01;
        std::fill(turned.begin() + 16, turned.end(), 0x80);
        turned[31] = 0xFF;
        for (std::uint8_t& byte : turned)
            byte = static_cast<std::uint8_t>(~byte);
        QCOMPARE(d.cText(), withLf(guitest::cBlock({QStringLiteral("样[16*16]pages-lsb-up-left-invert"), turned})));
        QCOMPARE(d.dots(), record.cell());
    }

    void aPresetSetsTheSwitchesAndTheSwitchesFindTheirPreset() {
        const hz::GlyphRecord record = markedRecord();
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
        QCOMPARE(d.cText(), QStringLiteral("{//样[16*16]rows-lsb\n"
                                           "0xFF,0xFF,0x01,0x00,0x01,0x00,0x01,0x00,\n"
                                           "0x01,0x00,0x01,0x00,0x01,0x00,0x01,0x00,\n"
                                           "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00,\n"
                                           "0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x80};"));

        // A layout no preset has leaves the list without a choice.
        QTest::mouseClick(d.find<QCheckBox>("LeftCheck"), Qt::LeftButton);
        QCOMPARE(presets->currentRow(), -1);
        QVERIFY(d.find<QLabel>("LayoutName")->text().startsWith(QStringLiteral("rows-lsb-left")));
    }

    // The bytes of both previews, and the dots of the picture, read back to the record's own in every
    // layout and cell shape: a text or picture of another layout, or of other bytes, would not.
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
        const QString head = QString::fromStdString(record.character + "[" + record.sizeText + "]");
        for (int index = 0; index < hz::Layout::kCount; ++index) {
            const hz::Layout layout = hz::Layout::fromIndex(index);
            d.dialog->chooseLayout(layout);
            const QByteArray name = QByteArray::fromStdString(hz::layoutName(layout));
            QVERIFY2(d.dots() == record.cell(), name);
            QVERIFY2(d.asmText().startsWith(QLatin1Char(';') + head + QString::fromLatin1(name) + QLatin1Char('\n')),
                     name);
            QVERIFY2(d.cText().startsWith(QStringLiteral("{//") + head + QString::fromLatin1(name) + QLatin1Char('\n')),
                     name);
            const std::vector<std::uint8_t> bytes = shownBytes(d.cText());
            QVERIFY2(shownBytes(d.asmText()) == bytes, name);
            QVERIFY2(hz::decodeCell(bytes, layout, record.width, record.height, record.widthClass) == record.cell(),
                     name);
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
        QCOMPARE(clipboard->text(), d.asmText());
        QTest::mouseClick(d.find<QPushButton>("CopyC"), Qt::LeftButton);
        QCOMPARE(clipboard->text(), d.cText());

        auto* cPreview = d.find<QPlainTextEdit>("CPreview");
        clipboard->clear();
        cPreview->findChild<QAction*>(QStringLiteral("CopyAll"))->trigger();
        QCOMPARE(clipboard->text(), d.cText());
        // As array elements: the fields of the bytes, each line ending in a comma; no header, no braces.
        cPreview->findChild<QAction*>(QStringLiteral("CopyArrayElements"))->trigger();
        QCOMPARE(clipboard->text(), d.cText().section(QLatin1Char('\n'), 1).chopped(2) + QStringLiteral(",\n"));
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
