#include "gui/imagewin/image_pictures.h"

#include "gui/common/drawn_picture.h"

#include <QPainterPath>
#include <algorithm>

namespace hz::gui {

QPixmap picturePicture(QSize size) {
    return drawnPicture(size, [size](QPainter& painter) {
        const QColor ink(20, 70, 60);
        const double s = std::min(size.width(), size.height());
        const QRectF frame(s * 0.08, s * 0.14, s * 0.84, s * 0.72);
        painter.setPen(QPen(ink, std::max(1.0, s * 0.07)));
        painter.setBrush(QColor(232, 255, 250));
        painter.drawRect(frame);
        QPainterPath hills;
        hills.moveTo(frame.left(), frame.bottom());
        hills.lineTo(frame.left() + frame.width() * 0.35, frame.top() + frame.height() * 0.4);
        hills.lineTo(frame.left() + frame.width() * 0.55, frame.top() + frame.height() * 0.7);
        hills.lineTo(frame.left() + frame.width() * 0.75, frame.top() + frame.height() * 0.5);
        hills.lineTo(frame.right(), frame.bottom());
        hills.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawPath(hills);
        painter.setBrush(QColor(230, 160, 20));
        painter.drawEllipse(QPointF(frame.left() + frame.width() * 0.75, frame.top() + frame.height() * 0.28),
                            s * 0.09, s * 0.09);
    });
}

} // namespace hz::gui
