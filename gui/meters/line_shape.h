#pragma once
// A straight line drawn over its parent's picture: the dial's needle, the digital meter's separator.
// It covers the whole parent, lets the mouse through, and keeps its ends in the parent's twips, so
// moving it only repaints the layer and never the picture beneath.

#include <QColor>
#include <QLineF>
#include <QWidget>

namespace hz::gui {

class LineShape : public QWidget {
    Q_OBJECT
public:
    explicit LineShape(QWidget* parent);

    void setLine(const QLineF& twips);
    QLineF line() const { return ends; }
    void setColour(const QColor& colour);
    QColor colour() const { return penColour; }
    // Smooth edges suit a slanting, moving line; a level line stays crisp without them.
    void setAntialiased(bool on) { smooth = on; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineF ends;
    QColor penColour = Qt::black;
    bool smooth = false;
};

} // namespace hz::gui
