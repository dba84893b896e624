#include "gui/fontchooser/font_sample.h"

#include "core/glyph/glyph_source.h"
#include "core/output/panel_picture.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace hz::gui {

namespace {

constexpr int kMarginPixels = 6;
constexpr int kCellGapDots = 1; // between neighbouring cells, in dot widths
const QColor kCellGround(232, 238, 250);
const QColor kDotColour(20, 20, 20);
const QColor kMissingColour(200, 60, 60);

QColor shade(int level, int maxLevel) {
    const auto rgb = [](const QColor& c) {
        return hz::Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                       static_cast<std::uint8_t>(c.blue())};
    };
    const hz::Rgb mixed = hz::blendLevel(rgb(kCellGround), rgb(kDotColour), level, maxLevel);
    return QColor(mixed.r, mixed.g, mixed.b);
}

} // namespace

FontSample::FontSample(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SamplePreview"));
    setMinimumSize(320, 96);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QString& FontSample::sampleText() {
    // "°" shows where the ambiguous-width characters go.
    static const QString text = QStringLiteral("汉字ABC123°");
    return text;
}

void FontSample::showSample(hz::GlyphSource& source) {
    sampleCells.clear();
    problemText.clear();
    cellHeight = source.height();
    for (char32_t c : sampleText().toUcs4()) {
        hz::DotCell cell;
        if (source.glyph(c, cell) == hz::LookupStatus::Found) {
            cellHeight = cell.height();
            sampleCells.emplace_back(cell);
        } else {
            sampleCells.emplace_back();
        }
    }
    repaintImage();
}

void FontSample::showProblem(const QString& problem) {
    sampleCells.clear();
    problemText = problem;
    repaintImage();
}

void FontSample::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    repaintImage();
}

void FontSample::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, image);
}

void FontSample::repaintImage() {
    if (size().isEmpty())
        return;
    image = QPixmap(size());
    image.fill(Qt::white);
    QPainter painter(&image);
    if (!problemText.isEmpty()) {
        painter.setPen(kMissingColour);
        painter.drawText(rect().adjusted(kMarginPixels, kMarginPixels, -kMarginPixels, -kMarginPixels),
                         Qt::AlignCenter | Qt::TextWordWrap, problemText);
    } else {
        drawCells(painter);
    }
    painter.end();
    update();
}

void FontSample::drawCells(QPainter& painter) {
    if (sampleCells.empty() || cellHeight <= 0)
        return;
    // A missing character keeps the room of a full-width cell.
    int dotsAcross = 0;
    for (const auto& cell : sampleCells)
        dotsAcross += (cell ? cell->width() : cellHeight) + kCellGapDots;
    dotsAcross -= kCellGapDots;
    const int room = std::min((width() - 2 * kMarginPixels) / dotsAcross, (height() - 2 * kMarginPixels) / cellHeight);
    const int dot = std::max(1, room);
    // Dots a few pixels wide get a hairline between them, so single dots stay countable.
    const int gap = dot >= 4 ? 1 : 0;

    int x = std::max(kMarginPixels, (width() - dotsAcross * dot) / 2);
    const int y = std::max(kMarginPixels, (height() - cellHeight * dot) / 2);
    for (const auto& cell : sampleCells) {
        const int across = cell ? cell->width() : cellHeight;
        const QRect ground(x, y, across * dot, cellHeight * dot);
        painter.fillRect(ground, kCellGround);
        if (cell) {
            // A grey glyph's dots in shades from the cell's ground to the dot colour, by level.
            const int top = cell->maxLevel();
            for (int row = 0; row < cell->height(); ++row)
                for (int col = 0; col < cell->width(); ++col)
                    if (const int level = cell->level(col, row); level > 0)
                        painter.fillRect(x + col * dot, y + row * dot, dot - gap, dot - gap,
                                         level == top ? kDotColour : shade(level, top));
        } else {
            painter.setPen(QPen(kMissingColour, 1));
            painter.drawRect(ground.adjusted(0, 0, -1, -1));
            painter.drawLine(ground.topLeft(), ground.bottomRight());
            painter.drawLine(ground.topRight(), ground.bottomLeft());
        }
        x += (across + kCellGapDots) * dot;
    }
}

} // namespace hz::gui
