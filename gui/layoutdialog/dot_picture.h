#pragma once
// A small picture of a dot cell: set dots dark on a light grid. The layout dialog draws the dots
// decoded back from a layout's bytes with it, so what it shows is what the bytes say.

#include "core/glyph/dot_cell.h"

#include <QPixmap>
#include <QWidget>

namespace hz::gui {

// A picture of the cell, dotPixels a side per dot, with a one-pixel gap between dots.
QPixmap dotPixmap(const hz::DotCell& cell, int dotPixels);

class DotPicture : public QWidget {
    Q_OBJECT
public:
    explicit DotPicture(QWidget* parent = nullptr);

    void setCell(const hz::DotCell& cell);
    void clear();
    // The cell drawn; an empty cell (0 x 0) when there is none.
    const hz::DotCell& cell() const { return shown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void repaintPicture();

    hz::DotCell shown;
    QPixmap picture;
};

} // namespace hz::gui
