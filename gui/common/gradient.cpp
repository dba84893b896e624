#include "gui/common/gradient.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace hz::gui {

namespace {
constexpr int kBandsPerHalf = 50;
constexpr int kBaseRed = 130, kBaseGreen = 240, kBaseBlue = 217;
// 255 / 50 = 5.1, rounded to whole steps.
const int kStep = static_cast<int>(std::lround(255.0 / kBandsPerHalf));
} // namespace

QColor gradientBandColor(int level) {
    auto cap = [](int v) { return std::min(v, 255); };
    return QColor(cap(kBaseRed + kStep * level), cap(kBaseGreen + kStep * level), cap(kBaseBlue + kStep * level));
}

QImage PaintGradient(QSize outerSize, QSize drawingSize) {
    QImage image(drawingSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    const double w = outerSize.width();
    const double h = outerSize.height();
    for (int i = 0; i < kBandsPerHalf; ++i) {
        const double left = i * w / 2 / kBandsPerHalf;
        const double right = (i + 1) * w / 2 / kBandsPerHalf;
        painter.fillRect(QRectF(QPointF(left, 0), QPointF(right, h)), gradientBandColor(i + 1));
        painter.fillRect(QRectF(QPointF(w / 2 + left, 0), QPointF(w / 2 + right, h)),
                         gradientBandColor(kBandsPerHalf - 1 - i));
    }
    return image;
}

GradientPanel::GradientPanel(QWidget* parent) : KeptImageWidget(parent) {}

void GradientPanel::paintGradient() {
    paintGradient(size());
}

void GradientPanel::paintGradient(QSize outerSize) {
    image = PaintGradient(outerSize, size());
    update();
}

} // namespace hz::gui
