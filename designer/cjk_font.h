#pragma once
// The text font of the side windows: 宋体, falling back to the installed CJK fonts whose ASCII
// characters are exactly half as wide as a full-width mark, so two spaces stand in for one mark and
// the dot pictures keep their columns.

#include <QFont>

QFont cjkFont(qreal pointSize = 10.5);
