// The rendering rule in the font chooser: RenderChoice sets the chosen font's rule, the chooser
// opens on a chosen font's rule, the recent fonts keep it (an entry kept before there was a rule
// reads as the default), and Combo1's item names the classic rule.

#include "gui_test_registry.h"
#include "scripted_prompter.h"

#include "gui/fontchooser/font_choice.h"
#include "gui/fontchooser/font_chooser.h"

#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace hz::gui;
using hz::fontsource::RenderRule;

namespace {

const QString kZenHei = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("HzDot"), QStringLiteral("HzDot"));
}

QComboBox* renderChoice(FontChooser& c) {
    return c.findChild<QComboBox*>(QStringLiteral("RenderChoice"));
}

} // namespace

class RenderChoiceTest : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;

private slots:
    void initTestCase() {
        if (!QFile::exists(kZenHei))
            QSKIP("the Debian font fonts-wqy-zenhei is not installed");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void init() { userSettings().remove(QStringLiteral("recentFonts")); }

    void theRuleTravelsIntoTheSpecAndBack() {
        ScriptedPrompter prompter;
        FontChoice chosen{{kZenHei.toStdString(), 0, 12, {}}, QStringLiteral("文泉驿正黑")};
        {
            FontChooser c(prompter, {}, chosen);
            QComboBox* rule = renderChoice(c);
            QVERIFY(rule);
            QCOMPARE(rule->count(), 2);
            QCOMPARE(c.choice()->fontSpec.render, RenderRule::KeepStrokes);
            rule->setCurrentIndex(rule->findData(static_cast<int>(RenderRule::Classic)));
            QCOMPARE(c.choice()->fontSpec.render, RenderRule::Classic);
        }
        chosen.fontSpec.render = RenderRule::Classic;
        {
            FontChooser c(prompter, {}, chosen);
            QCOMPARE(c.choice(), std::optional<FontChoice>(chosen));
        }
        QCOMPARE(chosen.label(), QStringLiteral("文泉驿正黑 12 经典渲染"));
        chosen.fontSpec.render = RenderRule::KeepStrokes;
        QCOMPARE(chosen.label(), QStringLiteral("文泉驿正黑 12"));
    }

    void recentFontsKeepTheRule() {
        QSettings settings = userSettings();
        FontChoice chosen{{kZenHei.toStdString(), 0, 12, {}}, QStringLiteral("文泉驿正黑")};
        chosen.fontSpec.render = RenderRule::Classic;
        rememberFont(settings, chosen);
        std::vector<FontChoice> recent = loadRecentFonts(settings);
        QCOMPARE(recent.size(), std::size_t(1));
        QCOMPARE(recent.front().fontSpec.render, RenderRule::Classic);
        // The same font by the other rule is another entry.
        chosen.fontSpec.render = RenderRule::KeepStrokes;
        rememberFont(settings, chosen);
        recent = loadRecentFonts(settings);
        QCOMPARE(recent.size(), std::size_t(2));
        QCOMPARE(recent.front().fontSpec.render, RenderRule::KeepStrokes);
        // Entries written before the rule was kept, or with a rule this version does not know,
        // draw by the default one.
        settings.remove(QStringLiteral("recentFonts/1/render"));
        settings.setValue(QStringLiteral("recentFonts/2/render"), QStringLiteral("sharper"));
        recent = loadRecentFonts(settings);
        QCOMPARE(recent.size(), std::size_t(1)); // both now the same entry
        QCOMPARE(recent.front().fontSpec.render, RenderRule::KeepStrokes);
    }
};

static GuiTestRegistration<RenderChoiceTest> registration;

#include "test_render_choice.moc"
