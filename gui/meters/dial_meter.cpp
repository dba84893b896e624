#include "gui/meters/dial_meter.h"

#include "gui/meters/alarm.h"
#include "gui/meters/line_shape.h"
#include "gui/meters/meter_drawing.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <numbers>

namespace hz::gui {

using namespace meters;

namespace {
// The dial works with 3.14 for pi throughout; its angles and positions depend on it.
constexpr double kPi = 3.14;
constexpr double kDegree = kPi / 180;
constexpr double kSweep = 120; // degrees of the scale

constexpr double kCx = 2100; // 4200 / 2
constexpr double kCy = 2200;

// Arc angles in radians, counter-clockwise from the rightward horizontal.
constexpr double kScaleLeft = kPi - (1 - kSweep / 180) * kPi / 2; // value 0
constexpr double kFifth = 376.8 / 180 / 5;                        // one fifth of the sweep
constexpr double kBezelFrom = (1 - kSweep / 180) * kPi / 2;
constexpr double kBezelTo = kPi - kBezelFrom;

constexpr double kNeedleInner = 180, kNeedleOuter = 1870;
constexpr double kTickInner = 1780, kMajorOuter = 1860, kMinorOuter = 1840;

const QColor kBack(255, 192, 192);

// Arcs are given in true radians by the drawing surface; Qt takes sixteenths of a degree.
int sixteenths(double radians) {
    return nearest(radians * 180 / std::numbers::pi * 16);
}

void arc(QPainter& painter, double radius, double from, double to) {
    painter.drawArc(QRectF(kCx - radius, kCy - radius, 2 * radius, 2 * radius), sixteenths(from),
                    sixteenths(to) - sixteenths(from));
}

QColor grey(int level) {
    return QColor(level, level, level);
}

// Rings shading from dark to light across `count` radii (or light to dark when `rising` is false).
int ringGrey(int u, int count, bool rising) {
    const double step = truncate(u / (count / 80.0)) * 255.0 / 80;
    return nearest(rising ? step : 255 - step);
}

QColor scaleBandColour(int band) {
    return QColor(nearest(band * 255.0 / 5), nearest(255 - band * 255.0 / 5), 255);
}

// The 26 ticks: five per fifth of the scale and one at its right end. `labels` also writes the
// value under each major tick.
void paintTicks(QPainter& painter, const QColor& colour, int majorWidth, int minorWidth, bool labels) {
    for (int k = 1; k <= 6; ++k) {
        for (int i = 1; i <= (k == 6 ? 1 : 5); ++i) {
            const float theta = static_cast<float>(k - 1) * 24.0f + static_cast<float>(i - 1) * 4.8f + 30.0f;
            const bool major = i == 1;
            const QPointF outer = DialMeter::pointAt(major ? kMajorOuter : kMinorOuter, theta);
            const QPointF inner = DialMeter::pointAt(kTickInner, theta);
            const QPointF p1(nearest(outer.x()), nearest(outer.y()));
            const QPointF p2(nearest(inner.x()), nearest(inner.y()));
            if (major && labels) {
                painter.setPen(Qt::black);
                drawTextAt(painter, QPointF(p1.x() - 200, p1.y() + 200), format2((k - 1) / 5.0));
            }
            painter.setPen(pixelPen(colour, major ? majorWidth : minorWidth));
            painter.drawLine(p1, p2);
        }
    }
}
} // namespace

DialMeter::DialMeter(QWidget* parent) : MeterBox(parent, QStringLiteral("Biao1"), QSizeF(kWidth, kHeight)) {
    BiaoBJTimer1 = makeBlinkTimer(this, "BiaoBJTimer1");
    BiaoTimer1 = addPart<QTimer>(QStringLiteral("BiaoTimer1"));
    BiaoZheng1 = addPart<LineShape>(QStringLiteral("BiaoZheng1"));
    BiaoZheng1->setAntialiased(true);
    BiaoDataLabel1 = addPart<QLabel>(QStringLiteral("BiaoDataLabel1"));
    connect(BiaoTimer1, &QTimer::timeout, this, &DialMeter::BiaoTimer1_Timer);
    connect(BiaoBJTimer1, &QTimer::timeout, this, &DialMeter::BiaoBJTimer1_Timer);
}

QPointF DialMeter::pointAt(double radius, double angleDegrees) {
    return QPointF(kCx - radius * std::cos(angleDegrees * kDegree), kCy - radius * std::sin(angleDegrees * kDegree));
}

QLineF DialMeter::needleLine(double angleDegrees) {
    return QLineF(pointAt(kNeedleInner, angleDegrees), pointAt(kNeedleOuter, angleDegrees));
}

qint16 DialMeter::needleTarget(float value) {
    if (value >= 1)
        return kMaxAngle;
    if (value > 0)
        return static_cast<qint16>(kMinAngle + truncate(value * 120.0f));
    return kMinAngle;
}

void DialMeter::InitBiao1() {
    placeBox();
    BiaoZheng1->setColour(Qt::red);
    BiaoBJTimer1->stop();
    BiaoTimer1->stop();
    BiaoTimer1->setInterval(kNeedleIntervalMs);
    BiaoAngle = kMinAngle;
    paintDial();

    // The needle starts on whole twips; its later moves keep their fractions.
    const QLineF rest = needleLine(BiaoAngle);
    BiaoZheng1->setLine(QLineF(nearest(rest.x1()), nearest(rest.y1()), nearest(rest.x2()), nearest(rest.y2())));
    placeValueLabel();
}

void DialMeter::paintDial() {
    paintBackground(kBack);
    QPainter painter(&image);
    beginTwips(painter);

    for (int band = 1; band <= 5; ++band) {
        painter.setPen(pixelPen(scaleBandColour(band), 4));
        for (int w = 1; w <= 150; ++w)
            arc(painter, 1765 + w, kScaleLeft - band * kFifth, kScaleLeft - (band - 1) * kFifth);
    }

    for (int u = 1; u <= 75; ++u) {
        painter.setPen(pixelPen(grey(ringGrey(u, 75, true)), 4));
        arc(painter, 2140 - u, kBezelFrom, kBezelTo);
    }
    for (int u = 1; u <= 75; ++u) {
        painter.setPen(pixelPen(grey(ringGrey(u, 75, false)), 4));
        arc(painter, 2065 - u, kBezelFrom, kBezelTo);
    }

    painter.setFont(boxDefaultFontTwips());
    paintTicks(painter, Qt::white, 3, 2, true);
    paintTicks(painter, Qt::black, 2, 1, false);

    const QString caption = QStringLiteral("输出电压(V)");
    painter.setPen(Qt::black);
    drawTextAt(painter,
               QPointF(kCx - textWidth(painter, caption) / 2, kCy - 5 * textWidth(painter, QStringLiteral("%"))),
               caption);

    for (int u = 1; u <= 50; ++u) {
        painter.setPen(pixelPen(grey(ringGrey(u, 50, true)), 4));
        arc(painter, 300 - u, 0, kPi);
    }
    for (int u = 1; u <= 50; ++u) {
        painter.setPen(pixelPen(grey(ringGrey(u, 50, false)), 4));
        arc(painter, 250 - u, 0, kPi);
    }
    painter.setPen(pixelPen(Qt::white, 4));
    for (int r = 5; r <= 150; ++r)
        arc(painter, r, 0, kPi);
    update();
}

void DialMeter::placeValueLabel() {
    setTextLook(*BiaoDataLabel1, heiTiPixels(16, false), Qt::red);
    BiaoDataLabel1->move(twipsToPixels(kCx + 700), twipsToPixels(kCy - 400));
    BiaoDataLabel1->setText(format2(0));
    BiaoDataLabel1->adjustSize();
}

void DialMeter::showValue(float value) {
    BiaoValue = value;
    BiaoDataLabel1->setText(format3(value));
    BiaoDataLabel1->adjustSize();
    BiaoTimer1->start();
}

void DialMeter::BiaoTimer1_Timer() {
    BiaoTarget = needleTarget(BiaoValue);
    if (BiaoAngle > BiaoTarget) {
        --BiaoAngle;
        BiaoZheng1->setLine(needleLine(BiaoAngle));
        if (BiaoAngle <= BiaoTarget)
            BiaoTimer1->stop();
    } else if (BiaoAngle < BiaoTarget) {
        ++BiaoAngle;
        BiaoZheng1->setLine(needleLine(BiaoAngle));
        if (BiaoAngle >= BiaoTarget)
            BiaoTimer1->stop();
    } else {
        // Already there (a value that rounds to the present angle): nothing to animate.
        BiaoTimer1->stop();
    }
}

void DialMeter::BiaoBJTimer1_Timer() {
    blinkLabels({BiaoDataLabel1});
}

} // namespace hz::gui
