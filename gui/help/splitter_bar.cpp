#include "gui/help/splitter_bar.h"

#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace hz::gui {

SplitterBar::SplitterBar(QWidget* parent) : QPushButton(QString(39, QLatin1Char('|')), parent) {
    setCursor(Qt::SizeHorCursor);
    setFocusPolicy(Qt::NoFocus);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        held = true;
    QPushButton::mousePressEvent(event);
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (held)
        emit dragMoved(event->globalPosition());
    QPushButton::mouseMoveEvent(event);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        held = false;
    QPushButton::mouseReleaseEvent(event);
}

void SplitterBar::paintEvent(QPaintEvent*) {
    // The bar is far narrower than its caption, so the caption runs down it, one character a line.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QString caption = text();
    const int lineHeight = fontMetrics().height();
    int y = (height() - lineHeight * caption.size()) / 2;
    for (const QChar ch : caption) {
        painter.drawText(QRect(0, y, width(), lineHeight), Qt::AlignCenter, QString(ch));
        y += lineHeight;
    }
}

} // namespace hz::gui
