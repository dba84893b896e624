#include "gui/mainwin/input_box.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QTimerEvent>
#include <algorithm>

namespace hz::gui {

namespace {
// Up to this length the line edit paints itself; beyond it only a stretch around the cursor is laid
// out. The box is 161 pixels wide: a few dozen characters show at a time.
constexpr int kLongText = 2000;
// How many characters either side of the cursor are laid out: far more than the box can show.
constexpr int kStretch = 400;
// The line edit's own gap between its frame's contents and the text.
constexpr int kHorizontalMargin = 2;

bool isLong(const QString& text) {
    return text.size() > kLongText;
}

// Moves a position off the second half of a surrogate pair.
int atCharacter(const QString& text, int position) {
    if (position > 0 && position < text.size() && text.at(position).isLowSurrogate())
        --position;
    return position;
}
} // namespace

InputBox::InputBox(QWidget* parent) : QLineEdit(parent) {
    // The line edit's own blink measures the cursor's place along the whole text each time; a long
    // text blinks by this box's timer instead.
    for (QObject* child : children())
        if (child->inherits("QWidgetLineControl"))
            child->installEventFilter(this);
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] {
        if (isLong(text()))
            restartBlink();
    });
}

bool InputBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Timer && watched != this && isLong(text()))
        return true;
    return QLineEdit::eventFilter(watched, event);
}

void InputBox::paintEvent(QPaintEvent* event) {
    if (!isLong(text())) {
        blink.stop();
        QLineEdit::paintEvent(event);
        return;
    }
    paintStretch();
}

void InputBox::paintStretch() {
    const QString& all = text();
    const int cursor = cursorPosition();
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    contents = contents.marginsRemoved(textMargins());
    painter.setClipRect(contents);
    const QFontMetrics metrics = fontMetrics();
    const int top = contents.y() + (contents.height() - metrics.height() + 1) / 2;
    const QRect line(contents.x() + kHorizontalMargin, top, contents.width() - 2 * kHorizontalMargin, metrics.height());

    // Lay out the characters from the one at the left edge, or a stretch before the cursor, to a
    // stretch after it.
    firstShown = std::clamp(firstShown, 0, static_cast<int>(all.size()));
    if (cursor < firstShown || cursor - firstShown > kStretch)
        firstShown = std::max(0, cursor - kStretch);
    const int start = atCharacter(all, std::min(firstShown, std::max(0, cursor - kStretch)));
    const int end = atCharacter(all, std::min(static_cast<int>(all.size()), cursor + kStretch));
    QTextLayout layout(all.mid(start, end - start), font());
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    layout.endLayout();

    // Scroll as a line edit does: only as far as keeps the cursor in view.
    const qreal cursorX = textLine.cursorToX(cursor - start);
    qreal left = textLine.cursorToX(firstShown - start);
    if (cursorX - left > line.width() - 1) {
        left = cursorX - line.width() + 1;
        firstShown = start + textLine.xToCursor(left, QTextLine::CursorOnCharacter);
        if (textLine.cursorToX(firstShown - start) < left)
            firstShown = start + textLine.xToCursor(left, QTextLine::CursorBetweenCharacters);
        left = cursorX - line.width() + 1;
    } else if (cursorX < left) {
        left = cursorX;
        firstShown = cursor;
    }

    QList<QTextLayout::FormatRange> selections;
    if (hasSelectedText()) {
        const int from = std::clamp(selectionStart() - start, 0, end - start);
        const int to = std::clamp(selectionEnd() - start, 0, end - start);
        QTextLayout::FormatRange selected;
        selected.start = from;
        selected.length = to - from;
        selected.format.setBackground(palette().brush(QPalette::Highlight));
        selected.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections << selected;
    }
    painter.setPen(palette().color(QPalette::Text));
    const QPointF origin(line.x() - left, line.y());
    layout.draw(&painter, origin, selections, contents);
    if (hasFocus() && cursorShown && !hasSelectedText())
        layout.drawCursor(&painter, origin, cursor - start,
                          style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
}

void InputBox::restartBlink() {
    cursorShown = true;
    const int interval = QApplication::cursorFlashTime() / 2;
    if (hasFocus() && interval > 0)
        blink.start(interval, this);
    else
        blink.stop();
    update();
}

void InputBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blink.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    cursorShown = !cursorShown;
    update();
}

void InputBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (isLong(text()))
        restartBlink();
}

void InputBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    blink.stop();
}

} // namespace hz::gui
