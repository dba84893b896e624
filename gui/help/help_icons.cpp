#include "gui/help/help_icons.h"

#include "gui/common/drawn_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <initializer_list>

namespace hz::gui {

namespace {

// A closed outline through the corners in turn.
QPainterPath outline(std::initializer_list<QPointF> corners) {
    QPainterPath path;
    path.moveTo(*corners.begin());
    for (auto corner = corners.begin() + 1; corner != corners.end(); ++corner)
        path.lineTo(*corner);
    path.closeSubpath();
    return path;
}

// A page of the open book, from its outer edge at x = edge to the spine at x = 16; its top and bottom
// curve towards control points at x = bend.
QPainterPath openPage(double edge, double bend) {
    QPainterPath page;
    page.moveTo(edge, 7);
    page.quadTo(bend, 5, 16, 9);
    page.lineTo(16, 27);
    page.quadTo(bend, 23, edge, 25);
    page.closeSubpath();
    return page;
}

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
    p.drawPath(outline({{1.5, 9}, {16, 12}, {30.5, 9}, {30.5, 27}, {16, 29.5}, {1.5, 27}}));
    p.setBrush(Qt::white);
    p.drawPath(openPage(3, 10));
    p.drawPath(openPage(29, 22));
    p.setPen(QPen(QColor(150, 150, 160), 1));
    for (int i = 0; i < 4; ++i) {
        const double y = 11.5 + 3.5 * i;
        p.drawLine(QPointF(5.5, y), QPointF(13.5, y + 1));
        p.drawLine(QPointF(18.5, y + 1), QPointF(26.5, y));
    }
}

void drawNotePage(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(outline({{6.5, 2.5}, {20.5, 2.5}, {26.5, 8.5}, {26.5, 29.5}, {6.5, 29.5}}));
    p.setBrush(QColor(215, 215, 215));
    p.drawPath(outline({{20.5, 2.5}, {20.5, 8.5}, {26.5, 8.5}}));
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
    return drawnPicture(QSize(kHelpIconSide, kHelpIconSide), [number](QPainter& painter) {
        if (number == 1)
            drawClosedBook(painter);
        else if (number == 2)
            drawOpenBook(painter);
        else
            drawNotePage(painter);
    });
}

} // namespace hz::gui
