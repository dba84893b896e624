#include "mainwin/dot_view.h"

#include "common/module1.h"
#include "common/wait_cursor.h"
#include "core/dot_matrix_text.h"
#include "common/song_font.h"

#include <string>

DotView::DotView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(chooseViewFont(10.5, {QStringLiteral("■"), QStringLiteral("□")}));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, colours.color(QPalette::WindowText));
    setPalette(colours);
}

void DotView::ShowGlyph(std::string_view rowAssemblyText, int rows, int bytes) {
    WaitCursor hourglass;
    drawn = QString::fromStdString(hz::dotMatrixText(rowAssemblyText, rows, bytes, Module1().marks()));
    setPlainText(drawn);
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
