// The key panel: its keys, its two modes and placements, what the keys do to the input box, and the
// mark it chooses for the dot view.

#include "gui_test_registry.h"

#include "gui/common/module1.h"
#include "gui/mainwin/key_panel.h"

#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace hz::gui;

namespace {
struct Window {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    QLineEdit* Text3 = new QLineEdit(form.get());
    KeyPanel* panel = new KeyPanel(Text3, form.get());

    Window() {
        form->resize(1016, 741);
        Text3->setGeometry(112, 112, 161, 24);
    }
    QPushButton* key(int k) const { return panel->findChild<QPushButton*>(QStringLiteral("Command4(%1)").arg(k)); }
    QPushButton* caretKey(int k) const { return panel->findChild<QPushButton*>(QStringLiteral("Command5(%1)").arg(k)); }
    QWidget* shadow() const { return form->findChild<QWidget*>(QStringLiteral("Picture2")); }
    QLabel* label() const { return panel->findChild<QLabel*>(QStringLiteral("Label7")); }
    void showActive() {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void hover(int k) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(key(k), &enter);
    }
};
} // namespace

class KeyPanelTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Module1().DotMark = QStringLiteral("■"); }

    void keysStandInTheirPlaces() {
        Window w;
        QCOMPARE(w.panel->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(w.panel->size(), QSize(220, 249));
        QVERIFY(w.panel->isHidden());
        QVERIFY(w.shadow() && w.shadow()->isHidden());
        QCOMPARE(w.shadow()->size(), QSize(217, 249));
        QCOMPARE(w.shadow()->palette().color(QPalette::Window), QColor(0, 128, 128));

        // The corners of the table and a few keys between them.
        const struct {
            int key;
            const char* symbol;
            QRect place;
        } samples[] = {{0, "＋", {0, 32, 25, 25}},    {8, "＄", {192, 32, 25, 25}},   {18, "★", {0, 80, 25, 25}},
                       {32, "①", {120, 104, 25, 25}}, {51, "０", {144, 152, 25, 25}}, {80, "！", {192, 224, 25, 25}}};
        for (const auto& s : samples) {
            QPushButton* key = w.key(s.key);
            QVERIFY2(key, s.symbol);
            QCOMPARE(key->text(), QString::fromUtf8(s.symbol));
            QCOMPARE(key->geometry(), s.place);
        }
        QSet<QString> symbols;
        for (int k = 0; k < KeyPanel::kKeyCount; ++k)
            symbols.insert(w.key(k)->text());
        QCOMPARE(symbols.size(), KeyPanel::kKeyCount);

        QCOMPARE(w.caretKey(0)->text(), QStringLiteral("退格←"));
        QCOMPARE(w.caretKey(0)->geometry(), QRect(128, 0, 89, 25));
        QCOMPARE(w.caretKey(1)->geometry(), QRect(0, 0, 57, 25));
        QCOMPARE(w.caretKey(2)->geometry(), QRect(64, 0, 57, 25));
        QVERIFY(w.label()->font().bold());
    }

    void eachModeHasItsPlaceAndSwitchingCloses() {
        Window w;
        w.panel->toggleInsertMode();
        QVERIFY(w.panel->isOpen());
        QCOMPARE(w.panel->pos(), QPoint(112, 136));
        QCOMPARE(w.shadow()->pos(), QPoint(120, 143));
        QVERIFY(!w.shadow()->isHidden());
        QVERIFY(!w.caretKey(0)->isHidden());
        QVERIFY(w.label()->isHidden());
        // The shadow lies directly beneath the panel, both above the window's other controls.
        const QObjectList stack = w.form->children();
        QCOMPARE(stack.indexOf(w.panel), stack.size() - 1);
        QCOMPARE(stack.indexOf(w.shadow()), stack.size() - 2);

        w.panel->toggleMarkMode(); // the other mode's button closes the panel
        QVERIFY(!w.panel->isOpen());
        QVERIFY(w.shadow()->isHidden());
        QCOMPARE(w.panel->KeyPanelMode(), int(KeyPanel::MarkMode));

        w.panel->toggleMarkMode();
        QVERIFY(w.panel->isOpen());
        QCOMPARE(w.panel->pos(), QPoint(264, 136));
        QCOMPARE(w.shadow()->pos(), QPoint(272, 143));
        QVERIFY(w.caretKey(0)->isHidden());
        QVERIFY(!w.label()->isHidden());

        w.panel->toggleInsertMode();
        QVERIFY(!w.panel->isOpen());
        w.panel->toggleInsertMode();
        QVERIFY(w.panel->isOpen());
        QCOMPARE(w.panel->KeyPanelMode(), int(KeyPanel::InsertMode));
        QVERIFY(!w.caretKey(2)->isHidden());

        w.panel->hidePanel();
        QVERIFY(!w.panel->isOpen());
        QVERIFY(w.shadow()->isHidden());
        QCOMPARE(w.panel->KeyPanelMode(), int(KeyPanel::InsertMode));
    }

    // Symbol keys (Command4) insert at the caret or after the selection; the caret keys (Command5)
    // are backspace, back and forward. Either way the box keeps the focus and the panel stays open.
    void keysEditTheInputBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength"); // 0: caret at selectionStart; negative: selected leftwards
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        const auto symbol = [](int k) { return QStringLiteral("Command4(%1)").arg(k); };
        const QString backspace = QStringLiteral("Command5(0)");
        const QString back = QStringLiteral("Command5(1)");
        const QString forward = QStringLiteral("Command5(2)");
        QTest::newRow("symbol at the caret") << "样字" << 1 << 0 << symbol(26) << "样【字" << 2;
        QTest::newRow("symbol after a selection") << "样字" << 1 << 1 << symbol(27) << "样字】" << 3;
        QTest::newRow("symbol after a leftward selection") << "样字体" << 2 << -2 << symbol(18) << "样字★体" << 3;
        QTest::newRow("symbol into an empty box") << "" << 0 << 0 << symbol(0) << "＋" << 1;
        QTest::newRow("backspace in the middle") << "样字体" << 2 << 0 << backspace << "样体" << 1;
        QTest::newRow("backspace at the start") << "样字" << 0 << 0 << backspace << "样字" << 0;
        // Only the character before the caret goes, not the selection.
        QTest::newRow("backspace with a selection") << "样字体" << 0 << 2 << backspace << "样体" << 1;
        QTest::newRow("backspace keeps a pair whole")
            << QString::fromUcs4(U"a\U0001F600b", 3) << 3 << 0 << backspace << "ab" << 1;
        QTest::newRow("back") << "样字" << 2 << 0 << back << "样字" << 1;
        QTest::newRow("back at the start") << "样字" << 0 << 0 << back << "样字" << 0;
        QTest::newRow("forward") << "样字" << 0 << 0 << forward << "样字" << 1;
        QTest::newRow("forward at the end") << "样字" << 2 << 0 << forward << "样字" << 2;
    }
    void keysEditTheInputBox() {
        QFETCH(QString, text);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        Window w;
        w.showActive();
        w.panel->toggleInsertMode();
        QVERIFY(w.Text3->hasFocus());
        w.Text3->setText(text);
        if (selectionLength == 0)
            w.Text3->setCursorPosition(selectionStart);
        else
            w.Text3->setSelection(selectionStart, selectionLength);

        QTest::mouseClick(w.panel->findChild<QPushButton*>(key), Qt::LeftButton);

        QCOMPARE(w.Text3->text(), expected);
        QCOMPARE(w.Text3->cursorPosition(), caret);
        QVERIFY(!w.Text3->hasSelectedText());
        QVERIFY(w.Text3->hasFocus());
        QVERIFY(w.panel->isOpen());
        QCOMPARE(Module1().DotMark, QStringLiteral("■"));
    }

    void markModeChoosesTheDotMark() {
        Window w;
        QSignalSpy chosen(w.panel, &KeyPanel::dotMarkChosen);
        w.Text3->setText(QStringLiteral("样字"));
        w.panel->toggleMarkMode();

        QTest::mouseClick(w.key(18), Qt::LeftButton);

        QCOMPARE(Module1().DotMark, QStringLiteral("★"));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.front().front().toString(), QStringLiteral("★"));
        QCOMPARE(w.Text3->text(), QStringLiteral("样字"));
        QVERIFY(w.panel->isOpen());
    }

    void hoverShowsTheKeyOnlyInMarkMode() {
        Window w;
        QLabel* label = w.label();
        w.panel->toggleInsertMode();
        w.hover(32);
        QCOMPARE(label->text(), QStringLiteral("请输入字符 : "));
        QCOMPARE(w.panel->LastHoverKey(), -1);

        w.panel->toggleMarkMode(); // closes
        w.panel->toggleMarkMode();
        w.hover(0); // the first key counts from the start, too
        QCOMPARE(label->text(), QStringLiteral("请输入字符 : ＋"));
        w.hover(32);
        QCOMPARE(label->text(), QStringLiteral("请输入字符 : ①"));
        w.hover(33);
        QCOMPARE(label->text(), QStringLiteral("请输入字符 : ②"));
        QCOMPARE(w.panel->LastHoverKey(), 33);
        // The last key is remembered across modes: coming back to it later needs no update.
        w.panel->hidePanel();
        w.panel->toggleInsertMode();
        w.hover(34);
        QCOMPARE(w.panel->LastHoverKey(), 33);
        w.panel->toggleMarkMode();
        w.panel->toggleMarkMode();
        w.hover(33);
        QCOMPARE(label->text(), QStringLiteral("请输入字符 : ②"));
    }
};

static GuiTestRegistration<KeyPanelTest> registration;
#include "test_key_panel.moc"
