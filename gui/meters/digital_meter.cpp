#include "gui/meters/digital_meter.h"

#include "gui/meters/alarm.h"
#include "gui/meters/line_shape.h"
#include "gui/meters/meter_drawing.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QTimer>

namespace hz::gui {

using namespace meters;

namespace {
constexpr double kLayerWidth = 4150;
constexpr double kLayerOffset = 25; // the light layer sits this far right of and below the dark one
constexpr double kSeparatorY = 960;
constexpr double kCaptionTop = 1195;
} // namespace

DigitalMeter::DigitalMeter(QWidget* parent) : MeterBox(parent, QStringLiteral("Digital1"), QSizeF(kWidth, kHeight)) {
    DigitalBJTimer1 = makeBlinkTimer(this, "DigitalBJTimer1");
    DigitalLine1 = addPart<LineShape>(QStringLiteral("DigitalLine1"));
    // The dark layer first so the light one lies over it.
    DigitalDataLabel1 = addPart<QLabel>(QStringLiteral("DigitalDataLabel1"));
    DigitalDataLabel2 = addPart<QLabel>(QStringLiteral("DigitalDataLabel2"));
    connect(DigitalBJTimer1, &QTimer::timeout, this, &DigitalMeter::DigitalBJTimer1_Timer);
}

void DigitalMeter::InitDigital1() {
    placeBox();
    styleLayer(DigitalDataLabel1, 0, Qt::black);
    styleLayer(DigitalDataLabel2, kLayerOffset, Qt::white);
    for (QLabel* label : valueLabels())
        label->setText(format2(0));
    paintBox();
    DigitalLine1->setColour(palette().color(QPalette::WindowText));
    DigitalLine1->setLine(QLineF(0, kSeparatorY, kWidth, kSeparatorY));
    DigitalBJTimer1->stop();
}

void DigitalMeter::styleLayer(QLabel* label, double offset, const QColor& colour) {
    setTextLook(*label, heiTiPixels(48, true), colour);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    // Both layers keep the same size, so their right edges stay exactly the offset apart.
    label->setGeometry(twipsRect(offset, offset, kLayerWidth, kHeight));
}

void DigitalMeter::paintBox() {
    paintBackground(palette().color(QPalette::Window));
    QPainter painter(&image);
    beginTwips(painter);
    painter.setPen(Qt::black);
    painter.setFont(songTiTwips(10, true));
    const QString caption = QStringLiteral("输出电压(V)");
    drawTextAt(painter, QPointF((kWidth - textWidth(painter, caption)) / 2, kCaptionTop), caption);
    update();
}

void DigitalMeter::showValue(float value) {
    for (QLabel* label : valueLabels())
        label->setText(format3(value));
}

void DigitalMeter::DigitalBJTimer1_Timer() {
    blinkLabels(valueLabels());
}

} // namespace hz::gui
