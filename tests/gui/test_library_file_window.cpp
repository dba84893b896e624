// The main window on a library file of the user's own, chosen with the font chooser's file button:
// the probe's findings shown before OK, the sample and lookups read from the file, refusals in the
// libraries' words, a file the probe cannot make sense of, and the file remembered and probed again
// once it changes. The files are made here from our own hzk16宋, moved to row 0xB0, re-encoded in
// columns or cut short.

#include "chooser_driver.h"
#include "file_bytes.h"
#include "gui_test_registry.h"
#include "scripted_prompter.h"

#include "core/glyph/glyph_source.h"
#include "core/layout/layout.h"
#include "core/library/font_library.h"
#include "core/library/library_source.h"
#include "core/text/codepage.h"
#include "gui/fontchooser/font_sample.h"
#include "gui/fontchooser/other_font_item.h"
#include "gui/mainwin/form1.h"
#include "gui/mainwin/glyph_list_model.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <random>

using namespace hz::gui;

namespace {

using guitest::readAll;
using guitest::writeAll;

constexpr int kRowRecords = 94;
constexpr int kRecordBytes = 32; // hzk16宋: 16 x 16, rows-msb

enum class Shape { FromRowB0, Columns, CutAfterRowD7 };

// hzk16宋 as another maker might have written it.
QByteArray reshaped(const QByteArray& hzk16, Shape shape) {
    const qsizetype symbolRows = (0xB0 - 0xA1) * kRowRecords * kRecordBytes;
    switch (shape) {
    case Shape::FromRowB0:
        return hzk16.mid(symbolRows);
    case Shape::CutAfterRowD7:
        return hzk16.mid(symbolRows, (0xD8 - 0xB0) * kRowRecords * kRecordBytes);
    case Shape::Columns:
        break;
    }
    const hz::Layout columns = *hz::parseLayout("columns-msb");
    QByteArray out;
    for (qsizetype at = 0; at + kRecordBytes <= hzk16.size(); at += kRecordBytes) {
        const auto* record = reinterpret_cast<const std::uint8_t*>(hzk16.constData() + at);
        const hz::DotCell cell = hz::decodeCell({record, kRecordBytes}, hz::Layout{}, 16, 16);
        const std::vector<std::uint8_t> bytes = hz::encodeCell(cell, columns);
        out.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    return out;
}

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("HzDot"), QStringLiteral("HzDot"));
}

QLabel* findings(FontChooser& c) {
    return c.findChild<QLabel*>(QStringLiteral("LibraryFindings"));
}

FontSample* sample(FontChooser& c) {
    return c.findChild<FontSample*>(QStringLiteral("SamplePreview"));
}

void pressFileButton(FontChooser& c) {
    c.findChild<QPushButton*>(QStringLiteral("FontFileButton"))->click();
}

// What the chooser showed of the entry it was on.
struct Seen {
    QString entry;
    QString findings;
    bool findingsShown = false;
    bool sizeBoxEnabled = true;
    bool okEnabled = false;
    std::vector<std::optional<hz::DotCell>> cells;
    QString problem;
};

Seen look(FontChooser& c) {
    Seen seen;
    if (const QListWidgetItem* item = chooser::list(c)->currentItem())
        seen.entry = item->text();
    seen.findings = findings(c)->text();
    seen.findingsShown = findings(c)->isVisible();
    seen.sizeBoxEnabled = chooser::sizeBox(c)->isEnabled();
    seen.okEnabled = chooser::button(c, QDialogButtonBox::Ok)->isEnabled();
    seen.cells = sample(c)->cells();
    seen.problem = sample(c)->problem();
    return seen;
}

} // namespace

class LibraryFileWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir folder; // the window's library folder: our hzk16宋 alone
    QByteArray hzk16;
    std::unique_ptr<hz::LibrarySource> reference;

    // The window on the folder, its font item opened and answered by the steps.
    struct Window {
        ScriptedPrompter prompter;
        std::unique_ptr<Form1> form;
        explicit Window(const QString& folder) : form(std::make_unique<Form1>(folder, &prompter)) {}
        QComboBox* Combo1() const { return form->findChild<QComboBox*>(QStringLiteral("Combo1")); }
        bool choose(ChooserDriver::Steps steps) {
            ChooserDriver driver(std::move(steps));
            Combo1()->setCurrentIndex(OtherFontItem::kIndex);
            emit Combo1()->activated(OtherFontItem::kIndex);
            return driver.drove;
        }
        void lookUp(const QString& text) {
            form->glyphList().removeAll();
            prompter.criticals.clear();
            form->findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(text);
            form->runLookup();
        }
    };

    hz::DotCell ours(char32_t character) {
        hz::DotCell cell;
        const hz::LookupStatus status = reference->glyph(character, cell);
        if (status != hz::LookupStatus::Found)
            qWarning("hzk16宋 lacks U+%04X", static_cast<unsigned>(character));
        return cell;
    }

    QString userFile(const QString& name, const QByteArray& bytes) {
        const QString path = folder.filePath(name);
        return writeAll(path, bytes) ? path : QString();
    }

