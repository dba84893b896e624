#pragma once
// The face of the main window's button that opens the picture window: a framed landscape, drawn
// like the other small buttons' faces.

#include <QPixmap>
#include <QSize>

namespace hz::gui {

// Hills under a sun in a frame, for the 24 x 24 "图片取模" button.
QPixmap picturePicture(QSize size = QSize(20, 20));

} // namespace hz::gui
