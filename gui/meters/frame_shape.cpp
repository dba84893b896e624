#include "gui/meters/frame_shape.h"

#include <QPainter>

namespace hz::gui {

FrameShape::FrameShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FrameShape::setPen(const QColor& colour, int widthPixels) {
    penColour = colour;
    width = widthPixels;
    placeOn(bounds);
}

void FrameShape::placeOn(const QRect& box) {
    bounds = box;
    const int reach = (width + 1) / 2;
    setGeometry(box.adjusted(-reach, -reach, reach, reach));
    update();
}

void FrameShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int reach = (width + 1) / 2;
    // The pen centred on the box's outline, in this widget's coordinates.
    const QRectF outline(reach, reach, bounds.width(), bounds.height());
    painter.setPen(QPen(penColour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline);
}

} // namespace hz::gui
