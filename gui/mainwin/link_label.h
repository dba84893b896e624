#pragma once
// A label that reports a left click, for the labels that open the program's home page.

#include <QLabel>

namespace hz::gui {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text = QString(), QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace hz::gui
