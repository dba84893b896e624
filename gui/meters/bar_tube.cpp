#include "gui/meters/bar_tube.h"

#include "gui/meters/meter_drawing.h"

#include <QPainter>

namespace hz::gui {

using namespace meters;

namespace {
constexpr int kStrips = 15; // per half of the column
constexpr int kShadeStep = 17;
constexpr int kPenPixels = 2;
} // namespace

BarTube::Extent BarTube::columnExtent(int percent, double heightTwips) {
    return {nearest((heightTwips - heightTwips / 100 * percent) / kTwipsPerPixel),
            nearest(heightTwips / kTwipsPerPixel)};
}

BarTube::BarTube(QWidget* parent) : KeptImageWidget(parent) {
    setObjectName(QStringLiteral("progressMB1"));
    reset();
}

void BarTube::reset() {
    setGeometry(twipsRect(100, 500, kWidth, kHeight));
    clear();
}

void BarTube::clear() {
    image = QImage(size(), QImage::Format_RGB32);
    image.fill(kBack);
    update();
}

void BarTube::drawColumn(int percent) {
    const Extent extent = columnExtent(percent);
    // A column without height draws nothing: an outline of a flat rectangle would still show a line.
    if (extent.level == extent.bottom)
        return;
    QPainter painter(&image);
    painter.setBrush(Qt::NoBrush);
    const double half = kWidth / 2;
    auto strip = [&](double left, double right, const QColor& colour) {
        painter.setPen(QPen(colour, kPenPixels, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        // The level is the rectangle's bottom argument and the tube's bottom its top: normalise.
        painter.drawRect(
            QRectF(QPointF(nearest(left), extent.bottom), QPointF(nearest(right), extent.level)).normalized());
    };
    for (int i = 0; i < kStrips; ++i) {
        const int shade = kShadeStep * (i + 1);
        strip(half * i / kStrips / kTwipsPerPixel, half * (i + 1) / kStrips / kTwipsPerPixel,
              QColor(shade, 255, shade));
    }
    for (int i = 0; i < kStrips; ++i) {
        const int shade = 255 - kShadeStep * (i + 1);
        strip((half * i / kStrips + half) / kTwipsPerPixel, (half * (i + 1) / kStrips + half) / kTwipsPerPixel,
              QColor(shade, 255, shade));
    }
    update();
}

} // namespace hz::gui
