#pragma once
// The pictures on the spacing designer's buttons, drawn here rather than shipped as image files.

#include <QPixmap>

namespace hz::gui {

enum class ArrowDirection { Left, Up, Right, Down };

QPixmap arrowPicture(ArrowDirection direction, int side = 30);
QPixmap tickPicture(int side = 30);
QPixmap crossPicture(int side = 30);

} // namespace hz::gui
