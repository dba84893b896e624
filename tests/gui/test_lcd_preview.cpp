// "液晶预览": the list on a simulated panel from its bytes, its choices, and saving the picture.

#include "gui_test_registry.h"
#include "scripted_prompter.h"
#include "test_form1_fixture.h"

#include "core/glyph/glyph_record.h"
#include "core/library/library_source.h"
#include "core/text/utf8.h"
#include "gui/preview/lcd_preview.h"
#include "gui/preview/panel_view.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace hz::gui;

namespace {

// A 16x16 record with one dot at (column, row).
hz::GlyphRecord oneDot(char32_t character, int column, int row) {
    hz::DotCell cell(16, 16);
    cell.setDot(column, row);
    hz::GlyphRecord record;
    record.character = hz::encodeUtf8(character);
    record.dots = cell.rowBytes();
    record.width = record.height = 16;
    return record;
}

// The picture's colour at a panel dot, read from the middle of its block.
QColor dotColour(const hz::gui::LcdPreview& preview, int x, int y) {
    const hz::RgbImage& image = preview.picture();
    const int zoom = preview.zoom();
    const std::size_t at = (static_cast<std::size_t>(y * zoom + zoom / 2) * static_cast<std::size_t>(image.width) +
                            static_cast<std::size_t>(x * zoom + zoom / 2)) *
                           3;
    return QColor(image.rgb[at], image.rgb[at + 1], image.rgb[at + 2]);
}

QColor litColour(hz::PanelLook look) {
    const hz::Rgb c = hz::panelColours(look).lit;
    return QColor(c.r, c.g, c.b);
}

} // namespace

