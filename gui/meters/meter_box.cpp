#include "gui/meters/meter_box.h"

#include "gui/meters/frame_shape.h"
#include "gui/meters/meter_drawing.h"

#include <QPainter>
#include <QPalette>

namespace hz::gui {

using namespace meters;

MeterBox::MeterBox(QWidget* parent, const QString& name, QSizeF boxTwips) : KeptImageWidget(parent), box(boxTwips) {
    setObjectName(name);
}

void MeterBox::setFrames(FrameShape* outer, FrameShape* inner) {
    outerFrame = outer;
    innerFrame = inner;
}

void MeterBox::placeBox() {
    resize(twipsToPixels(box.width()), twipsToPixels(box.height()));
    if (outerFrame && innerFrame) {
        outerFrame->setPen(Qt::black, 5);
        outerFrame->placeOn(geometry());
        innerFrame->setPen(palette().color(QPalette::Base), 3);
        innerFrame->placeOn(geometry());
    }
}

void MeterBox::paintBackground(const QColor& back) {
    image = makeBoxImage(box, back);
    QPainter painter(&image);
    beginTwips(painter);
    paintGreyBands(painter, box);
}

} // namespace hz::gui
