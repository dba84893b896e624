#pragma once
// Drawing helpers shared by the three meters. The meters lay themselves out in twips (1/1440 inch,
// 15 to a pixel) and paint their scales through a QPainter scaled by 1/15, so every coordinate below
// is in twips unless its name says pixels. Pen widths are always whole pixels (cosmetic pens).

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <cmath>

class QLabel;
class QPainter;

namespace hz::gui {

namespace meters {

inline constexpr double kTwipsPerPixel = 15.0;

// Nearest integer, ties to even, as every coordinate and colour level of the meters is made whole.
inline int nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}
// Drops the fractional part.
inline int truncate(double x) {
    return static_cast<int>(std::trunc(x));
}

inline int twipsToPixels(double twips) {
    return nearest(twips / kTwipsPerPixel);
}
// A widget rectangle given in twips, in pixels of its parent.
QRect twipsRect(double left, double top, double width, double height);

// Grey level of background band k (1..80): 82 at the top, 255 at the bottom.
int greyBandLevel(int k);
// The 80 grey bands over a box of the given size, dark at the top, light at the bottom.
void paintGreyBands(QPainter& painter, QSizeF box);

// An image of a box of the given size in twips, filled with `back`, and a painter on it in twips.
QImage makeBoxImage(QSizeF box, const QColor& back);
void beginTwips(QPainter& painter);

// A solid pen whose width stays in pixels whatever the painter's scale.
QPen pixelPen(const QColor& colour, int widthPixels);

// Text with its cell's top-left corner at `topLeft` (not its baseline), on a transparent background.
void drawTextAt(QPainter& painter, QPointF topLeft, const QString& text);
// Advance width of `text` in the painter's current font and units.
double textWidth(const QPainter& painter, const QString& text);
// Height of a line of text in the painter's current font and units.
double textHeight(const QPainter& painter);

// Fonts for painters working in twips (a point is 20 twips) and for widgets working in pixels.
QFont songTiTwips(double points, bool bold);
QFont songTiPixels(double points, bool bold);
QFont heiTiPixels(double points, bool bold);

// The boxes' default font with bold on: the tick labels and the dial's caption use it.
QFont boxDefaultFontTwips();

// A value text's font and colour.
void setTextLook(QLabel& label, const QFont& font, const QColor& colour);

// "0.00" and "0.000" forms of a value.
QString format2(double value);
QString format3(double value);

} // namespace meters

} // namespace hz::gui
