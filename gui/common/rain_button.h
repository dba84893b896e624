#pragma once
// The program's styled push button: flat, rounded, in the mint base colour, with a darker hover and
// pressed state. The caption wraps inside the button between its words, and is drawn smaller when
// it would not fit otherwise; a picture, when set, replaces the caption.

#include <QColor>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>

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

    // The caption as the words it may break between: the button's text becomes their concatenation.
    // Until this is called every character is a word of its own.
    void setCaptionWords(const QStringList& words);

    // How the caption is drawn at the button's size: its font and its lines, top to bottom.
    struct CaptionLayout {
        QFont font;
        QStringList lines;
    };
    CaptionLayout captionLayout() const;
    // The part of the button the caption is drawn in.
    QRect captionArea() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QStringList captionWords() const;

    QColor base{130, 240, 217};
    QStringList words;
    QPixmap pic;
    bool isStyled = false;
    bool hovered = false;
};
