#pragma once
// A widget that shows a picture painted once and kept, instead of painting itself afresh on every
// paint event: the gradient panels, the meters' boxes and the bar meter's tube.

#include <QImage>
#include <QWidget>

namespace hz::gui {

class KeptImageWidget : public QWidget {
    Q_OBJECT
public:
    const QImage& keptImage() const { return image; }

protected:
    explicit KeptImageWidget(QWidget* parent);
    void paintEvent(QPaintEvent* event) override;

    // Whoever paints into it calls update() when done.
    QImage image;
};

} // namespace hz::gui
