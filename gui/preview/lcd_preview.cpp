#include "gui/preview/lcd_preview.h"

#include "core/layout/layout_presets.h"
#include "core/text/utf8.h"
#include "gui/common/export_action.h"
#include "gui/common/prompter.h"
#include "gui/preview/panel_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace hz::gui {

namespace {

// The panel the window opens on: a common small OLED.
constexpr int kFirstPanel = 1; // 128x64
// The text box shows this many lines before it scrolls.
constexpr int kTextLines = 4;
// At most this many characters without a glyph are named.
constexpr std::size_t kMissingNamed = 8;
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

// How many glyphs from the start of the list can reach the largest panel: rows are at least as tall
// as the shortest glyph and hold at most one glyph more than the narrowest ones fill, and a space
// dropped where the row wraps. The list may hold a million records; only these are encoded.
std::size_t reachableGlyphs(std::span<const GlyphRecord> records) {
    int narrowest = DotCell::kMaxSide;
    int shortest = DotCell::kMaxSide;
    for (const GlyphRecord& record : records) {
        narrowest = std::min<int>(narrowest, std::max<int>(1, record.width));
        shortest = std::min<int>(shortest, std::max<int>(1, record.height));
    }
    std::size_t bound = 0;
    for (const PanelSize& size : kPanelSizes)
        bound = std::max(bound, static_cast<std::size_t>((size.height / shortest + 1) * (size.width / narrowest + 2)));
    return std::min(bound, records.size());
}

char32_t characterOf(const GlyphRecord& record) {
    std::size_t at = 0;
    return decodeUtf8At(record.character, at).value_or(U'\uFFFD');
}

EncodedGlyph recordGlyph(const GlyphRecord& record, char32_t character, const Layout& layout) {
    return {record.bytes(layout), record.width, record.height, isWordSpace(character), false};
}

QString missingText(const std::u32string& missing) {
    QString text = QStringLiteral("无点阵:");
    for (std::size_t i = 0; i < std::min(missing.size(), kMissingNamed); ++i)
        text += QStringLiteral(" “%1”").arg(QString::fromUcs4(&missing[i], 1));
    if (missing.size() > kMissingNamed)
        text += QStringLiteral(" …");
    return text;
}

} // namespace

