#pragma once
// The small pictures the windows draw for themselves rather than ship as image files: buttons'
// faces, the help tree's icons.

#include <QPainter>
#include <QPixmap>
#include <QSize>

namespace hz::gui {

inline QPixmap transparentPicture(QSize size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    return picture;
}

// A transparent picture of `size`, drawn by draw(QPainter&) with smooth edges.
template <typename Draw> QPixmap drawnPicture(QSize size, Draw&& draw) {
    QPixmap picture = transparentPicture(size);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return picture;
}

} // namespace hz::gui
