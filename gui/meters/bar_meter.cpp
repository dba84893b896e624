#include "gui/meters/bar_meter.h"

#include "gui/meters/alarm.h"
#include "gui/meters/bar_tube.h"
#include "gui/meters/meter_drawing.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QTimer>

namespace hz::gui {

using namespace meters;

namespace {
// The tube's place in the box, in twips.
constexpr double kTubeLeft = 100, kTubeTop = 500;
constexpr double kTubeWidth = BarTube::kWidth, kTubeHeight = BarTube::kHeight;
constexpr double kScaleX = kTubeLeft + kTubeWidth; // the scale starts at the tube's right edge
constexpr double kMajorLength = 150, kMinorLength = 100;

// The colour box of fifth J (1 at the top): red rises and green falls towards the top.
QColor fifthColour(int j) {
    return QColor(nearest((5 - j) * 255.0 / 5), nearest(255 - (5 - j) * 255.0 / 5), 255);
}

// A tick as a black line with a white line over it.
void tick(QPainter& painter, double y, double length) {
    const QLineF line(kScaleX, y, kScaleX + length, y);
    painter.setPen(pixelPen(Qt::black, 2));
    painter.drawLine(line);
    painter.setPen(pixelPen(Qt::white, 1));
    painter.drawLine(line);
}
} // namespace

BarMeter::BarMeter(QWidget* parent) : MeterBox(parent, QStringLiteral("progress1"), QSizeF(kWidth, kHeight)) {
    progressMB1 = new BarTube(this);
    progressDataLabel1 = addPart<QLabel>(QStringLiteral("progressDataLabel1"));
    progressBJTimer1 = makeBlinkTimer(this, "progressBJTimer1");
    connect(progressBJTimer1, &QTimer::timeout, this, &BarMeter::progressBJTimer1_Timer);
}

qint16 BarMeter::percentFor(float value) {
    if (value >= 1)
        return 100;
    if (value > 0)
        return static_cast<qint16>(truncate(value * 100.0f));
    return 0;
}

void BarMeter::InitProgress1() {
    placeBox();
    progressMB1->reset();
    paintScale();
    progressBJTimer1->stop();
}

void BarMeter::paintScale() {
    paintBackground(palette().color(QPalette::Window));
    QPainter painter(&image);
    beginTwips(painter);
    painter.setFont(boxDefaultFontTwips());

    const int p = truncate(kHeight / 5);
    for (int j = 1; j <= 5; ++j) {
        const int boxTop = truncate((j - 1) * kTubeHeight / 5) + kTubeTop + 10;
        const int boxBottom = truncate(j * kTubeHeight / 5) + kTubeTop - 20;
        painter.fillRect(QRectF(QPointF(kScaleX, boxTop), QPointF(kScaleX + kMajorLength, boxBottom)), fifthColour(j));
        const int y = boxTop; // the major tick runs along the top of its colour box
        painter.setPen(Qt::black);
        drawTextAt(painter, QPointF(kScaleX + kMajorLength, (j - 1) * kTubeHeight / 5 + kTubeTop - 50),
                   format2((6 - j) / 5.0));
        tick(painter, y, kMajorLength);
        for (int k = 1; k <= 4; ++k)
            tick(painter, y + truncate(p * k / 6.0), kMinorLength);
    }
    tick(painter, kTubeTop + kTubeHeight - 10, kMajorLength);
    painter.setPen(Qt::black);
    drawTextAt(painter, QPointF(kScaleX + kMajorLength, kTubeHeight + kTubeTop - 100), format2(0));

    painter.setFont(songTiTwips(10, true));
    const QString caption = QStringLiteral("输出电压(V)");
    drawTextAt(painter, QPointF((kWidth - textWidth(painter, caption)) / 2, kTubeTop - 300), caption);
    placeValueLabel(textHeight(painter));
    update();
}

void BarMeter::placeValueLabel(double captionTextHeight) {
    const double height = 2 * captionTextHeight;
    const double top = (kHeight - kTubeTop - kTubeHeight - height) / 2 + kTubeTop + kTubeHeight;
    progressDataLabel1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextLook(*progressDataLabel1, heiTiPixels(16, false), Qt::red);
    progressDataLabel1->setText(format2(0));
    progressDataLabel1->setGeometry(twipsRect(0, top, kWidth, height));
}

void BarMeter::progressShow1() {
    progressMB1->clear();
    progressDataLabel1->setText(format3(progressValue));
    progressPercent = percentFor(progressValue);
    progressMB1->drawColumn(progressPercent);
}

void BarMeter::progressBJTimer1_Timer() {
    blinkLabels({progressDataLabel1});
}

} // namespace hz::gui
