#pragma once
// The small pictures the main window draws for itself: the row icon of the glyph list and the faces
// of the buttons too small for their captions.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace hz::gui {

// The list's row icon, 16 x 16: a tiny dot-matrix character.
QIcon rowIcon();

// A meter dial with its needle, for the button that opens the meter window.
QPixmap meterPicture(QSize size = QSize(40, 32));

// A magnifying glass, for the 24 x 24 "查找" button.
QPixmap searchPicture(QSize size = QSize(20, 20));

// A block of keys, for the 24 x 24 "常用字符" button.
QPixmap keysPicture(QSize size = QSize(20, 20));

} // namespace hz::gui
