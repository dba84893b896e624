#include "gui/meters/meter_drawing.h"

#include "gui/common/song_font.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QStringList>

namespace hz::gui {

namespace meters {

namespace {
constexpr int kGreyBands = 80;
constexpr double kBoxDefaultPoints = 9.0;

const QStringList& heiTiFamilies() {
    static const QStringList families{QStringLiteral("黑体"), QStringLiteral("SimHei"),
                                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei")};
    return families;
}

QFont fontOf(const QStringList& families, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A point is 20 twips, and 4/3 of a pixel at 15 twips to the pixel.
int pointsToTwips(double points) {
    return nearest(points * 20.0);
}
int pointsToPixels(double points) {
    return nearest(points * 20.0 / kTwipsPerPixel);
}
} // namespace

QRect twipsRect(double left, double top, double width, double height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

int greyBandLevel(int k) {
    return nearest(k * 175.0 / kGreyBands + 80.0);
}

void paintGreyBands(QPainter& painter, QSizeF box) {
    const double w = box.width();
    const double h = box.height();
    for (int k = 1; k <= kGreyBands; ++k) {
        const int g = greyBandLevel(k);
        painter.fillRect(QRectF(QPointF(0, h * (k - 1) / kGreyBands), QPointF(w, h * k / kGreyBands)), QColor(g, g, g));
    }
}

QImage makeBoxImage(QSizeF box, const QColor& back) {
    QImage image(twipsToPixels(box.width()), twipsToPixels(box.height()), QImage::Format_RGB32);
    image.fill(back);
    return image;
}

void beginTwips(QPainter& painter) {
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
}

QPen pixelPen(const QColor& colour, int widthPixels) {
    QPen pen(colour, widthPixels, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

void drawTextAt(QPainter& painter, QPointF topLeft, const QString& text) {
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

double textWidth(const QPainter& painter, const QString& text) {
    return QFontMetricsF(painter.font()).horizontalAdvance(text);
}

double textHeight(const QPainter& painter) {
    return QFontMetricsF(painter.font()).height();
}

QFont songTiTwips(double points, bool bold) {
    return fontOf(windowFontFamilies(), pointsToTwips(points), bold);
}
QFont songTiPixels(double points, bool bold) {
    return fontOf(windowFontFamilies(), pointsToPixels(points), bold);
}
QFont heiTiPixels(double points, bool bold) {
    return fontOf(heiTiFamilies(), pointsToPixels(points), bold);
}

QFont boxDefaultFontTwips() {
    return songTiTwips(kBoxDefaultPoints, true);
}

void setTextLook(QLabel& label, const QFont& font, const QColor& colour) {
    label.setFont(font);
    QPalette pal = label.palette();
    pal.setColor(QPalette::WindowText, colour);
    label.setPalette(pal);
}

QString format2(double value) {
    return QString::number(value, 'f', 2);
}
QString format3(double value) {
    return QString::number(value, 'f', 3);
}

} // namespace meters

} // namespace hz::gui
