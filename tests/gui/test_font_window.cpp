// The main window on a font from the chooser: choosing one, lookups of mixed text in full- and
// half-width cells, the list's size column, the enlarged view of any cell, exports, refusals, a
// font that cannot be opened, the six libraries as before, and the recent fonts kept across runs.

#include "chooser_driver.h"
#include "export_texts.h"
#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/glyph/dot_cell.h"
#include "gui/common/module1.h"
#include "gui/fontchooser/font_problem_text.h"
#include "gui/fontchooser/font_sample.h"
#include "gui/fontchooser/other_font_item.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

using namespace hz::gui;

using namespace form1test;

namespace {

using guitest::readAll;
using guitest::writeAll;

// What the view should show for a cell, one mark a dot, written out here rather than by the
// formatter the window uses.
QString viewOf(const hz::DotCell& cell, const QString& clear) {
    QString text;
    for (int y = 0; y < cell.height(); ++y) {
        for (int x = 0; x < cell.width(); ++x)
            text += cell.dot(x, y) ? QStringLiteral("■") : clear;
        text += QStringLiteral("\r\n");
    }
    return text;
}

const QString kZenHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");
const QString kUming = QStringLiteral("/usr/share/fonts/truetype/arphic/uming.ttc");

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("HzDot"), QStringLiteral("HzDot"));
}

// Opens Combo1's font item as a user does and lets the steps answer the chooser.
bool chooseFont(Window& w, ChooserDriver::Steps steps) {
    ChooserDriver driver(std::move(steps));
    w.Combo1()->setCurrentIndex(OtherFontItem::kIndex);
    emit w.Combo1()->activated(OtherFontItem::kIndex);
    return driver.drove;
}

// Chooses 文泉驿正黑 at a size and looks the text up in it, into an emptied list.
bool lookUpInFont(Window& w, int size, const QString& text) {
    if (!chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), size)))
        return false;
    w.form->glyphList().removeAll();
    w.Text3()->setText(text);
    w.form->runLookup();
    return true;
}

// 上下列排 stated dot by dot: column after column, each column's bands of eight rows from the top,
// a band's top dot in bit 7.
std::vector<std::uint8_t> columnsTopDotHigh(const hz::DotCell& cell) {
    const int perColumn = (cell.height() + 7) / 8;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(cell.width() * perColumn), 0);
    for (int x = 0; x < cell.width(); ++x)
        for (int y = 0; y < cell.height(); ++y)
            if (cell.dot(x, y))
                bytes[static_cast<std::size_t>(x * perColumn + y / 8)] |= static_cast<std::uint8_t>(0x80 >> (y % 8));
    return bytes;
}

std::unique_ptr<hz::fontsource::FontSource> openFont(const QString& file, int size) {
    auto source = hz::fontsource::FontSource::open({file.toStdString(), 0, size, {}});
    if (!source) {
        qWarning("%s", qPrintable(fontProblemText(source.problem())));
        return nullptr;
    }
    return std::move(*source);
}

QStringList column(const GlyphListModel& model, int col) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.data(model.index(row, col)).toString();
    return texts;
}

} // namespace

class FontWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;