class LcdPreviewTest : public QObject {
    Q_OBJECT

private slots:
    // 128 dots hold eight 16-dot glyphs; the ninth starts the next line. An up layout read back
    // upside down would move the dots.
    void glyphsAreDrawnFromTheirBytesLeftToRightAndWrap() {
        ScriptedPrompter prompter;
        std::vector<hz::GlyphRecord> records(8, oneDot('a', 0, 0));
        records.push_back(oneDot('b', 15, 3));
        hz::gui::LcdPreview preview(records, hz::Layout{hz::Scan::Columns, hz::BitOrder::Lsb, true}, prompter);

        QCOMPARE(preview.panelSize(), (hz::PanelSize{128, 64}));
        QCOMPARE(preview.panelLook(), hz::PanelLook::BlueOled);
        QCOMPARE(preview.picture().width, 128 * preview.zoom());
        const QColor lit = litColour(hz::PanelLook::BlueOled);
        QCOMPARE(dotColour(preview, 112, 0), lit);
        QCOMPARE(dotColour(preview, 15, 16 + 3), lit);
        QVERIFY(dotColour(preview, 1, 0) != lit);
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("ShownLabel"))->text(), QStringLiteral("显示 9 / 9 个字"));

        // The view shows exactly the picture.
        const auto* view = preview.findChild<hz::gui::PanelView*>(QStringLiteral("PanelView"));
        QCOMPARE(view->picture().size(), QSize(preview.picture().width, preview.picture().height));
    }

    // A long list: the largest panel still fills, every one of its 40 x 15 half-width places.
    void aLongListFillsThePanelAndCountsEveryRecord() {
        ScriptedPrompter prompter;
        hz::GlyphRecord half = oneDot('a', 7, 15);
        half.width = 8;
        half.dots = hz::DotCell(8, 16).rowBytes();
        half.dots.back() = 0x01;
        const std::vector<hz::GlyphRecord> records(100000, half);
        hz::gui::LcdPreview preview(records, hz::Layout{}, prompter);
        preview.findChild<QSpinBox*>(QStringLiteral("Zoom"))->setValue(1);
        preview.findChild<QComboBox*>(QStringLiteral("PanelSize"))->setCurrentIndex(3);
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("ShownLabel"))->text(),
                 QStringLiteral("显示 600 / 100000 个字"));
        QCOMPARE(dotColour(preview, 319, 239), litColour(hz::PanelLook::BlueOled));
    }

    void sizeLookAndZoomRedrawThePanel() {
        ScriptedPrompter prompter;
        const std::vector<hz::GlyphRecord> records{oneDot('a', 2, 5)};
        hz::gui::LcdPreview preview(records, hz::Layout{}, prompter);
        auto* size = preview.findChild<QComboBox*>(QStringLiteral("PanelSize"));
        auto* look = preview.findChild<QComboBox*>(QStringLiteral("PanelLook"));
        auto* zoom = preview.findChild<QSpinBox*>(QStringLiteral("Zoom"));
        QVERIFY(size && look && zoom);
        QCOMPARE(size->count(), 4);
        QCOMPARE(look->count(), 4);
        QCOMPARE(zoom->minimum(), 1);
        QCOMPARE(zoom->maximum(), 8);

        size->setCurrentIndex(3);
        zoom->setValue(1);
        QCOMPARE(preview.picture().width, 320);
        QCOMPARE(preview.picture().height, 240);
        look->setCurrentIndex(static_cast<int>(hz::PanelLook::WhitePaper));
        QCOMPARE(dotColour(preview, 2, 5), litColour(hz::PanelLook::WhitePaper));
        zoom->setValue(8);
        QCOMPARE(preview.picture().width, 320 * 8);
        QCOMPARE(dotColour(preview, 2, 5), litColour(hz::PanelLook::WhitePaper));
    }

    void savePngWritesThePictureThroughTheDialogs() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        const std::vector<hz::GlyphRecord> records{oneDot('a', 0, 0)};
        hz::gui::LcdPreview preview(records, hz::Layout{}, prompter);
        auto* save = preview.findChild<QPushButton*>(QStringLiteral("SavePng"));
        QVERIFY(save);

        const QString path = dir.filePath(QStringLiteral("panel.png"));
        const QString missing = dir.filePath(QStringLiteral("gone/panel.png"));
        prompter.fileAnswers << path << path << missing;
        prompter.questionAnswers << false;
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(prompter.lastSuggestedName, QStringLiteral("preview.png"));
        QCOMPARE(prompter.lastFilters.first(), QStringLiteral("PNG图片(*.png)"));
        const QImage saved(path);
        QCOMPARE(saved.size(), QSize(preview.picture().width, preview.picture().height));
        QCOMPARE(QColor(saved.pixel(1, 1)), litColour(hz::PanelLook::BlueOled));

        QTest::mouseClick(save, Qt::LeftButton); // exists: Cancel keeps it
        QCOMPARE(prompter.questions, QStringList{QStringLiteral("该文件已经存在是否覆盖？")});
        QTest::mouseClick(save, Qt::LeftButton); // no such folder: told, nothing written
        QCOMPARE(prompter.criticals.size(), 1);
        QVERIFY(prompter.criticals[0].contains(missing));
        QVERIFY(!QFile::exists(missing));
    }

    // The text starts as the list's characters; typed lines become rows, as far apart as asked.
    void typedLinesAreRowsTheLineSpacingApart() {
        ScriptedPrompter prompter;
        const std::vector<hz::GlyphRecord> records{oneDot('a', 0, 0), oneDot('b', 1, 0)};
        hz::gui::LcdPreview preview(records, hz::Layout{}, prompter);
        auto* text = preview.findChild<QPlainTextEdit*>(QStringLiteral("PreviewText"));
        auto* spacing = preview.findChild<QSpinBox*>(QStringLiteral("LineSpacing"));
        QVERIFY(text && spacing);
        QCOMPARE(text->toPlainText(), QStringLiteral("ab"));
        const QColor lit = litColour(hz::PanelLook::BlueOled);
        QCOMPARE(dotColour(preview, 17, 0), lit);

        text->setPlainText(QStringLiteral("ab\nba"));
        QCOMPARE(dotColour(preview, 17, 0), lit);
        QCOMPARE(dotColour(preview, 1, 16), lit);
        QCOMPARE(dotColour(preview, 16, 16), lit);
        spacing->setValue(4);
        QCOMPARE(preview.lineSpacing(), 4);
        QCOMPARE(dotColour(preview, 1, 20), lit);
        QVERIFY(dotColour(preview, 1, 16) != lit);
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("ShownLabel"))->text(), QStringLiteral("显示 4 / 4 个字"));
    }

    // A character typed that the list lacks is looked up in the window's source; one that has no
    // glyph there either is named, and the rest still drawn.
    void typedCharactersComeFromTheSourceOrAreNamed() {
        QTemporaryDir dir;
        form1test::writeLibrary(dir.path(), 1, {{form1test::kZi, form1test::diagonalDots()}});
        auto source = std::make_shared<hz::LibrarySource>(dir.path().toStdString(), 1, 2, 2);
        ScriptedPrompter prompter;
        const std::vector<hz::GlyphRecord> records{oneDot('a', 0, 0)};
        hz::gui::LcdPreview preview(records, hz::Layout{hz::Scan::Pages, hz::BitOrder::Lsb}, prompter, source);
        auto* missing = preview.findChild<QLabel*>(QStringLiteral("MissingLabel"));
        QVERIFY(missing && missing->isHidden());

        preview.findChild<QPlainTextEdit*>(QStringLiteral("PreviewText"))->setPlainText(QStringLiteral("a字Xa"));
        const QColor lit = litColour(hz::PanelLook::BlueOled);
        for (int r = 0; r < 16; ++r)
            QCOMPARE(dotColour(preview, 16 + r, r), lit);
        QCOMPARE(dotColour(preview, 32, 0), lit); // X left no gap
        QVERIFY(!missing->isHidden());
        QVERIFY(missing->text().contains(QStringLiteral("“X”")));
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("ShownLabel"))->text(), QStringLiteral("显示 3 / 4 个字"));
    }

    // The main window's button opens the preview modally on the list, in the chosen arrangement.
    void openPreviewShowsTheListModally() {
        form1test::Window w;
        QString className;
        QString shown;
        QString text;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            className = QString::fromLatin1(modal->metaObject()->className());
            if (auto* label = modal->findChild<QLabel*>(QStringLiteral("ShownLabel")))
                shown = label->text();
            if (auto* box = modal->findChild<QPlainTextEdit*>(QStringLiteral("PreviewText")))
                text = box->toPlainText();
            modal->close();
        });
        // Whatever happens above, the dialog must not stay open.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        guard.start(3000);
        QTest::mouseClick(w.find<QPushButton>(QStringLiteral("OpenPreview")), Qt::LeftButton);
        QCOMPARE(className, QStringLiteral("hz::gui::LcdPreview"));
        QCOMPARE(shown, QStringLiteral("显示 2 / 2 个字")); // 样字 from the start-up lookup
        QCOMPARE(text, QStringLiteral("样字"));
    }
};

static GuiTestRegistration<LcdPreviewTest> registration;
#include "test_lcd_preview.moc"
