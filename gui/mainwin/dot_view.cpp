#include "gui/mainwin/dot_view.h"

#include "core/output/panel_picture.h"
#include "core/text/dot_matrix_text.h"
#include "gui/common/module1.h"
#include "gui/common/song_font.h"
#include "gui/common/wait_cursor.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
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

// A grey cell's dots with any ink at all, as one-bit dots: each is drawn as a mark.
hz::DotCell inkedDots(const hz::DotCell& cell) {
    hz::DotCell inked(cell.width(), cell.height(), cell.widthClass());
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            if (cell.level(x, y) > 0)
                inked.setDot(x, y);
    return inked;
}

hz::Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
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
    greyCell.reset();
    drawn = QString::fromStdString(hz::dotMatrixText(rowAssemblyText, rows, bytes, Module1().marks()));
    setFont(markFont);
    setPlainText(drawn);
}

void DotView::ShowGlyph(const hz::DotCell& cell) {
    WaitCursor hourglass;
    if (cell.depth() == 1) {
        greyCell.reset();
        drawn = QString::fromStdString(hz::dotMatrixText(cell, Module1().marks()));
    } else {
        greyCell = cell;
        drawn = QString::fromStdString(hz::dotMatrixText(inkedDots(cell), Module1().marks()));
    }
    setFont(fittingFont(cell.width(), cell.height()));
    setPlainText(drawn);
    if (greyCell)
        shadeLevels(*greyCell);
}

QColor DotView::shadeOf(int level, int maxLevel) const {
    const QColor fore = textColor();
    const QColor back = backColor();
    const hz::Rgb shade = hz::blendLevel(rgbOf(back), rgbOf(fore), level, maxLevel);
    return QColor(shade.r, shade.g, shade.b);
}

void DotView::shadeLevels(const hz::DotCell& cell) {
    const ProgramSettings& settings = Module1();
    const int dotLength = static_cast<int>(settings.DotMark.size());
    const int clearLength = settings.BackMarkOn ? static_cast<int>(settings.BackMark.size()) : 2;
    const int top = cell.maxLevel();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (int y = 0; y < cell.height(); ++y) {
        int at = document()->findBlockByNumber(y).position();
        for (int x = 0; x < cell.width(); ++x) {
            const int level = cell.level(x, y);
            const int length = level > 0 ? dotLength : clearLength;
            // Fully covered dots keep the view's own text colour, as a one-bit glyph's do.
            if (level > 0 && level < top) {
                cursor.setPosition(at);
                cursor.setPosition(at + length, QTextCursor::KeepAnchor);
                QTextCharFormat shade;
                shade.setForeground(shadeOf(level, top));
                cursor.mergeCharFormat(shade);
            }
            at += length;
        }
    }
    cursor.endEditBlock();
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
    greyCell.reset();
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
    if (greyCell)
        ShowGlyph(*greyCell);
}

void DotView::setBackColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
    if (greyCell)
        ShowGlyph(*greyCell);
}

} // namespace hz::gui
