#pragma once
// The picture's dots enlarged (ImageView), drawn as the main window's enlarged view draws a glyph:
// its marks ("■" for a set dot, "□" for a clear one unless the background mark is off) in its
// colours, a grey dot in its level's shade between the background and the mark colour. A picture
// may be up to 1024 dots a side, so the dots are painted rather than typed as text: each dot gets
// the largest square that lets the whole picture fit the pane, at least one pixel, and the pane
// scrolls when even that is too big.

#include "core/picture/dot_picture.h"

#include <QImage>
#include <QScrollArea>

namespace hz::gui {

class ImageView : public QScrollArea {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    void showDots(const hz::DotPicture& dots);
    void blank();

    const hz::DotPicture& dots() const { return shown; }
    // Pixels a dot takes on the screen now.
    int dotPitch() const { return pitch; }
    // The drawing as shown; a null image while the view is blank.
    const QImage& drawing() const { return picture; }

    // Draws again with the program's marks and colours as they are now.
    void redraw();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int fittingPitch() const;

    hz::DotPicture shown;
    QImage picture;
    int pitch = 0;
    class Canvas* canvas = nullptr;
};

} // namespace hz::gui
