#include "gui/common/kept_image.h"

#include <QPainter>

namespace hz::gui {

KeptImageWidget::KeptImageWidget(QWidget* parent) : QWidget(parent) {}

void KeptImageWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!image.isNull())
        painter.drawImage(0, 0, image);
}

} // namespace hz::gui
