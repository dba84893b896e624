#include "gui/meters/line_shape.h"

#include "gui/meters/meter_drawing.h"

#include <QEvent>
#include <QPainter>

namespace hz::gui {

LineShape::LineShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(parent->rect());
    // Follow the parent's size so the line is never clipped by a stale layer size.
    parent->installEventFilter(this);
}

void LineShape::setLine(const QLineF& twips) {
    if (twips == ends)
        return;
    ends = twips;
    update();
}

void LineShape::setColour(const QColor& colour) {
    penColour = colour;
    update();
}

bool LineShape::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void LineShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    meters::beginTwips(painter);
    painter.setPen(meters::pixelPen(penColour, 1));
    painter.drawLine(ends);
}

} // namespace hz::gui
