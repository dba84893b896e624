// A lookup pass tells the first three refused characters one box each, and the rest in one box at
// the end, so that a long text the library lacks cannot bury the window in boxes.

#include "gui_test_registry.h"
#include "test_form1_fixture.h"

#include "gui/mainwin/glyph_list_model.h"

#include <QApplication>
#include <QTest>

using namespace hz::gui;

using namespace form1test;

namespace {
const QString kNotChinese = QStringLiteral("您输入的字符不是汉字！！！");
}

class RefusalSummaryTest : public QObject {
    Q_OBJECT

private slots:
    void firstThreeToldThenOneSummary_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("newRows");
        const QStringList three{kNotChinese, kNotChinese, kNotChinese};
        QTest::newRow("three: no summary") << QStringLiteral("ab样c") << three << 1;
        QTest::newRow("four") << QStringLiteral("ab样cd")
                              << (three + QStringList{QStringLiteral("另有1个字符未能取出点阵：d。")}) << 1;
        QTest::newRow("ten beyond the three, all named")
            << QStringLiteral("abc字defghijklm")
            << (three + QStringList{QStringLiteral("另有10个字符未能取出点阵：d、e、f、g、h、i、j、k、l、m。")}) << 1;
        QTest::newRow("invisible ones by their code")
            << QStringLiteral("abc \tx")
            << (three + QStringList{QStringLiteral("另有3个字符未能取出点阵：U+0020、U+0009、x。")}) << 0;
        QTest::newRow("beyond the basic plane")
            << QStringLiteral("abc\U0001F600")
            << (three + QStringList{QStringLiteral("另有1个字符未能取出点阵：\U0001F600。")}) << 0;
    }

    void firstThreeToldThenOneSummary() {
        QFETCH(QString, input);
        QFETCH(QStringList, messages);
        QFETCH(int, newRows);
        Window w;
        w.lookUp(1, input);
        QCOMPARE(w.prompter.criticals, messages);
        QCOMPARE(w.form->glyphList().count(), 2 + newRows);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // Ten thousand characters the library lacks, with hanzi among them: four boxes, every hanzi
    // found, and the next pass counts afresh.
    void aLongRefusedTextKeepsTheWindowUsable() {
        Window w;
        QString input = QStringLiteral("样");
        for (int i = 0; i < 10000; ++i)
            input += QChar(u'a' + i % 26);
        input += QStringLiteral("字");
        w.lookUp(1, input);
        QCOMPARE(w.prompter.criticals.size(), 4);
        QCOMPARE(w.prompter.criticals.last(),
                 QStringLiteral("另有9997个字符未能取出点阵：d、e、f、g、h、i、j、k、l、m等。"));
        QCOMPARE(w.form->glyphList().count(), 4);
        QCOMPARE(w.label("Label3"), QStringLiteral("字"));

        w.lookUp(1, QStringLiteral("xy"));
        QCOMPARE(w.prompter.criticals.size(), 6);
    }

    // A missing library refuses every character the same way: three boxes and the summary.
    void missingLibrary() {
        Window w;
        w.lookUp(4, QStringLiteral("样字样字样"));
        QCOMPARE(w.prompter.criticals.size(), 4);
        QCOMPARE(w.prompter.criticals.last(), QStringLiteral("另有2个字符未能取出点阵：字、样。"));
    }
};

static GuiTestRegistration<RefusalSummaryTest> registration;
#include "test_refusal_summary.moc"
