// The spacing designer: its preview, its arrows and limits, the hand-back of SpaceX and SpaceY, and
// its agreement with the 12x12 placement of real lookups.

#include "core/library/library_source.h"
#include "gui_test_registry.h"

#include "core/glyph/glyph_record.h"
#include "core/glyph/text_walk.h"
#include "core/layout/arrangements.h"
#include "core/library/font_library.h"
#include "core/text/dot_matrix_text.h"
#include "gui/common/module1.h"
#include "gui/common/rain_button.h"
#include "gui/designer/form3.h"
#include "gui/designer/spacing_cell.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <bit>
#include <fstream>

using namespace hz::gui;

namespace {

const QString kSet = QStringLiteral("■");
const QString kClear = QStringLiteral("□");

QStringList previewLines(const Form3& form) {
    QStringList lines = form.previewText().split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the closing CR LF
    return lines;
}

void click(Form3& form, const QString& name) {
    auto* button = form.findChild<RainButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

// Arrow clicks from wherever the window stands to (x, y).
void moveTo(Form3& form, int x, int y) {
    while (form.spaceX() < x)
        click(form, QStringLiteral("RainButton1(2)"));
    while (form.spaceX() > x)
        click(form, QStringLiteral("RainButton1(0)"));
    while (form.spaceY() < y)
        click(form, QStringLiteral("RainButton1(3)"));
    while (form.spaceY() > y)
        click(form, QStringLiteral("RainButton1(1)"));
}

int setDots(const hz::Cell16& cell) {
    int n = 0;
    for (auto row : cell)
        n += std::popcount(row);
    return n;
}

// The sample as a 12x12 library record: twelve rows of two bytes.
std::vector<std::uint8_t> sampleRecord() {
    std::vector<std::uint8_t> record;
    for (int r = 0; r < 12; ++r) {
        record.push_back(static_cast<std::uint8_t>(sampleGlyphCell()[r] >> 8));
        record.push_back(static_cast<std::uint8_t>(sampleGlyphCell()[r] & 0xFF));
    }
    return record;
}

} // namespace

class DesignerTest : public QObject {
    Q_OBJECT

private slots:
    void init() { Module1() = ProgramSettings{}; }
    // The settings are the program's one instance; leave them as the next test class expects them.
    void cleanupTestCase() { Module1() = ProgramSettings{}; }

