#pragma once
// The chooser's live sample (SamplePreview): "汉字ABC123" drawn dot by dot from the glyphs the font
// source gives, in their own cells, so it shows exactly what a lookup would put in the list. Each
// cell has a light ground so full-width and half-width cells can be told apart; a character the
// font lacks is an empty cell crossed out.

#include "core/glyph/dot_cell.h"

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

namespace hz {
class GlyphSource;
}

namespace hz::gui {

class FontSample : public QWidget {
    Q_OBJECT
public:
    explicit FontSample(QWidget* parent = nullptr);

    static const QString& sampleText();

    // Draws the sample text from the source.
    void showSample(hz::GlyphSource& source);
    // No sample: the problem is shown instead (a font that cannot be opened).
    void showProblem(const QString& problem);

    // The sample's cells, in the order of the text; nothing for a character the source refused.
    const std::vector<std::optional<hz::DotCell>>& cells() const { return sampleCells; }
    const QString& problem() const { return problemText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void repaintImage();
    void drawCells(QPainter& painter);

    std::vector<std::optional<hz::DotCell>> sampleCells;
    int cellHeight = 0;
    QString problemText;
    QPixmap image;
};

} // namespace hz::gui
