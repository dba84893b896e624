#include "gui/mainwin/pictures.h"

#include "gui/common/drawn_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace hz::gui {

namespace {

const QColor kInk(20, 70, 60);
const QColor kMint(130, 240, 217);

} // namespace

QIcon rowIcon() {
    // The strokes of 字 on an 8 x 8 grid, drawn as 2 x 2 dots on a pale cell.
    static const char* const rows[8] = {
        "...##...", "########", "#......#", ".######.", "....#...", "########", "....#...", "...##...",
    };
    QPixmap pixmap = transparentPicture(QSize(16, 16));
    QPainter painter(&pixmap);
    painter.fillRect(QRect(0, 0, 16, 16), QColor(232, 255, 250));
    painter.setPen(QColor(90, 170, 150));
    painter.drawRect(QRect(0, 0, 15, 15));
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            if (rows[r][c] == '#')
                painter.fillRect(QRect(c * 2, r * 2, 2, 2), kInk);
        }
    }
    return QIcon(pixmap);
}

QPixmap meterPicture(QSize size) {
    return drawnPicture(size, [size](QPainter& painter) {
        const double w = size.width();
        const double h = size.height();
        const QPointF centre(w / 2, h * 0.85);
        const double radius = std::min(w / 2, h * 0.85) - 2;

        // The dial: a half disc with a scale of eleven ticks, the last third in red.
        QPainterPath face;
        face.moveTo(centre);
        face.arcTo(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 0, 180);
        face.closeSubpath();
        painter.fillPath(face, QColor(250, 255, 253));
        painter.setPen(QPen(kInk, 1.2));
        painter.drawPath(face);
        for (int i = 0; i <= 10; ++i) {
            const double angle = qDegreesToRadians(180.0 - i * 18.0);
            const QPointF direction(std::cos(angle), -std::sin(angle));
            painter.setPen(QPen(i >= 7 ? QColor(210, 40, 40) : kInk, i % 5 == 0 ? 1.6 : 1.0));
            painter.drawLine(centre + direction * (radius - (i % 5 == 0 ? 6 : 4)), centre + direction * (radius - 1.5));
        }

        // The needle at about two thirds of the scale.
        const double needle = qDegreesToRadians(180.0 - 125.0);
        painter.setPen(QPen(QColor(200, 30, 30), 1.8, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre, centre + QPointF(std::cos(needle), -std::sin(needle)) * (radius - 5));
        painter.setBrush(kInk);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(centre, 2.5, 2.5);
    });
}

QPixmap searchPicture(QSize size) {
    return drawnPicture(size, [size](QPainter& painter) {
        const double s = std::min(size.width(), size.height());
        const QRectF lens(s * 0.1, s * 0.1, s * 0.55, s * 0.55);
        painter.setBrush(QColor(220, 250, 244));
        painter.setPen(QPen(kInk, s * 0.1));
        painter.drawEllipse(lens);
        painter.setPen(QPen(kInk, s * 0.16, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s * 0.6, s * 0.6), QPointF(s * 0.88, s * 0.88));
    });
}

QPixmap keysPicture(QSize size) {
    return drawnPicture(size, [size](QPainter& painter) {
        const double s = std::min(size.width(), size.height());
        const double key = s / 3.0;
        painter.setPen(QPen(kInk, 1));
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const QRectF cell(c * key + 0.5, r * key + 0.5, key - 1.5, key - 1.5);
                painter.setBrush(r == 1 && c == 1 ? kInk : kMint);
                painter.drawRoundedRect(cell, 1.2, 1.2);
            }
        }
    });
}

} // namespace hz::gui