    // Every control where the designer's form puts it, in twips.
    void windowLayout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 6255, 5415);
        QTest::newRow("Text1") << "Text1" << QRect(840, 960, 3435, 3435);
        QTest::newRow("left") << "RainButton1(0)" << QRect(120, 2280, 615, 615);
        QTest::newRow("up") << "RainButton1(1)" << QRect(2280, 240, 615, 615);
        QTest::newRow("right") << "RainButton1(2)" << QRect(4400, 2280, 615, 615);
        QTest::newRow("down") << "RainButton1(3)" << QRect(2280, 4500, 615, 615);
        QTest::newRow("tick") << "RainButton2(0)" << QRect(5160, 3600, 735, 615);
        QTest::newRow("cross") << "RainButton2(1)" << QRect(5160, 4440, 735, 615);
        QTest::newRow("Label1") << "Label1" << QRect(4440, 240, 840, 210);
        QTest::newRow("Label2") << "Label2" << QRect(4440, 600, 840, 210);
        QTest::newRow("Shape1") << "Shape1" << QRect(4320, 120, 1695, 855);
    }
    void windowLayout() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        Form3 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("设计12*12字符按照16*16字符处理的方案"));
        QCOMPARE(form.size(), QSize(418, 362));
        auto* control = form.findChild<QWidget*>(name);
        QVERIFY(control);
        const QRect px(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                       qRound(twips.height() / 15.0));
        QCOMPARE(control->geometry(), px);
        if (auto* button = qobject_cast<RainButton*>(control)) {
            QVERIFY(button->styled());
            QCOMPARE(button->baseColor(), QColor(130, 240, 217));
            QVERIFY(!button->picture().isNull());
        }
    }

    void startPictureIsCentred() {
        Form3 form;
        const QStringList lines = previewLines(form);
        QCOMPARE(lines.size(), 16);
        QVERIFY(form.previewText().endsWith(QStringLiteral("\r\n")));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(lines[i], kClear.repeated(16));
        QCOMPARE(lines[3], kClear.repeated(2) + kSet.repeated(12) + kClear.repeated(2));
        QCOMPARE(lines[13], kClear.repeated(2) + kSet.repeated(12) + kClear.repeated(2));
        QCOMPARE(lines[14], kClear.repeated(16));
        QCOMPARE(form.findChild<QLabel*>("Label1")->text(), QStringLiteral("X间隔 : 2"));
        QCOMPARE(form.findChild<QLabel*>("Label2")->text(), QStringLiteral("Y间隔 : 2"));
        // What the box shows is the same picture, line for line.
        QCOMPARE(form.findChild<QPlainTextEdit*>("Text1")->toPlainText().split('\n'), lines);
    }

    void arrowsStopAtTheLimits_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("arrow");
        QTest::newRow("left at X 0") << 0 << 2 << 0;
        QTest::newRow("up at Y 0") << 2 << 0 << 1;
        QTest::newRow("right at X 4") << 4 << 2 << 2;
        QTest::newRow("down at Y 4") << 2 << 4 << 3;
        QTest::newRow("corner, left") << 0 << 0 << 0;
        QTest::newRow("corner, down") << 4 << 4 << 3;
    }
    void arrowsStopAtTheLimits() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, arrow);
        Module1().SpaceX = static_cast<qint16>(x);
        Module1().SpaceY = static_cast<qint16>(y);
        Form3 form;
        const QString before = form.previewText();
        auto* label1 = form.findChild<QLabel*>("Label1");
        auto* label2 = form.findChild<QLabel*>("Label2");
        label1->clear();
        label2->clear();
        click(form, QStringLiteral("RainButton1(%1)").arg(arrow));
        QCOMPARE(form.spaceX(), x);
        QCOMPARE(form.spaceY(), y);
        QCOMPARE(form.previewText(), before);
        // The labels are written again even when the move is refused.
        QCOMPARE(label1->text(), QStringLiteral("X间隔 : %1").arg(x));
        QCOMPARE(label2->text(), QStringLiteral("Y间隔 : %1").arg(y));
    }

    void farCornerKeepsEveryDot() {
        Form3 form;
        const QString loadPicture = form.previewText();
        moveTo(form, 4, 4);
        QCOMPARE(setDots(form.cell()), setDots(sampleGlyphCell()));
        const QStringList lines = previewLines(form);
        QVERIFY(lines[15].contains(kSet));       // the glyph's last row is row 16
        QVERIFY(lines[10].endsWith(kSet));       // and its last column is column 16
        QCOMPARE(lines[4], kClear.repeated(16)); // its first row is clear
        QVERIFY(lines[5].startsWith(kClear.repeated(4) + kSet));
        QCOMPARE(form.findChild<QLabel*>("Label1")->text(), QStringLiteral("X间隔 : 4"));
        moveTo(form, 0, 0);
        QCOMPARE(setDots(form.cell()), setDots(sampleGlyphCell()));
        QCOMPARE(form.cell(), sampleGlyphCell());
        moveTo(form, 2, 2);
        QCOMPARE(form.previewText(), loadPicture);
    }

    void cancelKeepsTheSettings_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("cross") << false;
        QTest::newRow("close box") << true;
    }
    void cancelKeepsTheSettings() {
        QFETCH(bool, closeBox);
        Module1().SpaceX = 1;
        Module1().SpaceY = 3;
        {
            Form3 form;
            form.show();
            moveTo(form, 4, 0);
            if (closeBox)
                form.close();
            else
                click(form, QStringLiteral("RainButton2(1)"));
            QCOMPARE(form.result(), int(QDialog::Rejected));
            QVERIFY(!form.isVisible());
        }
        QCOMPARE(Module1().SpaceX, qint16(1));
        QCOMPARE(Module1().SpaceY, qint16(3));
        Form3 reopened;
        QCOMPARE(reopened.spaceX(), 1);
        QCOMPARE(reopened.spaceY(), 3);
        QCOMPARE(reopened.cell(), hz::shiftCell(sampleGlyphCell(), 1, 3));
    }

    void confirmHandsBackTheValues() {
        Module1().SpaceX = 3;
        Module1().SpaceY = 1;
        {
            Form3 form;
            click(form, QStringLiteral("RainButton2(0)"));
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
        QCOMPARE(Module1().SpaceX, qint16(3));
        QCOMPARE(Module1().SpaceY, qint16(1));
        Form3 form;
        moveTo(form, 0, 4);
        click(form, QStringLiteral("RainButton2(0)"));
        QCOMPARE(Module1().SpaceX, qint16(0));
        QCOMPARE(Module1().SpaceY, qint16(4));
    }

    void marksAndColoursAreThoseOfOpeningTime() {
        Module1().DotMark = QStringLiteral("◆");
        Module1().BackMarkOn = false;
        Module1().ViewBackColor = QColor(255, 255, 192);
        Module1().ViewForeColor = QColor(0, 0, 160);
        Form3 form;
        auto* preview = form.findChild<QPlainTextEdit*>("Text1");
        QCOMPARE(preview->palette().color(QPalette::Base), QColor(255, 255, 192));
        QCOMPARE(preview->palette().color(QPalette::Text), QColor(0, 0, 160));
        QCOMPARE(previewLines(form)[3],
                 QStringLiteral("    ") + QStringLiteral("◆").repeated(12) + QStringLiteral("    "));

        Module1().DotMark = QStringLiteral("●");
        Module1().BackMarkOn = true;
        click(form, QStringLiteral("RainButton1(0)"));
        QCOMPARE(previewLines(form)[3],
                 QStringLiteral("  ") + QStringLiteral("◆").repeated(12) + QStringLiteral("      "));
        Form3 next;
        QVERIFY(next.previewText().contains(QStringLiteral("●")));
    }

    void twoSpacesAreOneMarkWide() {
        Form3 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* preview = form.findChild<QPlainTextEdit*>("Text1");
        const QFontMetricsF metrics(preview->font());
        QCOMPARE(metrics.horizontalAdvance(QStringLiteral("  ")), metrics.horizontalAdvance(kSet));
        QCOMPARE(metrics.horizontalAdvance(kClear), metrics.horizontalAdvance(kSet));
        // The whole picture is in sight: the end of the last row lies inside the box.
        QTextCursor end(preview->document());
        end.movePosition(QTextCursor::End);
        const QRect lastDot = preview->cursorRect(end);
        QVERIFY2(preview->viewport()->rect().contains(lastDot.bottomLeft() - QPoint(1, 1)),
                 qPrintable(QStringLiteral("%1,%2 in %3x%4")
                                .arg(lastDot.left())
                                .arg(lastDot.bottom())
                                .arg(preview->viewport()->width())
                                .arg(preview->viewport()->height())));
    }

    // For every placement the designer can show, a 12x12 lookup of the same dots gives that picture.
    void previewMatchesTheTwelvePlacement() {
        hz::Glyph glyph;
        glyph.GlyphData = sampleRecord();
        glyph.GlyphData.resize(32, 0);
        glyph.GlyphBytes = 32;
        glyph.CellSize = 16;
        Form3 form;
        for (int y = 0; y <= kMaxSpace; ++y) {
            for (int x = 0; x <= kMaxSpace; ++x) {
                moveTo(form, x, y);
                const auto tables = hz::MakeArrangements(glyph, hz::kTwelvePosition, x, y);
                QCOMPARE(hz::cellFromBytes(tables[hz::Arrangement::Rows]), form.cell());
            }
        }
    }

    // A 12x12 character looked up after confirming (0, 4) is drawn as the preview showed it.
    void lookupAfterConfirmFollowsThePreview() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string programDir = dir.path().toStdString();
        {
            // A library holding the sample as 啊 (0xB0A1, record 1410) and blank records before it.
            std::ofstream file(hz::libraryPath(programDir, hz::fontLibrary(hz::kTwelvePosition)), std::ios::binary);
            const std::vector<char> blank(1410 * 24, 0);
            file.write(blank.data(), static_cast<std::streamsize>(blank.size()));
            const auto record = sampleRecord();
            file.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
            QVERIFY(file.good());
        }
        QString preview;
        {
            Form3 form;
            moveTo(form, 0, 4);
            preview = form.previewText();
            click(form, QStringLiteral("RainButton2(0)"));
        }
        hz::LibrarySource source(programDir, hz::kTwelvePosition, Module1().SpaceX, Module1().SpaceY);
        std::vector<hz::GlyphRecord> records;
        hz::walkText(
            U"啊", source, [&](std::size_t, const hz::GlyphRecord& record) { records.push_back(record); },
            [](const hz::RefusedCharacter&) {});
        QCOMPARE(records.size(), std::size_t(1));
        const std::string drawn = hz::dotMatrixText(records[0].assemblyText(static_cast<int>(hz::Arrangement::Rows)),
                                                    16, 32, Module1().marks());
        QCOMPARE(QString::fromStdString(drawn), preview);
    }
};

static GuiTestRegistration<DesignerTest> designerTestRegistration;

#include "test_designer.moc"
