#pragma once
// The bar meter's tube: a narrow box of its own whose kept image holds the column. The column is
// thirty one-pixel rectangles drawn with 2-pixel pens, pale green at the edges shading to white in
// the middle, and is drawn in the tube's pixels rather than twips.

#include "gui/common/kept_image.h"

#include <QColor>

namespace hz::gui {

class BarTube : public KeptImageWidget {
    Q_OBJECT
public:
    static constexpr double kWidth = 500, kHeight = 5000; // twips
    static inline const QColor kBack{0, 192, 192};

    // The column's rows in the tube's pixels: from its level (top) down to the tube's bottom.
    struct Extent {
        int level;
        int bottom;
        bool operator==(const Extent&) const = default;
    };
    static Extent columnExtent(int percent, double heightTwips = kHeight);

    explicit BarTube(QWidget* parent);

    // Sizes the tube and clears it to its back colour.
    void reset();
    void clear();
    // Draws the column for a height in percent over whatever the tube shows.
    void drawColumn(int percent);
};

} // namespace hz::gui