private slots:
    void initTestCase() {
        const QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/hzk16宋");
        hzk16 = readAll(built);
        // Rows 0xA1 to 0xF7: the symbols and both levels of hanzi.
        if (hzk16.size() != (0xF8 - 0xA1) * kRowRecords * kRecordBytes)
            QSKIP("hzk16宋 has not been built beside the tests (the font-libraries target)");
        QVERIFY(writeAll(folder.filePath(QStringLiteral("hzk16宋")), hzk16));
        reference = std::make_unique<hz::LibrarySource>(folder.path().toStdString(), 1, 0, 0);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() { userSettings().remove(QStringLiteral("recentFonts")); }

    void aLibraryFileIsProbedShownAndRead_data() {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("shownFindings");
        QTest::addColumn<QStringList>("refusals"); // of "汉字A亍"; 亍 opens row 0xD8
        const QString notHanzi = QStringLiteral("您输入的字符不是汉字！！！");
        QTest::newRow("from row 0xB0") << int(Shape::FromRowB0)
                                       << QStringList{"点阵：16×16，每字 32 字节", "首区：0xB0", "rows-msb",
                                                      "字数：6768"}
                                       << QStringList{notHanzi};
        QTest::newRow("columns") << int(Shape::Columns)
                                 << QStringList{"点阵：16×16", "首区：0xA1", "字节排列：columns-msb", "字数：8178"}
                                 << QStringList{notHanzi};
        QTest::newRow("cut after row 0xD7")
            << int(Shape::CutAfterRowD7) << QStringList{"首区：0xB0", "字数：3760"}
            << QStringList{notHanzi, QStringLiteral("字库文件不完整，找不到该字的点阵！！！")};
    }
    void aLibraryFileIsProbedShownAndRead() {
        QFETCH(int, shape);
        QFETCH(QStringList, shownFindings);
        QFETCH(QStringList, refusals);
        QVERIFY(hz::cp936Code(U'亍').value_or(0) >= 0xD8A1);
        const QString path = userFile(QStringLiteral("HZK16.bin"), reshaped(hzk16, static_cast<Shape>(shape)));
        QVERIFY(!path.isEmpty());

        Window w(folder.path());
        w.Combo1()->setCurrentIndex(1);
        w.prompter.openAnswers << path;
        Seen seen;
        QVERIFY(w.choose([&](FontChooser& c) {
            pressFileButton(c);
            seen = look(c);
            chooser::button(c, QDialogButtonBox::Ok)->click();
        }));

        // Before OK: the entry, what the probe found, and the sample from the file.
        QCOMPARE(seen.entry, QStringLiteral("HZK16.bin（点阵字库 16×16）"));
        QVERIFY(seen.findingsShown);
        for (const QString& finding : shownFindings)
            QVERIFY2(seen.findings.contains(finding), qPrintable(seen.findings));
        QVERIFY2(seen.findings.contains(QStringLiteral("吻合度：1.000")), qPrintable(seen.findings));
        QVERIFY(!seen.sizeBoxEnabled);
        QVERIFY(seen.okEnabled);
        QCOMPARE(seen.cells.size(), std::size_t(9)); // 汉字ABC123°
        QVERIFY(seen.cells[0] && *seen.cells[0] == ours(U'汉'));
        QVERIFY(seen.cells[1] && *seen.cells[1] == ours(U'字'));
        for (std::size_t k = 2; k < 8; ++k) // ABC123
            QVERIFY2(!seen.cells[k], "the file holds no half-width characters");

        // After OK: the item names the file and its cell, and lookups read the file.
        QCOMPARE(w.Combo1()->currentIndex(), OtherFontItem::kIndex);
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("HZK16.bin 16"));
        w.lookUp(QStringLiteral("汉字A亍"));
        QCOMPARE(w.prompter.criticals, refusals);
        const GlyphListModel& list = w.form->glyphList();
        QCOMPARE(list.count(), 4 - refusals.size());
        const QString found = QStringLiteral("汉字亍");
        for (int row = 0; row < list.count(); ++row) {
            const char32_t c = static_cast<char32_t>(found.toUcs4()[row]);
            QCOMPARE(QString::fromStdString(list.record(row).character), QString::fromUcs4(&c, 1));
            QVERIFY(list.record(row).cell() == ours(c));
            QCOMPARE(list.record(row).sizeText, std::string("16*16"));
        }
    }

    // The file being read is as precious as the six libraries: an export chosen onto it is refused.
    void anExportOntoTheChosenFileIsRefused() {
        const QString path = userFile(QStringLiteral("MINE.bin"), hzk16);
        QVERIFY(!path.isEmpty());
        Window w(folder.path());
        w.prompter.openAnswers << path;
        QVERIFY(w.choose([&](FontChooser& c) {
            pressFileButton(c);
            chooser::button(c, QDialogButtonBox::Ok)->click();
        }));
        w.lookUp(QStringLiteral("汉字"));
        QCOMPARE(w.form->glyphList().count(), 2);
        w.prompter.fileAnswers << path;
        w.form->Command20Click(2); // export all
        QCOMPARE(w.prompter.criticals.size(), 1);
        QVERIFY2(w.prompter.criticals[0].contains(QStringLiteral("正在读取")), qPrintable(w.prompter.criticals[0]));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == hzk16);
    }

    void aFileTheProbeCannotReadCannotBeAccepted() {
        // Random bytes the size of a whole 16-dot table: plausible cells, no likeness to any glyph.
        QByteArray noise(94 * kRowRecords * kRecordBytes, '\0');
        std::mt19937 random(15);
        for (char& byte : noise)
            byte = static_cast<char>(random() & 0xFF);
        const QString path = userFile(QStringLiteral("noise.bin"), noise);

        Window w(folder.path());
        w.Combo1()->setCurrentIndex(2);
        w.prompter.openAnswers << path;
        Seen seen;
        std::optional<FontChoice> choice = FontChoice{};
        bool stayedOpen = false;
        QVERIFY(w.choose([&](FontChooser& c) {
            pressFileButton(c);
            seen = look(c);
            choice = c.choice();
            // Neither OK nor a double click takes it.
            chooser::button(c, QDialogButtonBox::Ok)->click();
            emit chooser::list(c)->itemDoubleClicked(chooser::list(c)->currentItem());
            stayedOpen = c.isVisible() && c.result() != QDialog::Accepted;
            chooser::button(c, QDialogButtonBox::Cancel)->click();
        }));
        QCOMPARE(seen.entry, QStringLiteral("noise.bin（无法识别的点阵字库）"));
        QVERIFY(seen.findingsShown);
        // In the window's words: the candidates the probe tried and what the command line can be given.
        QVERIFY2(seen.findings.contains(QStringLiteral("看不出")) &&
                     seen.findings.contains(QStringLiteral("点阵 16，首区 0xA1")) &&
                     seen.findings.contains(QStringLiteral("--record-layout")),
                 qPrintable(seen.findings));
        QVERIFY(seen.problem.contains(QStringLiteral("noise.bin")));
        QVERIFY(!seen.okEnabled);
        QCOMPARE(choice, std::nullopt);
        QVERIFY(stayedOpen);
        QCOMPARE(w.Combo1()->currentIndex(), 2);
        QCOMPARE(w.prompter.criticals, QStringList());
        QVERIFY(userSettings().value(QStringLiteral("recentFonts/size")).isNull());
    }

    void aRememberedFileIsProbedAgainOnceItChanges() {
        const QString path = userFile(QStringLiteral("HZK16.bin"), reshaped(hzk16, Shape::FromRowB0));
        {
            Window first(folder.path());
            first.prompter.openAnswers << path;
            QVERIFY(first.choose([](FontChooser& c) {
                pressFileButton(c);
                chooser::button(c, QDialogButtonBox::Ok)->click();
            }));
        }
        // The remembered findings are taken as they are while the file is unchanged: a score edited
        // in the settings shows through.
        userSettings().setValue(QStringLiteral("recentFonts/1/score"), 0.5);
        auto offered = [&](Window& w) {
            Seen seen;
            const bool drove = w.choose([&](FontChooser& c) {
                seen = look(c);
                chooser::button(c, QDialogButtonBox::Ok)->click();
            });
            return drove ? seen : Seen{};
        };
        {
            Window next(folder.path());
            const Seen seen = offered(next);
            QCOMPARE(seen.entry, QStringLiteral("最近：HZK16.bin（点阵字库 16×16）"));
            QVERIFY2(seen.findings.contains(QStringLiteral("吻合度：0.500")), qPrintable(seen.findings));
            QVERIFY(seen.cells.size() == 9 && seen.cells[0] && *seen.cells[0] == ours(U'汉'));
            QCOMPARE(next.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("HZK16.bin 16"));
        }

        // Rewritten in columns from row 0xA1: found anew, and read that way.
        QVERIFY(writeAll(path, reshaped(hzk16, Shape::Columns)));
        Window later(folder.path());
        const Seen seen = offered(later);
        QVERIFY2(seen.findings.contains(QStringLiteral("首区：0xA1")) &&
                     seen.findings.contains(QStringLiteral("columns-msb")) &&
                     seen.findings.contains(QStringLiteral("吻合度：1.000")),
                 qPrintable(seen.findings));
        later.lookUp(QStringLiteral("汉"));
        QCOMPARE(later.prompter.criticals, QStringList());
        QVERIFY(later.form->glyphList().count() == 1 && later.form->glyphList().record(0).cell() == ours(U'汉'));
        // Remembered once, with what was found last.
        QCOMPARE(userSettings().value(QStringLiteral("recentFonts/size")).toInt(), 1);
        QCOMPARE(userSettings().value(QStringLiteral("recentFonts/1/recordLayout")).toString(),
                 QStringLiteral("columns-msb"));
    }
};

static GuiTestRegistration<LibraryFileWindowTest> registration;

#include "test_library_file_window.moc"
