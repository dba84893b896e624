#pragma once
// The side windows keep their designed places in twips (1/1440 inch), 15 to a pixel.

#include <QRect>
#include <QtGlobal>

namespace hz::gui {

// A rectangle given in twips, in pixels: each number rounded to the nearest pixel, halves away from 0.
inline QRect fromTwips(int left, int top, int width, int height) {
    auto px = [](int twips) { return qRound(twips / 15.0); };
    return {px(left), px(top), px(width), px(height)};
}

} // namespace hz::gui