LcdPreview::LcdPreview(std::span<const GlyphRecord> records, const Layout& layout, Prompter& prompter,
                       std::shared_ptr<GlyphSource> source, QWidget* parent)
    : QDialog(parent), layout(layout), recordCount(records.size()), source(std::move(source)), prompter(prompter),
      saver(std::make_unique<ExportAction>(prompter, this)) {
    // The bytes the firmware would get; the panel is drawn from these alone.
    const std::size_t reachable = reachableGlyphs(records);
    recordGlyphs.reserve(reachable);
    std::u32string characters;
    for (const GlyphRecord& record : records.first(reachable)) {
        const char32_t character = characterOf(record);
        recordGlyphs.push_back(recordGlyph(record, character, layout));
        characters += character;
    }
    listText = QString::fromUcs4(characters.data(), static_cast<qsizetype>(characters.size()));
    for (const GlyphRecord& record : records) {
        shortestGlyph = std::min<int>(shortestGlyph, std::max<int>(1, record.height));
        const char32_t character = characterOf(record);
        if (!listGlyphs.contains(character))
            listGlyphs.emplace(character, recordGlyph(record, character, layout));
    }
    if (this->source)
        shortestGlyph = std::min(shortestGlyph, std::max(1, this->source->height()));

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
    // Grey levels show only on the colour TFT.
    PanelLookBox->setCurrentIndex(static_cast<int>(layout.bpp > 1 ? PanelLook::ColourTft : kDefaultLook));

    TftForeground = new QPushButton(this);
    TftForeground->setObjectName(QStringLiteral("TftForeground"));
    TftForeground->setToolTip(QStringLiteral("彩色TFT的前景色：完全覆盖的点"));
    TftBackground = new QPushButton(this);
    TftBackground->setObjectName(QStringLiteral("TftBackground"));
    TftBackground->setToolTip(QStringLiteral("彩色TFT的背景色：空白的点"));
    showTftColours();

    ZoomBox = new QSpinBox(this);
    ZoomBox->setObjectName(QStringLiteral("Zoom"));
    ZoomBox->setRange(kMinZoom, kMaxZoom);
    ZoomBox->setSuffix(QStringLiteral(" 倍"));
    ZoomBox->setValue(kDefaultZoom);

    LineSpacingBox = new QSpinBox(this);
    LineSpacingBox->setObjectName(QStringLiteral("LineSpacing"));
    LineSpacingBox->setRange(0, kMaxLineSpacing);
    LineSpacingBox->setSuffix(QStringLiteral(" 点"));

    PreviewText = new QPlainTextEdit(this);
    PreviewText->setObjectName(QStringLiteral("PreviewText"));
    PreviewText->setPlaceholderText(QStringLiteral("输入要预览的文字，回车另起一行"));
    PreviewText->setPlainText(listText);
    // The box gives a no-break space back as a space: its own text is what "unedited" means.
    listText = PreviewText->toPlainText();
    PreviewText->setMaximumHeight(
        PreviewText->fontMetrics().lineSpacing() * kTextLines +
        2 * (PreviewText->frameWidth() + static_cast<int>(PreviewText->document()->documentMargin())));

    SavePng = new QPushButton(QStringLiteral("保存PNG图片"), this);
    SavePng->setObjectName(QStringLiteral("SavePng"));

    layoutLabel = new QLabel(layoutCaption(layout), this);
    layoutLabel->setObjectName(QStringLiteral("LayoutLabel"));
    shownLabel = new QLabel(this);
    shownLabel->setObjectName(QStringLiteral("ShownLabel"));
    missingLabel = new QLabel(this);
    missingLabel->setObjectName(QStringLiteral("MissingLabel"));

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
    choices->addWidget(new QLabel(QStringLiteral("前景:"), this));
    choices->addWidget(TftForeground);
    choices->addWidget(new QLabel(QStringLiteral("背景:"), this));
    choices->addWidget(TftBackground);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("放大:"), this));
    choices->addWidget(ZoomBox);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(QStringLiteral("行距:"), this));
    choices->addWidget(LineSpacingBox);
    choices->addStretch();
    choices->addWidget(SavePng);

    auto* notes = new QHBoxLayout;
    notes->addWidget(layoutLabel);
    notes->addStretch();
    notes->addWidget(missingLabel);
    notes->addSpacing(12);
    notes->addWidget(shownLabel);

    auto* page = new QVBoxLayout(this);
    page->addLayout(choices);
    page->addWidget(PreviewText);
    page->addLayout(notes);
    page->addWidget(viewArea, 1);
}

