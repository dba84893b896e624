#include "gui/designer/button_pictures.h"

#include "gui/common/drawn_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace hz::gui {

QPixmap arrowPicture(ArrowDirection direction, int side) {
    return drawnPicture(QSize(side, side), [&](QPainter& painter) {
        // Drawn pointing right on a 30 x 30 grid, then turned to its direction.
        painter.translate(side / 2.0, side / 2.0);
        painter.scale(side / 30.0, side / 30.0);
        switch (direction) {
        case ArrowDirection::Left:
            painter.rotate(180);
            break;
        case ArrowDirection::Up:
            painter.rotate(-90);
            break;
        case ArrowDirection::Down:
            painter.rotate(90);
            break;
        case ArrowDirection::Right:
            break;
        }
        const QPolygonF arrow{{-12, -4}, {1, -4}, {1, -11}, {13, 0}, {1, 11}, {1, 4}, {-12, 4}};
        painter.setPen(QPen(QColor(20, 80, 70), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(QColor(30, 120, 105));
        painter.drawPolygon(arrow);
    });
}

QPixmap tickPicture(int side) {
    return drawnPicture(QSize(side, side), [side](QPainter& painter) {
        painter.scale(side / 30.0, side / 30.0);
        QPainterPath tick;
        tick.moveTo(5, 15);
        tick.lineTo(12, 23);
        tick.lineTo(25, 7);
        painter.setPen(QPen(QColor(0, 130, 40), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(tick);
    });
}

QPixmap crossPicture(int side) {
    return drawnPicture(QSize(side, side), [side](QPainter& painter) {
        painter.scale(side / 30.0, side / 30.0);
        painter.setPen(QPen(QColor(200, 30, 30), 4.5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(7, 7), QPointF(23, 23));
        painter.drawLine(QPointF(23, 7), QPointF(7, 23));
    });
}

} // namespace hz::gui
