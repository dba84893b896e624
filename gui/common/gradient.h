#pragma once
// The mint-to-white background of the windows and panels: mint at both side edges, white across
// the middle, in 2 x 50 bands.

#include "gui/common/kept_image.h"

#include <QColor>
#include <QImage>
#include <QSize>

namespace hz::gui {

// The colour of band level k (0..50): the base colour RGB(130, 240, 217) plus 5 per level, capped.
QColor gradientBandColor(int level);

// Paints the hundred bands for a target whose outer size is outerSize onto an image of the target's
// drawing area (drawingSize); bands past the drawing area are clipped, as on a framed target.
QImage PaintGradient(QSize outerSize, QSize drawingSize);
inline QImage PaintGradient(QSize size) {
    return PaintGradient(size, size);
}

// A panel whose background is the gradient, painted once into a kept image.
class GradientPanel : public KeptImageWidget {
    Q_OBJECT
public:
    explicit GradientPanel(QWidget* parent = nullptr);

    // Paints the gradient for the panel's current size (or the given outer size) and keeps it.
    void paintGradient();
    void paintGradient(QSize outerSize);
};

} // namespace hz::gui
