#pragma once
// Program-wide display and spacing settings. They live for the whole run and are never saved; the
// main window gives them their start values, its buttons and the spacing designer change them.

#include "core/text/dot_matrix_text.h"

#include <QColor>
#include <QString>

namespace hz::gui {

struct ProgramSettings {
    QString DotMark = QStringLiteral("■");
    QString BackMark = QStringLiteral("□");
    bool BackMarkOn = true;
    QColor ViewForeColor = Qt::black;
    QColor ViewBackColor = Qt::white;
    qint16 SpaceX = 2;
    qint16 SpaceY = 2;

    hz::Marks marks() const; // the marks as the core's dot-matrix text takes them
};

// The one instance of the run.
ProgramSettings& Module1();

} // namespace hz::gui
