#pragma once
// "液晶预览": the list's characters, in order, on a simulated display panel, each glyph drawn from its
// bytes in the chosen layout decoded back, so what shows here is what the bytes put on a real panel.
// The panel's size, look and zoom are chosen here; the picture can be saved as PNG.

#include "core/glyph/glyph_record.h"
#include "core/output/panel_picture.h"

#include <QDialog>
#include <memory>
#include <span>
#include <vector>

class QComboBox;
class QLabel;
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
    LcdPreview(std::span<const GlyphRecord> records, const Layout& layout, Prompter& prompter,
               QWidget* parent = nullptr);
    ~LcdPreview() override;

    PanelSize panelSize() const;
    PanelLook panelLook() const;
    int zoom() const;
    // The picture as shown, pixel for pixel.
    const RgbImage& picture() const { return image; }

    // Asks for a file and writes the picture there as PNG.
    void savePicture();

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void redraw();

    Layout layout;
    std::size_t recordCount;
    std::vector<EncodedGlyph> glyphs; // those that can reach the panel, from the list's start
    RgbImage image;
    std::unique_ptr<ExportAction> saver;

    QComboBox* PanelSizeBox = nullptr;
    QComboBox* PanelLookBox = nullptr;
    QSpinBox* ZoomBox = nullptr;
    QScrollArea* viewArea = nullptr;
    PanelView* view = nullptr;
    QLabel* layoutLabel = nullptr;
    QLabel* shownLabel = nullptr;
    QPushButton* SavePng = nullptr;
};

} // namespace hz::gui
