#include "gui/imagewin/image_view.h"

#include "core/output/panel_picture.h"
#include "gui/common/module1.h"
#include "gui/common/song_font.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

namespace hz::gui {

namespace {

// From this many pixels a dot the marks are drawn as the characters they are; below it as squares,
// which is what the marks look like at that size anyway.
constexpr int kMarkPitch = 10;
// Below this a dot is a plain block of its colour, with no gap and no clear-dot mark: smaller
// squares a pixel apart would be more gap than dot, and their outlines would hide the picture.
constexpr int kGapPitch = 6;
// From this many pixels a clear dot gets its outlined square, when the background mark is on.
constexpr int kOutlinePitch = 8;
// Pixels a dot at most: a 4 x 4 icon does not become a wall of giant squares.
constexpr int kLargestPitch = 24;

hz::Rgb rgbOf(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

QRgb shadeOf(const hz::DotPicture& dots, int level, const QColor& back, const QColor& fore) {
    if (level >= dots.maxLevel())
        return fore.rgb();
    const hz::Rgb shade = hz::blendLevel(rgbOf(back), rgbOf(fore), level, dots.maxLevel());
    return qRgb(shade.r, shade.g, shade.b);
}

// One pixel or a few a dot: every dot a block of its shade, written straight into the picture.
void drawBlocks(QImage& picture, const hz::DotPicture& dots, int pitch, const QColor& back, const QColor& fore) {
    std::vector<QRgb> shades(static_cast<std::size_t>(dots.maxLevel()) + 1);
    for (int level = 0; level <= dots.maxLevel(); ++level)
        shades[static_cast<std::size_t>(level)] = level == 0 ? back.rgb() : shadeOf(dots, level, back, fore);
    for (int y = 0; y < dots.height() * pitch; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < dots.width() * pitch; ++x)
            line[x] = shades[dots.level(x / pitch, y / pitch)];
    }
}

// Larger dots: a filled square for a set dot and an outlined one for a clear dot, a pixel apart.
void drawSquares(QPainter& painter, const hz::DotPicture& dots, int pitch, const QColor& back, const QColor& fore,
                 bool backMarks) {
    for (int y = 0; y < dots.height(); ++y) {
        for (int x = 0; x < dots.width(); ++x) {
            const int level = dots.level(x, y);
            const QRect square(x * pitch + 1, y * pitch + 1, pitch - 2, pitch - 2);
            if (level > 0) {
                painter.fillRect(square, QColor(shadeOf(dots, level, back, fore)));
            } else if (backMarks && pitch >= kOutlinePitch) {
                painter.setPen(fore);
                painter.drawRect(square.adjusted(0, 0, -1, -1));
            }
        }
    }
}

// Large dots: the marks themselves, each centred in its square.
void drawMarks(QPainter& painter, const hz::DotPicture& dots, int pitch, const QColor& back, const QColor& fore) {
    const ProgramSettings& settings = Module1();
    QFont font = chooseViewFont(kMarkPitch, {settings.DotMark, settings.BackMark});
    font.setPixelSize(pitch);
    painter.setFont(font);
    for (int y = 0; y < dots.height(); ++y) {
        for (int x = 0; x < dots.width(); ++x) {
            const int level = dots.level(x, y);
            if (level == 0 && !settings.BackMarkOn)
                continue;
            painter.setPen(QColor(level > 0 ? shadeOf(dots, level, back, fore) : fore.rgb()));
            painter.drawText(QRect(x * pitch, y * pitch, pitch, pitch), Qt::AlignCenter,
                             level > 0 ? settings.DotMark : settings.BackMark);
        }
    }
}

} // namespace

// The drawing, painted as it was made.
class Canvas : public QWidget {
public:
    explicit Canvas(const QImage& picture, QWidget* parent) : QWidget(parent), picture(picture) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture);
    }

private:
    const QImage& picture;
};

ImageView::ImageView(QWidget* parent) : QScrollArea(parent) {
    canvas = new Canvas(picture, this);
    setWidget(canvas);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Module1().ViewBackColor);
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void ImageView::showDots(const hz::DotPicture& dots) {
    shown = dots;
    redraw();
}

void ImageView::blank() {
    shown = hz::DotPicture();
    redraw();
}

int ImageView::fittingPitch() const {
    if (shown.width() == 0)
        return 0;
    // The pane as it is without scroll bars.
    const QSize room = contentsRect().size();
    const int across = room.width() / shown.width();
    const int down = room.height() / shown.height();
    return std::clamp(std::min(across, down), 1, kLargestPitch);
}

void ImageView::redraw() {
    const ProgramSettings& settings = Module1();
    const QColor back = settings.ViewBackColor;
    const QColor fore = settings.ViewForeColor;
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, back);
    viewport()->setPalette(colours);

    pitch = fittingPitch();
    if (shown.width() == 0) {
        picture = QImage();
        canvas->resize(0, 0);
        canvas->update();
        return;
    }
    picture = QImage(shown.width() * pitch, shown.height() * pitch, QImage::Format_RGB32);
    picture.fill(back);
    if (pitch < kGapPitch) {
        drawBlocks(picture, shown, pitch, back, fore);
    } else {
        QPainter painter(&picture);
        if (pitch < kMarkPitch)
            drawSquares(painter, shown, pitch, back, fore, settings.BackMarkOn);
        else
            drawMarks(painter, shown, pitch, back, fore);
    }
    canvas->resize(picture.size());
    canvas->update();
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (shown.width() > 0 && fittingPitch() != pitch)
        redraw();
}

} // namespace hz::gui
