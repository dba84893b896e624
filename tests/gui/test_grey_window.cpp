// Grey levels in the window: the depth chooser in the font chooser and where it goes, grey glyphs in
// the enlarged view as shades of the mark colour, the ten text boxes and the exports at the chosen
// depth with the page arrangements refused, and the LCD preview's colour-TFT look. The bytes of each
// depth are tested in the core; here, that the window asks for them and shows what it gets.

#include "chooser_driver.h"
#include "file_bytes.h"
#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "core/layout/layout_presets.h"
#include "core/text/byte_text.h"
#include "core/text/codepage.h"
#include "core/text/utf8.h"
#include "gui/common/grey_depth.h"
#include "gui/common/module1.h"
#include "gui/fontchooser/other_font_item.h"
#include "gui/mainwin/dot_view.h"
#include "gui/mainwin/glyph_list_model.h"
#include "gui/mainwin/text_panel.h"
#include "gui/preview/lcd_preview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace hz::gui;
using namespace form1test;

namespace {

const QString kZenHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("HzDot"), QStringLiteral("HzDot"));
}

QComboBox* bppChoice(FontChooser& c) {
    return c.findChild<QComboBox*>(QStringLiteral("BppChoice"));
}

// A 16x16 record of a 4-bit glyph: dots of levels 15, 10, 5 and 1 along the top row, 15 at the foot.
hz::GlyphRecord greyRecord(char32_t character) {
    hz::DotCell cell = hz::DotCell(16, 16).withDepth(4);
    cell.setLevel(0, 0, 15);
    cell.setLevel(1, 0, 10);
    cell.setLevel(2, 0, 5);
    cell.setLevel(3, 0, 1);
    cell.setLevel(15, 15, 15);
    hz::GlyphRecord record;
    record.character = hz::encodeUtf8(character);
    record.sizeText = "16*16";
    record.dots = cell.rowBytes();
    record.width = record.height = 16;
    record.depth = 4;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            record.levels.push_back(static_cast<std::uint8_t>(cell.level(x, y)));
    return record;
}

// The colour the view draws the mark at column x of row y in (one character a mark).
QColor markColour(DotView& view, int x, int y) {
    QTextCursor cursor(view.document()->findBlockByNumber(y));
    cursor.setPosition(cursor.position() + x + 1);
    const QTextCharFormat format = cursor.charFormat();
    return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : view.textColor();
}

// Opens Combo1's font item and picks 文泉驿正黑 at a size and depth.
bool chooseGreyFont(Window& w, int size, int bits) {
    ChooserDriver driver([size, bits](FontChooser& c) {
        chooser::list(c)->setCurrentRow(chooser::rowStartingWith(c, QStringLiteral("文泉驿正黑 ")));
        chooser::sizeBox(c)->setValue(size);
        bppChoice(c)->setCurrentIndex(bppChoice(c)->findData(bits));
        chooser::button(c, QDialogButtonBox::Ok)->click();
    });
    w.Combo1()->setCurrentIndex(OtherFontItem::kIndex);
    emit w.Combo1()->activated(OtherFontItem::kIndex);
    return driver.drove;
}

QString boxText(Window& w, const char* name) {
    return w.box(name)->toPlainText();
}

} // namespace

class GreyWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    bool haveFont = false;

