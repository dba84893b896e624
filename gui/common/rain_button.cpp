#include "gui/common/rain_button.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

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
    const CaptionLayout caption = captionLayout();
    painter.setFont(caption.font);
    const QFontMetrics metrics(caption.font);
    QRect lines(QPoint(), QSize(captionArea().width(), metrics.lineSpacing() * static_cast<int>(caption.lines.size())));
    lines.moveCenter(captionArea().center());
    lines.translate(isDown() ? QPoint(1, 1) : QPoint());
    for (const QString& line : caption.lines) {
        painter.drawText(QRect(lines.topLeft(), QSize(lines.width(), metrics.lineSpacing())), Qt::AlignCenter, line);
        lines.setTop(lines.top() + metrics.lineSpacing());
    }
}

void RainButton::setCaptionWords(const QStringList& parts) {
    words = parts;
    setText(words.join(QString()));
}

QStringList RainButton::captionWords() const {
    // A text set since then has no words given.
    if (!words.isEmpty() && words.join(QString()) == text())
        return words;
    QStringList characters;
    for (const QChar c : text())
        characters << QString(c);
    return characters;
}

QRect RainButton::captionArea() const {
    return rect().adjusted(2, 1, -2, -1);
}

namespace {

// The words in lines as long as width allows; a word wider than that has a line of its own.
QStringList wrapWords(const QStringList& words, const QFontMetrics& metrics, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : words) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + word) > width) {
            lines << line;
            line.clear();
        }
        line += word;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

bool linesFit(const QStringList& lines, const QFontMetrics& metrics, QSize area) {
    if (metrics.lineSpacing() * lines.size() > area.height())
        return false;
    return std::all_of(lines.begin(), lines.end(),
                       [&](const QString& line) { return metrics.horizontalAdvance(line) <= area.width(); });
}

} // namespace

RainButton::CaptionLayout RainButton::captionLayout() const {
    constexpr double kSmallestPoints = 6.5;
    const QSize area = captionArea().size();
    const QStringList wordList = captionWords();
    QFont captionFont = font();
    QStringList lines = wrapWords(wordList, QFontMetrics(captionFont), area.width());
    // A caption too long for the button at its font is drawn smaller rather than cut or broken
    // inside a word.
    while (!linesFit(lines, QFontMetrics(captionFont), area) && captionFont.pointSizeF() > kSmallestPoints) {
        captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
        lines = wrapWords(wordList, QFontMetrics(captionFont), area.width());
    }
    // The narrowest width that needs no more lines: the lines come out even ("点阵图/前景色" rather
    // than "点阵图前景/色" where both are two lines).
    const QFontMetrics metrics(captionFont);
    for (int width = area.width() - 1; width > 0; --width) {
        const QStringList narrower = wrapWords(wordList, metrics, width);
        if (narrower.size() > lines.size() || !linesFit(narrower, metrics, QSize(width, area.height())))
            break;
        lines = narrower;
    }
    return {captionFont, lines};
}
