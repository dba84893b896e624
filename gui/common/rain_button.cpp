#include "gui/common/rain_button.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

RainButton::RainButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
}

void RainButton::applyStyle(const QColor& color) {
    base = color;
    isStyled = true;
    update();
}

void RainButton::setPicture(const QPixmap& picture) {
    pic = picture;
    update();
}

QSize RainButton::sizeHint() const {
    return {49, 41};
}

void RainButton::enterEvent(QEnterEvent* event) {
    hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void RainButton::leaveEvent(QEvent* event) {
    hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void RainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = isStyled ? base : palette().button().color();
    if (isDown())
        fill = fill.darker(135);
    else if (hovered)
        fill = fill.darker(112);
    if (!isEnabled())
        fill = fill.lighter(120);

    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, 5, 5);
    painter.fillPath(path, fill);
    painter.setPen(QPen(fill.darker(150), 1));
    painter.drawPath(path);
    if (hasFocus()) {
        painter.setPen(QPen(fill.darker(200), 1, Qt::DotLine));
        painter.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 3, 3);
    }

    if (!pic.isNull()) {
        const QPixmap scaled = pic.width() > width() - 4 || pic.height() > height() - 4
                                   ? pic.scaled(size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                   : pic;
        const QPoint at((width() - scaled.width()) / 2, (height() - scaled.height()) / 2);
        painter.drawPixmap(at + (isDown() ? QPoint(1, 1) : QPoint()), scaled);
        return;
    }
    painter.setPen(isEnabled() ? palette().buttonText().color()
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QRect textArea = rect().adjusted(2, 1, -2, -1).translated(isDown() ? QPoint(1, 1) : QPoint());
    const CaptionLayout caption = layoutCaption(textArea.size());
    painter.setFont(caption.font);
    QRect lines(QPoint(), QSize(caption.width, textArea.height()));
    lines.moveCenter(textArea.center());
    painter.drawText(lines, Qt::AlignCenter | Qt::TextWrapAnywhere, text());
}

RainButton::CaptionLayout RainButton::layoutCaption(QSize area) const {
    constexpr int kWrap = Qt::AlignCenter | Qt::TextWrapAnywhere;
    QFont captionFont = font();
    auto heightAt = [&](int width) {
        return QFontMetrics(captionFont).boundingRect(QRect(0, 0, width, 10000), kWrap, text()).height();
    };
    // A caption too long for the button at its font is drawn smaller rather than cut.
    while (heightAt(area.width()) > area.height() && captionFont.pointSizeF() > 6.5)
        captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
    // The narrowest width that needs no more lines than the full width: the lines come out even
    // ("程序/帮助" rather than "程序帮/助").
    const int lines = heightAt(area.width());
    int width = area.width();
    while (width > 1 && heightAt(width - 1) <= lines)
        --width;
    return {captionFont, width};
}