private slots:
    void initTestCase() {
        haveFont = QFile::exists(kZenHei);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() {
        userSettings().remove(QStringLiteral("recentFonts"));
        Module1().BackMarkOn = true;
    }

    // Partly covered dots are marks in shades between the background and the mark colour; the
    // shades follow a change of either colour.
    void aGreyCellReachesTheViewAsShades() {
        Window w;
        w.form->glyphList().removeAll();
        w.form->glyphList().appendRecord(greyRecord(U'温'));
        DotView& view = *w.form->dotView();
        view.setTextColor(QColor(0x00, 0x00, 0x80));
        view.setBackColor(Qt::white);
        w.form->showRecord(0);

        // Every dot with any ink is a mark.
        QVERIFY(view.text().startsWith(QStringLiteral("■■■■□")));
        QCOMPARE(view.text().count(QStringLiteral("■")), 5);
        // 255 - 255 * 10/15 = 85, 255 - 127 * 10/15 = 170.33; 255 - 255 * 5/15 = 170, 255 - 127/3 = 212.67;
        // 255 - 17 = 238, 255 - 127/15 = 246.53.
        QCOMPARE(markColour(view, 0, 0), QColor(0x00, 0x00, 0x80));
        QCOMPARE(markColour(view, 1, 0), QColor(85, 85, 170));
        QCOMPARE(markColour(view, 2, 0), QColor(170, 170, 213));
        QCOMPARE(markColour(view, 3, 0), QColor(238, 238, 247));
        QCOMPARE(markColour(view, 15, 15), QColor(0x00, 0x00, 0x80));

        view.setTextColor(Qt::black);
        QCOMPARE(markColour(view, 1, 0), QColor(85, 85, 85));
        view.setBackColor(Qt::black);
        QCOMPARE(markColour(view, 2, 0), QColor(0, 0, 0));

        // A one-bit glyph after it has no shades left over.
        w.lookUp(1, QStringLiteral("样"));
        QCOMPARE(markColour(view, 0, 0), view.textColor());
    }

    // The depth is part of the chosen font, shown when the chooser opens on it, kept among the recent
    // fonts and named in Combo1's item.
    void bppChoiceTravelsIntoTheSpec() {
        if (!haveFont)
            QSKIP("the Debian font fonts-wqy-zenhei is not installed");
        ScriptedPrompter prompter;
        FontChoice chosen{{kZenHei.toStdString(), 0, 16, {}}, QStringLiteral("文泉驿正黑")};
        {
            FontChooser c(prompter, {}, chosen);
            QComboBox* bpp = bppChoice(c);
            QVERIFY(bpp);
            QCOMPARE(bpp->count(), 4);
            QCOMPARE(c.choice()->fontSpec.bpp, 1);
            for (int bits : {2, 4, 8, 1}) {
                bpp->setCurrentIndex(bpp->findData(bits));
                QCOMPARE(c.choice()->fontSpec.bpp, bits);
            }
        }
        chosen.fontSpec.bpp = 4;
        {
            FontChooser c(prompter, {}, chosen);
            QCOMPARE(bppChoice(c)->currentData().toInt(), 4);
            QCOMPARE(c.choice(), std::optional<FontChoice>(chosen));
        }
        QCOMPARE(chosen.label(), QStringLiteral("文泉驿正黑 16 4位灰度"));

        QSettings settings = userSettings();
        rememberFont(settings, chosen);
        const std::vector<FontChoice> recent = loadRecentFonts(settings);
        QCOMPARE(recent.size(), std::size_t(1));
        QCOMPARE(recent.front().fontSpec.bpp, 4);
        // The same font at another depth is another entry.
        chosen.fontSpec.bpp = 2;
        rememberFont(settings, chosen);
        QCOMPARE(loadRecentFonts(settings).size(), std::size_t(2));
        // A hand-edited depth is not offered.
        settings.setValue(QStringLiteral("recentFonts/1/bpp"), 3);
        QCOMPARE(loadRecentFonts(settings).size(), std::size_t(1));
    }

    // A library file has one bit a dot: the choice is disabled on it and the choice says 1.
    void aLibraryFileHasNoDepthToChoose() {
        const QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/hzk16宋");
        if (!QFile::exists(built))
            QSKIP("hzk16宋 has not been built beside the tests (the font-libraries target)");
        QTemporaryDir dir;
        const QString mine = dir.filePath(QStringLiteral("MINE.bin"));
        QVERIFY(QFile::copy(built, mine));
        ScriptedPrompter prompter;
        prompter.openAnswers << mine;
        FontChooser c(prompter, {}, std::nullopt, nullptr, QCoreApplication::applicationDirPath().toStdString());
        bppChoice(c)->setCurrentIndex(bppChoice(c)->findData(4));
        c.findChild<QPushButton*>(QStringLiteral("FontFileButton"))->click();
        QVERIFY(c.choice() && c.choice()->library);
        QVERIFY(!bppChoice(c)->isEnabled());
        QCOMPARE(c.choice()->fontSpec.bpp, 1);
    }

    // At 4 bits the boxes hold the bytes of the rows and column arrangements at that depth, the page
    // arrangements a note; back on a library, one bit again, as the list's columns do.
    void theTextBoxesWriteTheChosenDepth() {
        if (!haveFont)
            QSKIP("the Debian font fonts-wqy-zenhei is not installed");
        Window w;
        QVERIFY(chooseGreyFont(w, 20, 4));
        QCOMPARE(w.form->chosenDepth(), 4);
        w.form->glyphList().removeAll();
        w.Text3()->setText(QStringLiteral("温"));
        w.form->runLookup();
        QCOMPARE(w.form->glyphList().count(), 1);
        const hz::GlyphRecord& record = w.form->glyphList().record(0);
        const auto at4 = [&](const char* layout) { return record.bytes(*hz::parseLayout(layout)); };
        QCOMPARE(at4("rows-msb-4bpp").size(), std::size_t(20 * 10));
        QCOMPARE(boxText(w, "Text2"), shown(hz::assemblyText(at4("rows-msb-4bpp"))));
        QCOMPARE(boxText(w, "Text4"), shown(hz::assemblyText(at4("columns-lsb-4bpp"))));
        QCOMPARE(boxText(w, "Text10"), shown(hz::cText(at4("columns-msb-4bpp"))));
        for (const char* pages : {"Text6", "Text7", "Text11", "Text12"})
            QCOMPARE(boxText(w, pages), kPagesOneBitNote);
        const GlyphListModel& list = w.form->glyphList();
        QCOMPARE(list.data(list.index(0, GlyphListModel::kFirstAssemblyColumn + 3), GlyphListModel::ExactTextRole)
                     .toString(),
                 kPagesOneBitNote);

        // 样 from a library at one bit: the current record's boxes follow at once.
        w.Combo1()->setCurrentIndex(1);
        QCOMPARE(w.form->chosenDepth(), 1);
        QCOMPARE(boxText(w, "Text2"), shown(record.assemblyText(hz::Arrangement::Rows)));
        QCOMPARE(boxText(w, "Text6"), shown(record.assemblyText(hz::Arrangement::HalfUp)));
        QCOMPARE(list.data(list.index(0, GlyphListModel::kFirstAssemblyColumn + 3), GlyphListModel::ExactTextRole)
                     .toString(),
                 QString::fromStdString(record.assemblyText(hz::Arrangement::HalfUp)));
    }

    // At 4 bits the page arrangements and "全部" are refused before any file is asked for; 横排 is
    // written at that depth, its records named with it.
    void pageArrangementsAreRefusedAtDepth() {
        if (!haveFont)
            QSKIP("the Debian font fonts-wqy-zenhei is not installed");
        Window w;
        QVERIFY(chooseGreyFont(w, 16, 4));
        w.form->glyphList().removeAll();
        w.Text3()->setText(QStringLiteral("温"));
        w.form->runLookup();
        auto* combo2 = w.find<QComboBox>(QStringLiteral("Combo2"));
        const QString path = w.dir.filePath(QStringLiteral("grey.txt"));

        for (int refused : {3, 4, 5}) { // 下半列排, 上半列排, 全部
            combo2->setCurrentIndex(refused);
            for (int button : {2, 3}) {
                w.prompter.criticals.clear();
                w.prompter.log.clear();
                w.prompter.fileAnswers << path;
                w.form->Command20Click(button);
                QCOMPARE(w.prompter.criticals.size(), 1);
                QVERIFY2(w.prompter.criticals.front().contains(QStringLiteral("页排列只有1位格式")),
                         qPrintable(w.prompter.criticals.front()));
                QVERIFY(!w.prompter.log.contains(QStringLiteral("save")));
                w.prompter.fileAnswers.clear();
            }
            QVERIFY(!QFile::exists(path));
        }
        // The header and the preview take one layout: a page one is refused the same way.
        combo2->setCurrentIndex(3);
        w.prompter.criticals.clear();
        w.find<QPushButton>(QStringLiteral("ExportHeader"))->click();
        w.find<QPushButton>(QStringLiteral("OpenPreview"))->click();
        QCOMPARE(w.prompter.criticals.size(), 2);
        QVERIFY(!w.prompter.log.contains(QStringLiteral("save")));

        combo2->setCurrentIndex(0);
        w.prompter.criticals.clear();
        w.prompter.fileAnswers << path;
        w.form->Command20Click(2);
        QCOMPARE(w.prompter.criticals, QStringList());
        const QByteArray text = guitest::readAll(path);
        QVERIFY2(text.startsWith(hz::utf8ToCp936(";温[16*16]rows-msb-4bpp\r\n")->c_str()), text.constData());
    }

    // A grey layout opens on the colour TFT; its colours come from the pickers, which only that look
    // uses; a one-bit list keeps the blue OLED look.
    void thePreviewBlendsLevelsOnTheColourTft() {
        ScriptedPrompter prompter;
        const std::vector<hz::GlyphRecord> records{greyRecord(U'温')};
        LcdPreview preview(records, *hz::parseLayout("columns-msb-4bpp"), prompter);
        QCOMPARE(preview.panelLook(), hz::PanelLook::ColourTft);
        auto* fore = preview.findChild<QPushButton*>(QStringLiteral("TftForeground"));
        auto* back = preview.findChild<QPushButton*>(QStringLiteral("TftBackground"));
        QVERIFY(fore && back);
        QCOMPARE(fore->text(), QStringLiteral("#FFFFFF"));
        QCOMPARE(back->text(), QStringLiteral("#000000"));
        const auto at = [&](int x, int y) {
            const hz::RgbImage& image = preview.picture();
            const std::size_t i = (static_cast<std::size_t>(y * preview.zoom()) * image.width + x * preview.zoom()) * 3;
            return hz::rgbText({image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]});
        };
        QCOMPARE(QString::fromStdString(at(0, 0)), QStringLiteral("#FFFFFF"));
        QCOMPARE(QString::fromStdString(at(1, 0)), QStringLiteral("#AAAAAA")); // level 10 of 15
        QCOMPARE(QString::fromStdString(at(4, 0)), QStringLiteral("#000000"));

        prompter.colorAnswers << QColor(0xFF, 0x00, 0x00) << std::nullopt;
        fore->click();
        QCOMPARE(fore->text(), QStringLiteral("#FF0000"));
        QCOMPARE(QString::fromStdString(at(1, 0)), QStringLiteral("#AA0000"));
        back->click(); // cancelled: kept
        QCOMPARE(preview.tftColours().background, (hz::Rgb{0, 0, 0}));

        auto* look = preview.findChild<QComboBox*>(QStringLiteral("PanelLook"));
        look->setCurrentIndex(static_cast<int>(hz::PanelLook::BlueOled));
        QVERIFY(!fore->isEnabled() && !back->isEnabled());
        // Level 10 is at or above half: lit in the one-bit look; level 5 is not.
        const hz::Rgb lit = hz::panelColours(hz::PanelLook::BlueOled).lit;
        QCOMPARE(QString::fromStdString(at(1, 0)), QString::fromStdString(hz::rgbText(lit)));
        QVERIFY(at(2, 0) != hz::rgbText(lit));

        LcdPreview oneBit(records, hz::Layout{}, prompter);
        QCOMPARE(oneBit.panelLook(), hz::kDefaultLook);
    }
};

static GuiTestRegistration<GreyWindowTest> registration;

#include "test_grey_window.moc"