void LcdPreview::connectSignals() {
    connect(PanelSizeBox, &QComboBox::currentIndexChanged, this, &LcdPreview::redraw);
    connect(PanelLookBox, &QComboBox::currentIndexChanged, this, &LcdPreview::redraw);
    connect(TftForeground, &QPushButton::clicked, this, [this] { chooseTftColour(&TftColours::foreground); });
    connect(TftBackground, &QPushButton::clicked, this, [this] { chooseTftColour(&TftColours::background); });
    connect(ZoomBox, &QSpinBox::valueChanged, this, &LcdPreview::redraw);
    connect(LineSpacingBox, &QSpinBox::valueChanged, this, &LcdPreview::redraw);
    connect(PreviewText, &QPlainTextEdit::textChanged, this, &LcdPreview::redraw);
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

int LcdPreview::lineSpacing() const {
    return LineSpacingBox->value();
}

const EncodedGlyph* LcdPreview::glyphOf(char32_t character) const {
    if (const auto listed = listGlyphs.find(character); listed != listGlyphs.end())
        return &listed->second;
    if (!source)
        return nullptr;
    auto [looked, added] = sourceGlyphs.try_emplace(character);
    if (added)
        if (DotCell cell; source->glyph(character, cell) == LookupStatus::Found)
            looked->second = encodeGlyph(character, cell, layout);
    return looked->second ? &*looked->second : nullptr;
}

LcdPreview::TextGlyphs LcdPreview::textGlyphs(const std::u32string& text) const {
    // Rows of the shortest glyph reach the panel's foot no sooner than the picture's rows, so every
    // glyph that can show is kept, and a long text is looked up no further than that.
    const PanelSize size = panelSize();
    PanelFlow flow(size.width, shortestGlyph, lineSpacing());
    const EncodedGlyph lineBreak = lineBreakGlyph();
    TextGlyphs result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
            continue;
        const bool breaks = c == U'\n' || c == U'\r';
        if (!breaks)
            ++result.characters;
        if (flow.rowTop() >= size.height)
            continue;
        const EncodedGlyph* glyph = breaks ? &lineBreak : glyphOf(c);
        if (glyph == nullptr) {
            if (result.missing.find(c) == std::u32string::npos)
                result.missing += c;
            continue;
        }
        flow.place(*glyph);
        result.glyphs.push_back(*glyph);
    }
    return result;
}

void LcdPreview::redraw() {
    // The list's own text is drawn from its records one by one, as they are in the list.
    const QString text = PreviewText->toPlainText();
    const bool listShown = text == listText;
    const TextGlyphs typed = listShown ? TextGlyphs{} : textGlyphs(text.toStdU32String());
    const PanelDots panel = layOutPanel(listShown ? recordGlyphs : typed.glyphs, layout, panelSize(), lineSpacing());
    image = renderPanel(panel, panelLook(), zoom(), colours);
    TftForeground->setEnabled(panelLook() == PanelLook::ColourTft);
    TftBackground->setEnabled(panelLook() == PanelLook::ColourTft);
    const QImage picture(image.rgb.data(), image.width, image.height, image.width * 3, QImage::Format_RGB888);
    view->setPicture(QPixmap::fromImage(picture));
    shownLabel->setText(
        QStringLiteral("显示 %1 / %2 个字").arg(panel.glyphsShown).arg(listShown ? recordCount : typed.characters));
    missingLabel->setText(typed.missing.empty() ? QString() : missingText(typed.missing));
    missingLabel->setVisible(!typed.missing.empty());

    // Room for the whole picture when it fits on the screen; scroll bars beyond that.
    const QSize wanted = view->size().boundedTo(kLargestView) + QSize(2 * kViewMargin, 2 * kViewMargin);
    viewArea->setMinimumSize(wanted);
    adjustSize();
}

void LcdPreview::chooseTftColour(Rgb TftColours::*which) {
    const Rgb now = colours.*which;
    const std::optional<QColor> chosen = prompter.chooseColor(this, QColor(now.r, now.g, now.b));
    if (!chosen || !chosen->isValid())
        return;
    colours.*which = {static_cast<std::uint8_t>(chosen->red()), static_cast<std::uint8_t>(chosen->green()),
                      static_cast<std::uint8_t>(chosen->blue())};
    showTftColours();
    redraw();
}

void LcdPreview::showTftColours() {
    for (auto [button, colour] : {std::pair{TftForeground, colours.foreground}, {TftBackground, colours.background}}) {
        QPixmap swatch(14, 14);
        swatch.fill(QColor(colour.r, colour.g, colour.b));
        button->setIcon(QIcon(swatch));
        button->setText(QString::fromStdString(rgbText(colour)));
    }
}

void LcdPreview::savePicture() {
    saver->savePicture(encodePng(image));
}

} // namespace hz::gui
