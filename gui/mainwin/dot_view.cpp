#include "gui/mainwin/dot_view.h"

#include "core/text/dot_matrix_text.h"
#include "gui/common/module1.h"
#include "gui/common/song_font.h"
#include "gui/common/wait_cursor.h"

#include <QFontMetricsF>
#include <algorithm>
#include <string>

namespace hz::gui {

namespace {

constexpr double kMarkPoints = 10.5;
constexpr double kSmallestMarkPoints = 3;
constexpr double kMarkPointStep = 0.5;

const QStringList& viewMarks() {
    static const QStringList marks = {QStringLiteral("■"), QStringLiteral("□")};
    return marks;
}

} // namespace

DotView::DotView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    markFont = chooseViewFont(kMarkPoints, viewMarks());
    setFont(markFont);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, colours.color(QPalette::WindowText));
    setPalette(colours);
}

void DotView::ShowGlyph(std::string_view rowAssemblyText, int rows, int bytes) {
    WaitCursor hourglass;
    drawn = QString::fromStdString(hz::dotMatrixText(rowAssemblyText, rows, bytes, Module1().marks()));
    setFont(markFont);
    setPlainText(drawn);
}

void DotView::ShowGlyph(const hz::DotCell& cell) {
    WaitCursor hourglass;
    drawn = QString::fromStdString(hz::dotMatrixText(cell, Module1().marks()));
    setFont(fittingFont(cell.width(), cell.height()));
    setPlainText(drawn);
}

QFont DotView::fittingFont(int columns, int rows) const {
    const ProgramSettings& settings = Module1();
    const QStringList shown = {settings.DotMark, settings.BackMark, QStringLiteral("  ")};
    // The pane as the text sees it without scroll bars: inside the frame and the document's margin,
    // with room for the caret at the end of a line. Read from the geometry, which a window not yet
    // shown has already, unlike its viewport.
    const double margin = 2 * document()->documentMargin();
    const double across = contentsRect().width() - margin - cursorWidth() - 1;
    const double down = contentsRect().height() - margin;
    auto fits = [&](const QFont& font) {
        const QFontMetricsF metrics(font);
        double widest = 0;
        for (const QString& mark : shown)
            widest = std::max(widest, metrics.horizontalAdvance(mark));
        // A line is laid out as high as the font, whatever leading the font asks for.
        const double lineHeight = std::max(metrics.lineSpacing(), metrics.height());
        return widest * columns <= across && lineHeight * rows <= down;
    };
    if (fits(markFont))
        return markFont;
    for (double points = kMarkPoints - kMarkPointStep; points > kSmallestMarkPoints; points -= kMarkPointStep) {
        const QFont font = chooseViewFont(points, viewMarks());
        if (fits(font))
            return font;
    }
    return chooseViewFont(kSmallestMarkPoints, viewMarks());
}

void DotView::blank() {
    drawn.clear();
    clear();
}

QColor DotView::textColor() const {
    return palette().color(QPalette::Text);
}

QColor DotView::backColor() const {
    return palette().color(QPalette::Base);
}

void DotView::setTextColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void DotView::setBackColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

} // namespace hz::gui
