#pragma once
// The three 32x32 pictures of the help tree: 1 a closed book, 2 an open book, 3 a lined note page.

#include <QPixmap>

namespace hz::gui {

inline constexpr int kHelpIconSide = 32;

// The picture for image number 1..3; an empty pixmap for any other number.
QPixmap helpImage(int number);

} // namespace hz::gui
