// The font chooser by itself: the search over the installed fonts, the sample drawn from the font
// source's own glyphs at the chosen size, and font files that are not installed.

#include "chooser_driver.h"
#include "gui_test_registry.h"
#include "scripted_prompter.h"

#include "gui/fontchooser/font_chooser.h"
#include "gui/fontchooser/font_problem_text.h"
#include "gui/fontchooser/font_sample.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTest>

using namespace hz::gui;

namespace {

const QString kZenHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");

QStringList shownEntries(FontChooser& c) {
    QStringList texts;
    QListWidget* fonts = chooser::list(c);
    for (int row = 0; row < fonts->count(); ++row) {
        if (!fonts->item(row)->isHidden())
            texts << fonts->item(row)->text();
    }
    return texts;
}

} // namespace

class FontChooserTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!QFile::exists(kZenHei))
            QSKIP("the Debian font fonts-wqy-zenhei is not installed");
    }

    void theSearchNarrowsTheList() {
        ScriptedPrompter prompter;
        FontChooser c(prompter, {}, std::nullopt);
        auto* search = c.findChild<QLineEdit*>(QStringLiteral("FontSearch"));
        const int all = shownEntries(c).size();
        QVERIFY(all > 3);

        search->setText(QStringLiteral("正黑"));
        const QStringList zen = shownEntries(c);
        QVERIFY(zen.contains(QStringLiteral("文泉驿正黑 Regular")));
        for (const QString& entry : zen)
            QVERIFY2(entry.contains(QStringLiteral("正黑")), qPrintable(entry));

        // The family's English name and the file name find it too.
        search->setText(QStringLiteral("zen hei"));
        QVERIFY(shownEntries(c).contains(QStringLiteral("文泉驿正黑 Regular")));
        search->setText(QStringLiteral("wqy-zenhei.ttc"));
        QCOMPARE(shownEntries(c).size(), zen.size());
        // The entry OK would take is always one of those shown.
        QCOMPARE(chooser::list(c)->currentItem()->text(), shownEntries(c).front());
        search->setText(QStringLiteral("no such font anywhere"));
        QVERIFY(shownEntries(c).isEmpty());
        QCOMPARE(c.choice(), std::nullopt);
        QVERIFY(!chooser::button(c, QDialogButtonBox::Ok)->isEnabled());
        search->clear();
        QCOMPARE(shownEntries(c).size(), all);
    }

    void theSampleIsTheFontSourcesOwnDots() {
        ScriptedPrompter prompter;
        const FontChoice zenHei{{kZenHei.toStdString(), 0, 20, {}}, QStringLiteral("文泉驿正黑")};
        FontChooser c(prompter, {}, zenHei);
        auto* sample = c.findChild<FontSample*>(QStringLiteral("SamplePreview"));
        QCOMPARE(c.choice(), std::optional<FontChoice>(zenHei));

        for (int size : {20, 9}) {
            chooser::sizeBox(c)->setValue(size);
            // The sample follows a moment after the size stops changing.
            QTRY_VERIFY(!sample->cells().empty() && sample->cells()[0] && sample->cells()[0]->height() == size);
            const auto opened = hz::fontsource::FontSource::open({kZenHei.toStdString(), 0, size, {}});
            QVERIFY2(opened, opened ? "" : qPrintable(fontProblemText(opened.problem())));
            const auto& source = *opened;
            const QList<uint> text = FontSample::sampleText().toUcs4();
            QCOMPARE(sample->cells().size(), std::size_t(text.size()));
            for (qsizetype k = 0; k < text.size(); ++k) {
                hz::DotCell cell;
                QCOMPARE(source->glyph(static_cast<char32_t>(text[k]), cell), hz::LookupStatus::Found);
                QVERIFY(sample->cells()[std::size_t(k)] == cell);
            }
            // 汉字 full-width, ABC123 half-width, rounded up.
            QCOMPARE(sample->cells()[0]->width(), size);
            QCOMPARE(sample->cells()[2]->width(), (size + 1) / 2);
        }

        // The picture has dots in it.
        sample->resize(400, 120);
        const QImage picture = sample->grab().toImage();
        int dark = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 64 ? 1 : 0;
        QVERIFY(dark > 100);

        chooser::sizeBox(c)->setValue(100);
        QCOMPARE(chooser::sizeBox(c)->value(), hz::fontsource::FontSource::kMaxSize);
        chooser::sizeBox(c)->setValue(1);
        QCOMPARE(chooser::sizeBox(c)->value(), hz::fontsource::FontSource::kMinSize);
    }

    // The cell widths and the ambiguous characters' width are part of the choice, shown as they
    // were chosen, and the sample is drawn by them.
    void theWidthChoicesTravelWithTheChoice() {
        ScriptedPrompter prompter;
        FontChoice chosen{{kZenHei.toStdString(), 0, 16, {}}, QStringLiteral("文泉驿正黑")};
        chosen.fontSpec.widths = hz::fontsource::GlyphWidths::Proportional;
        chosen.fontSpec.ambiguous = hz::fontsource::AmbiguousWidth::Half;
        FontChooser c(prompter, {}, chosen);
        auto* widths = c.findChild<QComboBox*>(QStringLiteral("WidthChoice"));
        auto* ambiguous = c.findChild<QComboBox*>(QStringLiteral("AmbiguousChoice"));
        QVERIFY(widths && ambiguous);
        QCOMPARE(widths->currentIndex(), 1);
        QCOMPARE(ambiguous->currentIndex(), 1);
        QCOMPARE(c.choice(), std::optional<FontChoice>(chosen));

        auto* sample = c.findChild<FontSample*>(QStringLiteral("SamplePreview"));
        const auto opened = hz::fontsource::FontSource::open(chosen.fontSpec);
        QVERIFY(opened);
        const QList<uint> text = FontSample::sampleText().toUcs4();
        QCOMPARE(sample->cells().size(), std::size_t(text.size()));
        for (qsizetype k = 0; k < text.size(); ++k) {
            hz::DotCell cell;
            QCOMPARE((*opened)->glyph(static_cast<char32_t>(text[k]), cell), hz::LookupStatus::Found);
            QVERIFY(sample->cells()[std::size_t(k)] == cell);
        }
        // ° ends the sample: no wider than a half-width cell now.
        QVERIFY(sample->cells().back()->width() <= 8);

        widths->setCurrentIndex(0);
        ambiguous->setCurrentIndex(0);
        QVERIFY(c.choice()->fontSpec.widths == hz::fontsource::GlyphWidths::Fixed);
        QVERIFY(c.choice()->fontSpec.ambiguous == hz::fontsource::AmbiguousWidth::Full);
        QTRY_VERIFY(sample->cells().back() && sample->cells().back()->width() == 16);
    }

    // A recent font that no longer opens says why in the sample, in the window's words.
    void aFontThatDoesNotOpenIsExplainedInTheSample() {
        const QString gone = QStringLiteral("/nonexistent/字体.ttf");
        const struct {
            FontChoice choice;
            QString said;
        } cases[] = {
            {{{gone.toStdString(), 0, 16, {}}, QStringLiteral("gone")}, QStringLiteral("字体文件不存在：%1").arg(gone)},
            {{{kZenHei.toStdString(), 7, 16, {}}, QStringLiteral("文泉驿正黑")},
             QStringLiteral("该字体文件只有 3 个字样（从 0 数起），没有第 7 个")},
        };
        for (const auto& c : cases) {
            ScriptedPrompter prompter;
            FontChooser chooser(prompter, {c.choice}, c.choice);
            QCOMPARE(chooser.findChild<FontSample*>(QStringLiteral("SamplePreview"))->problem(), c.said);
        }
    }

    void aFontFileGivesAnEntryPerFace() {
        ScriptedPrompter prompter;
        FontChooser c(prompter, {}, std::nullopt);
        auto* fileButton = c.findChild<QPushButton*>(QStringLiteral("FontFileButton"));
        const int before = chooser::list(c)->count();

        // A cancelled file dialog changes nothing.
        fileButton->click();
        QCOMPARE(prompter.log, QStringList({QStringLiteral("open")}));
        QCOMPARE(chooser::list(c)->count(), before);

        prompter.openAnswers << kZenHei;
        fileButton->click();
        // wqy-zenhei.ttc holds three faces; the first is chosen.
        QCOMPARE(chooser::list(c)->count(), before + 3);
        QCOMPARE(chooser::list(c)->currentRow(), 0);
        QCOMPARE(chooser::list(c)->item(0)->text(), QStringLiteral("WenQuanYi Zen Hei（wqy-zenhei.ttc）"));
        QCOMPARE(c.choice()->fontSpec.file, kZenHei.toStdString());
        QCOMPARE(c.choice()->fontSpec.face, 0);
        chooser::list(c)->setCurrentRow(2);
        QCOMPARE(c.choice()->fontSpec.face, 2);
        QCOMPARE(c.choice()->name, QStringLiteral("WenQuanYi Zen Hei Sharp"));
        QVERIFY(c.findChild<FontSample*>(QStringLiteral("SamplePreview"))->problem().isEmpty());
    }
};

static GuiTestRegistration<FontChooserTest> registration;

#include "test_font_chooser.moc"
