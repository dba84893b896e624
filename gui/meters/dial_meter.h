#pragma once
// The analog meter: a half dial with a five-colour scale from 0.00 to 1.00 V over 120 degrees, a red
// needle that swings one degree per 50 ms towards the last value, and a red value text that blinks
// in alarm. The dial is painted once into a kept image; the needle is a layer of its own above it.

#include "gui/meters/meter_box.h"

#include <QLineF>
#include <QPointF>

class QLabel;
class QTimer;

namespace hz::gui {

class LineShape;

class DialMeter : public MeterBox {
    Q_OBJECT
public:
    static constexpr double kWidth = 4200, kHeight = 2300; // twips
    static constexpr int kMinAngle = 30, kMaxAngle = 150;  // degrees
    static constexpr int kNeedleIntervalMs = 50;

    explicit DialMeter(QWidget* parent);

    // Sets the box up and paints the dial, with the needle at rest at 0.
    void InitBiao1();

    // A new value: keeps it, shows it as text and sets the needle moving towards it.
    void showValue(float value);

    // Where the needle goes for a value: 30 for 0 or less, 150 for 1 or more, else 30 + 120·value cut.
    static qint16 needleTarget(float value);
    // The point at radius r and needle angle θ (degrees), in twips of the box.
    static QPointF pointAt(double radius, double angleDegrees);
    // The needle's ends at an angle: inner end first.
    static QLineF needleLine(double angleDegrees);

    float value() const { return BiaoValue; }
    qint16 angle() const { return BiaoAngle; }
    qint16 target() const { return BiaoTarget; }
    QTimer* needleTimer() const { return BiaoTimer1; }
    QTimer* blinkTimer() const { return BiaoBJTimer1; }
    QLabel* valueLabel() const { return BiaoDataLabel1; }
    LineShape* needle() const { return BiaoZheng1; }

public slots:
    // One needle step towards the value's angle; the target is worked out afresh each time, so a new
    // value during a swing turns the needle from where it is.
    void BiaoTimer1_Timer();
    void BiaoBJTimer1_Timer();

private:
    void paintDial();
    void placeValueLabel();

    float BiaoValue = 0;
    qint16 BiaoAngle = 0;
    qint16 BiaoTarget = 0;

    QTimer* BiaoTimer1;
    QTimer* BiaoBJTimer1;
    LineShape* BiaoZheng1;
    QLabel* BiaoDataLabel1;
};

} // namespace hz::gui
