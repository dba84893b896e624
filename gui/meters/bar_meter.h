#pragma once
// The bar meter: a green column rising in a tube beside a five-colour scale from 0.00 to 1.00 V,
// with a red value text under the tube that blinks in alarm.

#include "gui/meters/meter_box.h"

class QLabel;
class QTimer;

namespace hz::gui {

class BarTube;

class BarMeter : public MeterBox {
    Q_OBJECT
public:
    static constexpr double kWidth = 1500, kHeight = 6000; // twips

    explicit BarMeter(QWidget* parent);

    // Draws the whole meter afresh: empty tube, "0.00", blink timer stopped.
    void InitProgress1();
    // Keeps a value for progressShow1.
    void setValue(float value) { progressValue = value; }
    // Redraws the column and the value text for the kept value.
    void progressShow1();

    // The column's height in percent: 100 for 1 or more, the whole percent below that, 0 for 0 or less.
    static qint16 percentFor(float value);

    float value() const { return progressValue; }
    qint16 percent() const { return progressPercent; }
    BarTube* tube() const { return progressMB1; }
    QLabel* valueLabel() const { return progressDataLabel1; }
    QTimer* blinkTimer() const { return progressBJTimer1; }

public slots:
    void progressBJTimer1_Timer();

private:
    void paintScale();
    void placeValueLabel(double captionTextHeight);

    float progressValue = 0;
    qint16 progressPercent = 0;

    BarTube* progressMB1;
    QLabel* progressDataLabel1;
    QTimer* progressBJTimer1;
};

} // namespace hz::gui
