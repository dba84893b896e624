#pragma once
// The enlarged dot matrix of the current record (Text1): one mark per dot, one line per row.
// The drawing itself comes from the core; this view only shows it. A grey glyph's dots with any
// ink are marks, each in a shade of the mark colour: its level's share of the way from the
// background colour to the mark colour.

#include <QColor>
#include <QFont>
#include <QPlainTextEdit>
#include <string_view>

#include "core/glyph/dot_cell.h"

#include <optional>

namespace hz::gui {

class DotView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DotView(QWidget* parent = nullptr);

    // Draws a record from its row-wise assembly text, rows the dots per side and bytes the glyph's
    // byte count, with the program's current marks.
    void ShowGlyph(std::string_view rowAssemblyText, int rows, int bytes);
    // Draws a cell of any size with the program's current marks. A cell too big for the pane at the
    // usual mark size gets smaller marks, so that a 64 x 64 glyph is seen whole without scrolling.
    void ShowGlyph(const hz::DotCell& cell);
    void blank();

    // The colour the mark of a dot at level of maxLevel is drawn in.
    QColor shadeOf(int level, int maxLevel) const;

    // What was drawn, exactly: CR LF after every line, the last one too.
    const QString& text() const { return drawn; }

    QColor textColor() const;
    QColor backColor() const;
    void setTextColor(const QColor& color);
    void setBackColor(const QColor& color);

private:
    QFont fittingFont(int columns, int rows) const;
    // Colours each mark of a grey cell's partly covered dots, the text being that cell's drawing.
    void shadeLevels(const hz::DotCell& cell);

    QString drawn;
    std::optional<hz::DotCell> greyCell; // the grey cell shown, shaded again when the colours change
    QFont markFont; // the usual size, for the six libraries' glyphs and every cell that fits with it
};

} // namespace hz::gui
