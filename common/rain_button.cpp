#include "common/rain_button.h"

#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>

RainButton::RainButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
}

void RainButton::applyStyle(const QColor& color) {
    base = color;
    isStyled = true;
    update();
}

void RainButton::setPicture(const QPixmap& picture) {
    pic = picture;
    update();
}

QSize RainButton::sizeHint() const { return {49, 41}; }

void RainButton::enterEvent(QEnterEvent* event) {
    hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void RainButton::leaveEvent(QEvent* event) {
    hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void RainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = isStyled ? base : palette().button().color();
    if (isDown())
        fill = fill.darker(135);
    else if (hovered)
        fill = fill.darker(112);
    if (!isEnabled())
        fill = fill.lighter(120);

    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, 5, 5);
    painter.fillPath(path, fill);
    painter.setPen(QPen(fill.darker(150), 1));
    painter.drawPath(path);
    if (hasFocus()) {
        painter.setPen(QPen(fill.darker(200), 1, Qt::DotLine));
        painter.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }

    if (!pic.isNull()) {
        const QPixmap scaled = pic.width() > width() - 4 || pic.height() > height() - 4
                                   ? pic.scaled(size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                   : pic;
        const QPoint at((width() - scaled.width()) / 2, (height() - scaled.height()) / 2);
        painter.drawPixmap(at + (isDown() ? QPoint(1, 1) : QPoint()), scaled);
        return;
    }
    painter.setPen(isEnabled() ? palette().buttonText().color() : palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.setFont(font());
    const QRect textArea = rect().adjusted(2, 1, -2, -1).translated(isDown() ? QPoint(1, 1) : QPoint());
    painter.drawText(textArea, Qt::AlignCenter | Qt::TextWrapAnywhere, text());
}
