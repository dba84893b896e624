#pragma once
// Shows the panel's picture, kept in a pixmap and painted as it is: one picture pixel a screen pixel.

#include <QPixmap>
#include <QWidget>

namespace hz::gui {

class PanelView : public QWidget {
    Q_OBJECT
public:
    explicit PanelView(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return shown; }

    QSize sizeHint() const override { return shown.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap shown;
};

} // namespace hz::gui