private slots:
    void initTestCase() {
        if (!QFile::exists(kZenHei) || !QFile::exists(kUming))
            QSKIP("the Debian fonts fonts-wqy-zenhei and fonts-arphic-uming are not installed");
        // The recent fonts go to a folder of the test's own, never to the user's settings.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() {
        userSettings().remove(QStringLiteral("recentFonts"));
        Module1().BackMarkOn = true;
    }

    void aChosenFontNamesTheItemAndTakesMixedText() {
        Window w;
        w.Combo1()->setCurrentIndex(3);
        QVERIFY(chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), 20)));
        QCOMPARE(w.Combo1()->currentIndex(), OtherFontItem::kIndex);
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("文泉驿正黑 20"));
        QCOMPARE(w.Combo1()->count(), 7);
        QCOMPARE(w.form->libraryPosition(), -1);

        w.form->glyphList().removeAll();
        w.Text3()->setText(QStringLiteral("温度: 25.5℃"));
        w.form->runLookup();
        QCOMPARE(w.prompter.criticals, QStringList());
        const GlyphListModel& list = w.form->glyphList();
        QString typed;
        for (const hz::GlyphRecord& record : list.records())
            typed += QString::fromStdString(record.character);
        QCOMPARE(typed, QStringLiteral("温度: 25.5℃"));
        // ℃ is of ambiguous width and stays full-width like the hanzi.
        const QString full = QStringLiteral("20*20"), half = QStringLiteral("10*20");
        QCOMPARE(column(list, GlyphListModel::kLibraryColumn),
                 QStringList({full, full, half, half, half, half, half, half, full}));

        // Each row holds what the font source draws, dot for dot.
        const auto source = openFont(kZenHei, 20);
        QVERIFY(source);
        const QList<uint> characters = QStringLiteral("温度: 25.5℃").toUcs4();
        for (int row = 0; row < list.count(); ++row) {
            hz::DotCell cell;
            QCOMPARE(source->glyph(static_cast<char32_t>(characters[row]), cell), hz::LookupStatus::Found);
            QVERIFY(list.record(row).cell() == cell);
            QCOMPARE(list.record(row).libraryPosition, std::int8_t{-1});
        }
        // The last row is shown: its size under the view and its texts in the panel.
        QCOMPARE(w.label("Label6"), QStringLiteral("当前汉字点阵:20*20"));
        QCOMPARE(w.box("Text2")->toPlainText(), shown(list.record(list.count() - 1).assemblyText(0)));
    }

    void theViewDrawsAnyCellWithoutScrolling_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("columns");
        QTest::newRow("32x32") << 32 << QStringLiteral("温") << 32;
        QTest::newRow("8x16") << 16 << QStringLiteral("A") << 8;
        QTest::newRow("64x64") << 64 << QStringLiteral("温") << 64;
    }
    void theViewDrawsAnyCellWithoutScrolling() {
        QFETCH(int, size);
        QFETCH(QString, character);
        QFETCH(int, columns);
        Window w;
        const QFont libraryFont = w.form->dotView()->font();
        QVERIFY(chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), size)));
        w.Text3()->setText(character);
        w.form->runLookup();
        QCOMPARE(w.prompter.criticals, QStringList());

        const hz::GlyphRecord& record = w.form->glyphList().record(w.form->CurrentIndex - 1);
        QCOMPARE(int(record.width), columns);
        QCOMPARE(int(record.height), size);
        DotView* view = w.form->dotView();
        QCOMPARE(view->text(), viewOf(record.cell(), QStringLiteral("□")));
        QCOMPARE(view->text().count(QStringLiteral("\r\n")), size);
        QCOMPARE(view->text().section(QStringLiteral("\r\n"), 0, 0).size(), columns);
        // Drawn before the window is first shown, as it is when shown.
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);

        // A library record afterwards is drawn at the library's own mark size again.
        w.lookUp(1, QStringLiteral("样"));
        QCOMPARE(view->font(), libraryFont);
        QCOMPARE(view->text(), expectedView(16, diagonal()));
    }

    void theBackMarkRedrawsAFontCell() {
        Window w;
        QVERIFY(chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), 16)));
        w.Text3()->setText(QStringLiteral("A"));
        w.form->runLookup();
        w.form->Command20Click(7);
        const hz::GlyphRecord& record = w.form->glyphList().record(w.form->CurrentIndex - 1);
        QVERIFY(w.form->dotView()->text().contains(QStringLiteral("  ")));
        QCOMPARE(w.form->dotView()->text(), viewOf(record.cell(), QStringLiteral("  ")));
    }

    void anExportWritesTheFontRecordsInTheChosenArrangement() {
        Window w;
        QVERIFY(lookUpInFont(w, 20, QStringLiteral("温A")));
        QCOMPARE(w.form->glyphList().count(), 2);
        w.find<QComboBox>(QStringLiteral("Combo2"))->setCurrentIndex(2); // 上下列排
        const QString path = w.dir.filePath(QStringLiteral("font.txt"));
        w.prompter.fileAnswers << path;
        w.form->Command20Click(2);
        QCOMPARE(w.prompter.criticals, QStringList());
        // The font's own cells in the arrangement, each header naming its cell.
        const auto source = openFont(kZenHei, 20);
        QVERIFY(source);
        hz::DotCell wen, a;
        QCOMPARE(source->glyph(U'温', wen), hz::LookupStatus::Found);
        QCOMPARE(source->glyph(U'A', a), hz::LookupStatus::Found);
        QCOMPARE(readAll(path),
                 guitest::cp936(guitest::exportAllText({{QStringLiteral("温[20*20]上下列排"), columnsTopDotHigh(wen)},
                                                        {QStringLiteral("A[10*20]上下列排"), columnsTopDotHigh(a)}})));
    }

    void aHeaderExportTakesCellsOfBothWidths() {
        Window w;
        QVERIFY(lookUpInFont(w, 20, QStringLiteral("温A")));
        const QString path = w.dir.filePath(QStringLiteral("font.h"));
        w.prompter.fileAnswers << path;
        w.find<QPushButton>(QStringLiteral("ExportHeader"))->click();
        QCOMPARE(w.prompter.criticals, QStringList());
        const QByteArray header = readAll(path);
        QVERIFY2(header.contains("U+6E29 温, 20x20 */") && header.contains("10x20 */"), header.constData());
    }

    void aCharacterTheFontLacksIsNamedAndTheOthersGoThrough() {
        hz::DotCell cell;
        QCOMPARE(openFont(kZenHei, 20)->glyph(U'\U0001F600', cell), hz::LookupStatus::NotInFont);
        Window w;
        QVERIFY(lookUpInFont(w, 20, QStringLiteral("温😀度")));
        QCOMPARE(w.prompter.criticals, QStringList({QStringLiteral("“😀”(U+1F600)：当前字体中没有该字符！！！")}));
        QCOMPARE(column(w.form->glyphList(), GlyphListModel::kCharacterColumn), QStringList({"温", "度"}));
    }

    void aFontThatFailsToOpenPutsCombo1Back() {
        Window w;
        const QString notAFont = w.dir.filePath(QStringLiteral("notes.ttf"));
        QVERIFY(writeAll(notAFont, "not a font at all\n"));
        w.Combo1()->setCurrentIndex(2);
        w.prompter.openAnswers << notAFont;
        QString problem;
        QVERIFY(chooseFont(w, [&](FontChooser& c) {
            c.findChild<QPushButton*>(QStringLiteral("FontFileButton"))->click();
            problem = c.findChild<FontSample*>(QStringLiteral("SamplePreview"))->problem();
            chooser::button(c, QDialogButtonBox::Ok)->click();
        }));
        // The sample said what is wrong before OK, and the box says it again, in the window's words
        // around FreeType's own.
        QVERIFY2(problem.startsWith(QStringLiteral("%1 不是 FreeType 能读取的字体（").arg(notAFont)),
                 qPrintable(problem));
        QCOMPARE(w.prompter.criticals, QStringList({QStringLiteral("无法使用该字体：\n") + problem}));
        QCOMPARE(w.Combo1()->currentIndex(), 2);
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), OtherFontItem::kCaption);
        QVERIFY(userSettings().value(QStringLiteral("recentFonts/size")).isNull());

        // A cancelled chooser also returns to the library.
        QVERIFY(chooseFont(w, chooser::cancel()));
        QCOMPARE(w.Combo1()->currentIndex(), 2);
    }

    void reopeningAndCancellingKeepsTheChosenFont() {
        Window w;
        QVERIFY(chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), 24)));
        QVERIFY(chooseFont(w, chooser::cancel()));
        QCOMPARE(w.Combo1()->currentIndex(), OtherFontItem::kIndex);
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("文泉驿正黑 24"));
        w.Text3()->setText(QStringLiteral("温"));
        w.form->runLookup();
        QCOMPARE(w.form->glyphList().record(w.form->CurrentIndex - 1).sizeText, std::string("24*24"));
    }

    void theSixLibrariesBehaveAsBefore() {
        Window w;
        QVERIFY(chooseFont(w, chooser::pick(QStringLiteral("文泉驿正黑 "), 20)));
        w.form->glyphList().removeAll();
        w.prompter.criticals.clear();
        w.lookUp(1, QStringLiteral("A样"));
        QCOMPARE(w.prompter.criticals, QStringList({QStringLiteral("您输入的字符不是汉字！！！")}));
        QCOMPARE(w.form->glyphList().count(), 1);
        const hz::GlyphRecord& record = w.form->glyphList().record(0);
        QCOMPARE(record.sizeText, std::string("16*16"));
        QCOMPARE(record.libraryPosition, std::int8_t{1});
        QCOMPARE(w.form->dotView()->text(), expectedView(16, diagonal()));
        // The font is still there to go back to.
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("文泉驿正黑 20"));
    }

    void recentFontsAreOfferedFirstInTheNextRun() {
        {
            Window first;
            QVERIFY(chooseFont(first, chooser::pick(QStringLiteral("文泉驿正黑 "), 20)));
            QVERIFY(chooseFont(first, chooser::pick(QStringLiteral("AR PL UMing CN"), 24)));
        }
        Window next;
        QStringList offered;
        QString preselected;
        QVERIFY(chooseFont(next, [&](FontChooser& c) {
            for (int row = 0; row < 2; ++row)
                offered << chooser::list(c)->item(row)->text();
            preselected = chooser::list(c)->currentItem()->text();
            chooser::button(c, QDialogButtonBox::Ok)->click();
        }));
        QCOMPARE(offered,
                 QStringList({QStringLiteral("最近：AR PL UMing CN 24"), QStringLiteral("最近：文泉驿正黑 20")}));
        QCOMPARE(preselected, offered.front());
        QCOMPARE(next.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("AR PL UMing CN 24"));
    }

    // Proportional widths and half-width ambiguous characters reach the list's size column, the
    // records and the enlarged view, and are remembered with the font.
    void ownWidthsReachTheListAndTheView() {
        Window w;
        QVERIFY(chooseFont(w, [](FontChooser& c) {
            chooser::list(c)->setCurrentRow(chooser::rowStartingWith(c, QStringLiteral("文泉驿正黑 ")));
            chooser::sizeBox(c)->setValue(16);
            c.findChild<QComboBox*>(QStringLiteral("WidthChoice"))->setCurrentIndex(1);
            c.findChild<QComboBox*>(QStringLiteral("AmbiguousChoice"))->setCurrentIndex(1);
            chooser::button(c, QDialogButtonBox::Ok)->click();
        }));
        QCOMPARE(w.Combo1()->itemText(OtherFontItem::kIndex), QStringLiteral("文泉驿正黑 16 比例宽度 符号半角"));
        w.form->glyphList().removeAll();
        const QString text = QStringLiteral("iM°温");
        w.Text3()->setText(text);
        w.form->runLookup();
        QCOMPARE(w.prompter.criticals, QStringList());

        auto opened = hz::fontsource::FontSource::open({kZenHei.toStdString(),
                                                        0,
                                                        16,
                                                        {},
                                                        hz::fontsource::GlyphWidths::Proportional,
                                                        hz::fontsource::AmbiguousWidth::Half});
        QVERIFY(opened);
        const GlyphListModel& list = w.form->glyphList();
        QCOMPARE(list.count(), 4);
        QStringList sizes;
        for (int row = 0; row < list.count(); ++row) {
            hz::DotCell cell;
            QCOMPARE((*opened)->glyph(static_cast<char32_t>(text.toUcs4()[row]), cell), hz::LookupStatus::Found);
            QVERIFY(list.record(row).cell() == cell);
            sizes << QStringLiteral("%1*16").arg(cell.width());
        }
        QCOMPARE(column(list, GlyphListModel::kLibraryColumn), sizes);
        QVERIFY2(sizes[0] != sizes[1], qPrintable(sizes.join(QLatin1Char(' '))));
        // The hanzi's own advance: a dot short of the cell where the font is drawn at 15 pixels.
        QVERIFY2(list.record(3).cell().width() >= 14, qPrintable(sizes[3]));
        QCOMPARE(w.form->dotView()->text(), viewOf(list.record(3).cell(), QStringLiteral("□")));

        QSettings settings = userSettings();
        const std::vector<FontChoice> recent = loadRecentFonts(settings);
        QVERIFY(!recent.empty());
        QVERIFY(recent.front().fontSpec.widths == hz::fontsource::GlyphWidths::Proportional);
        QVERIFY(recent.front().fontSpec.ambiguous == hz::fontsource::AmbiguousWidth::Half);
    }

    void atMostFiveRecentFontsWithoutRepeats() {
        QSettings settings = userSettings();
        for (int size : {10, 12, 14, 16, 18, 20, 14})
            rememberFont(settings, FontChoice{{kZenHei.toStdString(), 0, size, {}}, QStringLiteral("文泉驿正黑")});
        QStringList labels;
        for (const FontChoice& choice : loadRecentFonts(settings))
            labels << choice.label();
        QCOMPARE(labels,
                 QStringList({"文泉驿正黑 14", "文泉驿正黑 20", "文泉驿正黑 18", "文泉驿正黑 16", "文泉驿正黑 12"}));
    }
};

static GuiTestRegistration<FontWindowTest> registration;

#include "test_font_window.moc"
