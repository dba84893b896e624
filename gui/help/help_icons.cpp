#include "gui/help/help_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace hz::gui {

namespace {

void drawClosedBook(QPainter& p) {
    // Cover, with the page edges showing at the bottom and a darker spine on the left.
    p.setPen(QPen(QColor(60, 20, 20), 1));
    p.setBrush(QColor(250, 245, 225));
    p.drawRect(QRectF(8.5, 5.5, 19, 23));
    p.setBrush(QColor(170, 40, 40));
    p.drawRect(QRectF(6.5, 3.5, 19, 23));
    p.setBrush(QColor(120, 25, 25));
    p.drawRect(QRectF(6.5, 3.5, 4, 23));
    p.setPen(QPen(QColor(240, 200, 90), 1.5));
    p.drawLine(QPointF(14, 9), QPointF(22, 9));
    p.drawLine(QPointF(14, 12), QPointF(20, 12));
}

void drawOpenBook(QPainter& p) {
    p.setPen(QPen(QColor(40, 60, 110), 1.2));
    p.setBrush(QColor(60, 100, 170));
    QPainterPath cover;
    cover.moveTo(1.5, 9);
    cover.lineTo(16, 12);
    cover.lineTo(30.5, 9);
    cover.lineTo(30.5, 27);
    cover.lineTo(16, 29.5);
    cover.lineTo(1.5, 27);
    cover.closeSubpath();
    p.drawPath(cover);
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(3, 7);
    left.quadTo(10, 5, 16, 9);
    left.lineTo(16, 27);
    left.quadTo(10, 23, 3, 25);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(29, 7);
    right.quadTo(22, 5, 16, 9);
    right.lineTo(16, 27);
    right.quadTo(22, 23, 29, 25);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(QColor(150, 150, 160), 1));
    for (int i = 0; i < 4; ++i) {
        const double y = 11.5 + 3.5 * i;
        p.drawLine(QPointF(5.5, y), QPointF(13.5, y + 1));
        p.drawLine(QPointF(18.5, y + 1), QPointF(26.5, y));
    }
}

void drawNotePage(QPainter& p) {
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(20.5, 2.5);
    page.lineTo(26.5, 8.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(215, 215, 215));
    QPainterPath fold;
    fold.moveTo(20.5, 2.5);
    fold.lineTo(20.5, 8.5);
    fold.lineTo(26.5, 8.5);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(100, 140, 210), 1));
    for (int y = 12; y <= 26; y += 3)
        p.drawLine(QPointF(9, y + 0.5), QPointF(24, y + 0.5));
    p.setPen(QPen(QColor(220, 90, 90), 1));
    p.drawLine(QPointF(11.5, 3), QPointF(11.5, 29));
}

} // namespace

QPixmap helpImage(int number) {
    if (number < 1 || number > 3)
        return QPixmap();
    QPixmap picture(kHelpIconSide, kHelpIconSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (number == 1)
        drawClosedBook(painter);
    else if (number == 2)
        drawOpenBook(painter);
    else
        drawNotePage(painter);
    return picture;
}

} // namespace hz::gui
