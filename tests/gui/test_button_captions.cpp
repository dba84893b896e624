// The main window's captioned buttons: each caption is drawn whole, inside its button, broken only
// between its words; the meter button, a picture only, says what it opens.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "gui/common/module1.h"
#include "gui/common/rain_button.h"

#include <QFontMetrics>
#include <QTest>

using namespace hz::gui;

using namespace form1test;

class ButtonCaptionsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Module1() = ProgramSettings{}; }

    void captionsBreakOnlyBetweenWords_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("words");
        const std::pair<const char*, const char*> captions[] = {
            {"Command20(1)", "删除 全部 汉字 点阵"},
            {"Command20(2)", "导出 全部 汉字 点阵"},
            {"Command20(3)", "导出 当前 汉字 点阵"},
            {"Command20(4)", "点阵图 前景色"},
            {"Command20(5)", "点阵图 背景色"},
            {"Command20(6)", "退出 程序"},
            {"Command20(7)", "点阵图 背景 字符"},
            {"Command20(8)", "删除 当前 汉字 点阵"},
            {"Command20(10)", "设计 12*12 变 16*16 方案"},
            {"Command20(11)", "程序 帮助"},
            {"Command21", "输入 显示 字符"},
            {"ExportHeader", "导出 C头文件"},
            {"OpenPreview", "液晶 预览"},
        };
        for (const auto& [button, words] : captions)
            QTest::newRow(button) << QString::fromLatin1(button) << QString::fromUtf8(words).split(QLatin1Char(' '));
    }
    void captionsBreakOnlyBetweenWords() {
        QFETCH(QString, button);
        QFETCH(QStringList, words);
        Window w;
        const auto* rain = w.find<RainButton>(button);
        QVERIFY(rain);
        QCOMPARE(rain->text(), words.join(QString()));

        const RainButton::CaptionLayout caption = rain->captionLayout();
        QCOMPARE(caption.lines.join(QString()), rain->text());
        // Each line ends where a word ends.
        QSet<qsizetype> wordEnds;
        qsizetype end = 0;
        for (const QString& word : words)
            wordEnds << (end += word.size());
        qsizetype lineEnd = 0;
        for (const QString& line : caption.lines)
            QVERIFY2(wordEnds.contains(lineEnd += line.size()), qPrintable(caption.lines.join(QLatin1Char('/'))));
        // Inside the button, at a readable size.
        const QFontMetrics metrics(caption.font);
        const QRect area = rain->captionArea();
        QVERIFY(metrics.lineSpacing() * caption.lines.size() <= area.height());
        for (const QString& line : caption.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= area.width(), qPrintable(line));
        QVERIFY(caption.font.pointSizeF() >= 6.5);
    }

    // A text set afterwards is broken anywhere again, as there are no words for it.
    void aNewTextForgetsTheWords() {
        RainButton button;
        button.resize(56, 41);
        button.setCaptionWords({QStringLiteral("程序"), QStringLiteral("帮助")});
        button.setText(QStringLiteral("一二三四五六七八九"));
        QCOMPARE(button.captionLayout().lines.join(QString()), button.text());
        QVERIFY(button.captionLayout().lines.size() > 1);
    }

    void theMeterButtonSaysWhatItOpens() {
        Window w;
        const auto* meters = w.find<RainButton>(QStringLiteral("Command20(9)"));
        QVERIFY(meters->text().isEmpty());
        QVERIFY(!meters->picture().isNull());
        QVERIFY(meters->toolTip().contains(QStringLiteral("仪表演示")));
    }
};

static GuiTestRegistration<ButtonCaptionsTest> registration;
#include "test_button_captions.moc"
