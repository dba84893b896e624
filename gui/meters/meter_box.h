#pragma once
// What the three meters share: a box of a fixed size in twips, painted once into a kept image over
// the grey bands, and outlined in the window by two frames, a black one with a thin rim of the
// window's base colour inside it.

#include "gui/common/kept_image.h"

#include <QSizeF>

class QColor;

namespace hz::gui {

class FrameShape;

class MeterBox : public KeptImageWidget {
    Q_OBJECT
public:
    // The frames that outline the box in the window; placeBox colours and places them.
    void setFrames(FrameShape* outer, FrameShape* inner);

protected:
    MeterBox(QWidget* parent, const QString& name, QSizeF boxTwips);

    // A part of the meter, under the name tests and tools find it by.
    template <typename Part> Part* addPart(const QString& name) {
        auto* part = new Part(this);
        part->setObjectName(name);
        return part;
    }

    // Sizes the box and lays its frames round it.
    void placeBox();
    // Starts the kept image afresh: the box filled with `back` under the 80 grey bands.
    void paintBackground(const QColor& back);

private:
    QSizeF box;
    FrameShape* outerFrame = nullptr;
    FrameShape* innerFrame = nullptr;
};

} // namespace hz::gui
