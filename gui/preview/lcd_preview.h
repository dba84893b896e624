#pragma once
// "液晶预览": a text on a simulated display panel, each glyph drawn from its bytes in the chosen
// layout decoded back, so what shows here is what the bytes put on a real panel. The text is the
// list's characters to begin with and can be edited, several lines of it: a line starts a new row.
// The panel's size, look, zoom and line spacing are chosen here; the picture can be saved as PNG.
// The colour-TFT look blends each dot's grey level between two colours chosen here (TftForeground,
// TftBackground); it is the look the window opens on for a grey layout.

#include "core/glyph/glyph_record.h"
#include "core/glyph/glyph_source.h"
#include "core/output/panel_picture.h"

#include <QDialog>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace hz::gui {

class ExportAction;
class PanelView;
class Prompter;

class LcdPreview : public QDialog {
    Q_OBJECT
public:
    // A character typed into the text is drawn as the list has it, else as source draws it (none:
    // the list's characters only).
    LcdPreview(std::span<const GlyphRecord> records, const Layout& layout, Prompter& prompter,
               std::shared_ptr<GlyphSource> source = nullptr, QWidget* parent = nullptr);
    ~LcdPreview() override;

    PanelSize panelSize() const;
    PanelLook panelLook() const;
    const TftColours& tftColours() const { return colours; }
    int zoom() const;
    int lineSpacing() const;
    // The picture as shown, pixel for pixel.
    const RgbImage& picture() const { return image; }

    // Asks for a file and writes the picture there as PNG.
    void savePicture();

private:
    // The glyphs of the text as it stands, as far as they can reach the panel.
    struct TextGlyphs {
        std::vector<EncodedGlyph> glyphs;
        std::size_t characters = 0; // in the text, line breaks not counted
        std::u32string missing;     // characters with no glyph, each once
    };

    void createControls();
    void placeControls();
    void connectSignals();
    void redraw();
    // Asks for one of the colour-TFT look's colours; a cancelled dialog keeps it.
    void chooseTftColour(Rgb TftColours::*which);
    void showTftColours();
    TextGlyphs textGlyphs(const std::u32string& text) const;
    const EncodedGlyph* glyphOf(char32_t character) const;

    Layout layout;
    std::size_t recordCount;
    std::vector<EncodedGlyph> recordGlyphs; // the list's, from its start, as far as they can reach a panel
    QString listText;                       // their characters, the text to begin with
    int shortestGlyph = DotCell::kMaxSide;  // of the list's glyphs and the source's
    std::unordered_map<char32_t, EncodedGlyph> listGlyphs; // each character's first in the list
    std::shared_ptr<GlyphSource> source;
    mutable std::unordered_map<char32_t, std::optional<EncodedGlyph>> sourceGlyphs; // looked up so far
    RgbImage image;
    Prompter& prompter;
    TftColours colours;
    std::unique_ptr<ExportAction> saver;

    QComboBox* PanelSizeBox = nullptr;
    QComboBox* PanelLookBox = nullptr;
    QPushButton* TftForeground = nullptr;
    QPushButton* TftBackground = nullptr;
    QSpinBox* ZoomBox = nullptr;
    QSpinBox* LineSpacingBox = nullptr;
    QPlainTextEdit* PreviewText = nullptr;
    QScrollArea* viewArea = nullptr;
    PanelView* view = nullptr;
    QLabel* layoutLabel = nullptr;
    QLabel* shownLabel = nullptr;
    QLabel* missingLabel = nullptr;
    QPushButton* SavePng = nullptr;
};

} // namespace hz::gui
