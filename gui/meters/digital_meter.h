#pragma once
// The digital meter: the value in large digits, a dark layer with a white one 25 twips right of and
// below it for an embossed look, over a grey box with a caption under a separator line.

#include "gui/meters/meter_box.h"

#include <QList>

class QLabel;
class QTimer;

namespace hz::gui {

class LineShape;

class DigitalMeter : public MeterBox {
    Q_OBJECT
public:
    static constexpr double kWidth = 4200, kHeight = 1695; // twips

    explicit DigitalMeter(QWidget* parent);

    // Sets the box up and paints it, both layers reading "0.00".
    void InitDigital1();
    // Both layers show the value with three decimals; there is no end stop.
    void showValue(float value);

    QList<QLabel*> valueLabels() const { return {DigitalDataLabel1, DigitalDataLabel2}; }
    QTimer* blinkTimer() const { return DigitalBJTimer1; }
    LineShape* separator() const { return DigitalLine1; }

public slots:
    void DigitalBJTimer1_Timer();

private:
    void paintBox();
    void styleLayer(QLabel* label, double offset, const QColor& colour);

    QTimer* DigitalBJTimer1;
    LineShape* DigitalLine1;
    QLabel* DigitalDataLabel1;
    QLabel* DigitalDataLabel2;
};

} // namespace hz::gui
