#include "gui/preview/lcd_preview.h"

#include "core/layout/layout_presets.h"
#include "gui/common/export_action.h"
#include "gui/preview/panel_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace hz::gui {

namespace {

// The panel the window opens on: a common small OLED.
constexpr int kFirstPanel = 1; // 128x64
// The view grows with the picture up to this size, then scrolls.
constexpr QSize kLargestView(1024, 640);
constexpr int kViewMargin = 12;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString layoutCaption(const Layout& layout) {
    const QString name = QString::fromStdString(layoutName(layout));
    if (const auto arrangement = namedArrangement(layout))
        return QStringLiteral("排列: %1 (%2)").arg(fromUtf8(arrangementName(*arrangement)), name);
    return QStringLiteral("排列: %1").arg(name);
}

// How many glyphs from the start of the list can reach the largest panel: lines are at least as tall
// as the shortest glyph and hold at most one glyph more than the narrowest ones fill. The list may
// hold a million records; only these are encoded.
std::size_t reachableGlyphs(std::span<const GlyphRecord> records) {
    int narrowest = DotCell::kMaxSide;
    int shortest = DotCell::kMaxSide;
    for (const GlyphRecord& record : records) {
        narrowest = std::min<int>(narrowest, std::max<int>(1, record.width));
        shortest = std::min<int>(shortest, std::max<int>(1, record.height));
    }
    std::size_t bound = 0;
    for (const PanelSize& size : kPanelSizes)
        bound = std::max(bound, static_cast<std::size_t>((size.height / shortest + 1) * (size.width / narrowest + 1)));
    return std::min(bound, records.size());
}

} // namespace

LcdPreview::LcdPreview(std::span<const GlyphRecord> records, const Layout& layout, Prompter& prompter, QWidget* parent)
    : QDialog(parent), layout(layout), recordCount(records.size()),
      saver(std::make_unique<ExportAction>(prompter, this)) {
    // The bytes the firmware would get; the panel is drawn from these alone.
    const std::size_t reachable = reachableGlyphs(records);
    glyphs.reserve(reachable);
    for (const GlyphRecord& record : records.first(reachable))
        glyphs.push_back({record.bytes(layout), record.width, record.height});

    createControls();
    placeControls();
    connectSignals();
    redraw();
}

LcdPreview::~LcdPreview() = default;

void LcdPreview::createControls() {
    setObjectName(QStringLiteral("LcdPreview"));
    setWindowTitle(QStringLiteral("液晶预览"));

    PanelSizeBox = new QComboBox(this);
    PanelSizeBox->setObjectName(QStringLiteral("PanelSize"));
    for (const PanelSize& size : kPanelSizes)
        PanelSizeBox->addItem(QStringLiteral("%1×%2").arg(size.width).arg(size.height));
    PanelSizeBox->setCurrentIndex(kFirstPanel);

    PanelLookBox = new QComboBox(this);
    PanelLookBox->setObjectName(QStringLiteral("PanelLook"));
    for (int look = 0; look < kPanelLookCount; ++look)
        PanelLookBox->addItem(fromUtf8(panelLookName(static_cast<PanelLook>(look))));
    PanelLookBox->setCurrentIndex(static_cast<int>(kDefaultLook));

    ZoomBox = new QSpinBox(this);
    ZoomBox->setObjectName(QStringLiteral("Zoom"));
    ZoomBox->setRange(kMinZoom, kMaxZoom);
    ZoomBox->setSuffix(QStringLiteral(" 倍"));
    ZoomBox->setValue(kDefaultZoom);

    SavePng = new QPushButton(QStringLiteral("保存PNG图片"), this);
    SavePng->setObjectName(QStringLiteral("SavePng"));

    layoutLabel = new QLabel(layoutCaption(layout), this);
    layoutLabel->setObjectName(QStringLiteral("LayoutLabel"));
    shownLabel = new QLabel(this);
    shownLabel->setObjectName(QStringLiteral("ShownLabel"));

    view = new PanelView;
    viewArea = new QScrollArea(this);
    viewArea->setWidget(view);
    viewArea->setAlignment(Qt::AlignCenter);
    viewArea->setBackgroundRole(QPalette::Dark);
}

void LcdPreview::placeControls() {
    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("面板:"), this));
    choices->addWidget(PanelSizeBox);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("外观:"), this));
    choices->addWidget(PanelLookBox);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("放大:"), this));
    choices->addWidget(ZoomBox);
    choices->addStretch();
    choices->addWidget(SavePng);

    auto* notes = new QHBoxLayout;
    notes->addWidget(layoutLabel);
    notes->addStretch();
    notes->addWidget(shownLabel);

    auto* page = new QVBoxLayout(this);
    page->addLayout(choices);
    page->addLayout(notes);
    page->addWidget(viewArea, 1);
}

void LcdPreview::connectSignals() {
    connect(PanelSizeBox, &QComboBox::currentIndexChanged, this, &LcdPreview::redraw);
    connect(PanelLookBox, &QComboBox::currentIndexChanged, this, &LcdPreview::redraw);
    connect(ZoomBox, &QSpinBox::valueChanged, this, &LcdPreview::redraw);
    connect(SavePng, &QPushButton::clicked, this, &LcdPreview::savePicture);
}

PanelSize LcdPreview::panelSize() const {
    return kPanelSizes[static_cast<std::size_t>(std::max(0, PanelSizeBox->currentIndex()))];
}

PanelLook LcdPreview::panelLook() const {
    return static_cast<PanelLook>(std::max(0, PanelLookBox->currentIndex()));
}

int LcdPreview::zoom() const {
    return ZoomBox->value();
}

void LcdPreview::redraw() {
    const PanelDots panel = layOutPanel(glyphs, layout, panelSize());
    image = renderPanel(panel, panelLook(), zoom());
    const QImage picture(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
    view->setPicture(QPixmap::fromImage(picture));
    shownLabel->setText(QStringLiteral("显示 %1 / %2 个字").arg(panel.glyphsShown).arg(recordCount));

    // Room for the whole picture when it fits on the screen; scroll bars beyond that.
    const QSize wanted = view->size().boundedTo(kLargestView) + QSize(2 * kViewMargin, 2 * kViewMargin);
    viewArea->setMinimumSize(wanted);
    adjustSize();
}

void LcdPreview::savePicture() {
    saver->savePicture(encodePng(image));
}

} // namespace hz::gui
