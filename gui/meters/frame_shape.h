#pragma once
// A plain rectangular frame around a meter's box. The pen runs along the box's edge, so half of its
// width shows outside the box and the box covers the rest; two frames of different widths on one
// box read as a thin coloured rim inside a dark outline.

#include <QColor>
#include <QRect>
#include <QWidget>

namespace hz::gui {

class FrameShape : public QWidget {
    Q_OBJECT
public:
    explicit FrameShape(QWidget* parent);

    void setPen(const QColor& colour, int widthPixels);
    // Places the frame on a box given in the parent's pixels.
    void placeOn(const QRect& box);

    QColor colour() const { return penColour; }
    int penWidth() const { return width; }
    QRect box() const { return bounds; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor penColour = Qt::black;
    int width = 1;
    QRect bounds;
};

} // namespace hz::gui
