#include "gui/preview/panel_view.h"

#include <QPainter>

namespace hz::gui {

PanelView::PanelView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PanelView"));
}

void PanelView::setPicture(const QPixmap& picture) {
    shown = picture;
    setFixedSize(shown.size());
    update();
}

void PanelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, shown);
}

} // namespace hz::gui
