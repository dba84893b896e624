#pragma once
// The bar between the help tree and the topic text: a narrow button captioned with a column of
// vertical bars. While it is held down it reports where the pointer goes, and the window moves the
// panes after it.

#include <QPointF>
#include <QPushButton>

namespace hz::gui {

class SplitterBar : public QPushButton {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

    bool dragging() const { return held; }

signals:
    // The pointer moved, in global coordinates, while the bar is held.
    void dragMoved(QPointF globalPosition);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool held = false;
};

} // namespace hz::gui
