#include "gui/layoutdialog/dot_picture.h"

#include <QPainter>
#include <algorithm>

namespace hz::gui {

namespace {
const QColor kInk(24, 24, 24);
const QColor kPaper(236, 240, 236);
const QColor kGap(200, 206, 200);
} // namespace

QPixmap dotPixmap(const hz::DotCell& cell, int dotPixels) {
    const int pitch = std::max(1, dotPixels) + 1;
    QPixmap pixmap(cell.width() * pitch + 1, cell.height() * pitch + 1);
    pixmap.fill(kGap);
    QPainter painter(&pixmap);
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            painter.fillRect(x * pitch + 1, y * pitch + 1, pitch - 1, pitch - 1, cell.dot(x, y) ? kInk : kPaper);
    return pixmap;
}

DotPicture::DotPicture(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DotPicture::setCell(const hz::DotCell& cell) {
    shown = cell;
    repaintPicture();
}

void DotPicture::clear() {
    shown = hz::DotCell();
    repaintPicture();
}

QSize DotPicture::sizeHint() const {
    return {200, 200};
}

void DotPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    repaintPicture();
}

// Painted once per cell or size; paintEvent only shows the kept picture.
void DotPicture::repaintPicture() {
    if (shown.width() == 0 || shown.height() == 0) {
        picture = QPixmap();
    } else {
        const int side = std::max(shown.width(), shown.height());
        const int dotPixels = std::max(1, (std::min(width(), height()) - 1) / side - 1);
        picture = dotPixmap(shown, dotPixels);
    }
    update();
}

void DotPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture.isNull())
        return;
    painter.drawPixmap((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
}

} // namespace hz::gui
