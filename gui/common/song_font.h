#pragma once
// The windows' text fonts: "宋体" or the closest installed CJK face. The dot pictures draw a clear
// dot as two ASCII spaces when the background mark is off, so their font must make two spaces
// exactly as wide as one full-width mark; not every CJK font does, so that family is chosen by
// measuring.

#include <QFont>
#include <QString>
#include <QStringList>

namespace hz::gui {

// The families tried, in order: the classic Song face first, then the CJK fonts Debian ships.
const QStringList& windowFontFamilies();

// Whether two ASCII spaces are as wide as each of the marks in this font.
bool spacesMatchMarks(const QFont& font, const QStringList& marks);

// The first installed family of windowFontFamilies() at pointSize in which two spaces match the
// marks; the first installed family when none does.
QFont chooseViewFont(double pointSize, const QStringList& marks);

// The window's text font: "宋体" 10.5 pt or the closest installed face.
QFont windowFont(double pointSize = 10.5);

} // namespace hz::gui
