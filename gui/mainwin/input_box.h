#pragma once
// The input box (Text3): a line edit that keeps a pasted text of any length whole, for the lookup,
// copying and editing, but paints only the stretch of it around the cursor. A line edit lays out
// and measures its whole text on every paint, which with a million characters takes longer than
// the cursor's blink: the window would stop answering while the text stays in the box.

#include <QBasicTimer>
#include <QLineEdit>

namespace hz::gui {

class InputBox : public QLineEdit {
public:
    explicit InputBox(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void paintStretch();
    void restartBlink();

    int firstShown = 0;      // the first character painted at the left edge, kept as a line edit keeps its scroll
    bool cursorShown = true; // the blink's phase, for long texts
    QBasicTimer blink;
};

} // namespace hz::gui
