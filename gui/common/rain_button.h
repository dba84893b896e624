#pragma once
// The program's styled push button: flat, rounded, in the mint base colour, with a darker hover and
// pressed state. The caption wraps inside the button; a picture, when set, replaces the caption.

#include <QColor>
#include <QPixmap>
#include <QPushButton>

class RainButton : public QPushButton {
    Q_OBJECT
public:
    explicit RainButton(const QString& caption = QString(), QWidget* parent = nullptr);

    // The button's look: its base colour is RGB(130, 240, 217) unless set otherwise.
    void applyStyle(const QColor& base = QColor(130, 240, 217));
    bool styled() const { return isStyled; }
    QColor baseColor() const { return base; }

    void setPicture(const QPixmap& picture);
    QPixmap picture() const { return pic; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct CaptionLayout {
        QFont font;
        int width; // of the caption's lines, centred in the button
    };
    CaptionLayout layoutCaption(QSize area) const;

    QColor base{130, 240, 217};
    QPixmap pic;
    bool isStyled = false;
    bool hovered = false;
};
