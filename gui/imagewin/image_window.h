#pragma once
// "图片取模": a picture (an icon, a logo) made into dots and bytes through the same layouts, depths
// and export file as the glyphs. The picture is opened with ImageOpen or dropped on the window; it
// is fitted inside FitWidth x FitHeight keeping its aspect (its own size to begin with), made grey
// and cut to dots by the dither of DitherChoice at ThresholdSlider's threshold (Otsu's choice for
// the picture to begin with), or rounded to grey levels at a deeper depth; InvertCheck swaps dark
// and light. ImageView shows the dots as the main window's enlarged view does, ImageTexts the five
// arrangements' texts (and the chosen layout's when it is none of them), ImageExport saves them.
// Every change shows at once. A picture that cannot be read is told in the window, in ImageMessage;
// the picture shown before stays, with everything chosen for it.

#include "core/layout/layout_presets.h"
#include "core/picture/dot_picture.h"
#include "core/picture/picture_dots.h"
#include "core/picture/picture_record.h"
#include "core/picture/rgba_image.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace hz::gui {

class ImageExport;
class ImageView;
class Prompter;
class TextPanel;

class ImageWindow : public QDialog {
    Q_OBJECT
public:
    // The layout and depth start as the main window's; readFiles are the files the program reads,
    // which an export never replaces.
    ImageWindow(Prompter& prompter, const hz::LayoutChoice& layout, int depth,
                std::vector<std::string> readFiles = {}, QWidget* parent = nullptr);
    ~ImageWindow() override;

    // Reads the picture in path and shows it with the options its own size and grey call for. False,
    // with the reason in the window, when it cannot be read; the picture shown before stays.
    bool openPicture(const QString& path);

    // The picture shown: its name, its dots as the options make them. Nothing before one is open.
    const std::optional<hz::PictureRecord>& result() const { return shown; }
    // What the options are now.
    hz::PictureSettings settings() const;
    hz::LayoutChoice layoutChoice() const;
    int depth() const;
    // The message line: why the last picture could not be opened; empty when all went well.
    QString message() const;
    const QString& picturePath() const { return path; }

    // The file dialog; the picture chosen is opened.
    void choosePicture();
    // Saves the picture shown through the export's dialog.
    void exportPicture();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void placeControls();
    void connectSignals();

    // Makes the dots again from the options and shows them.
    void redraw();
    void showTexts();
    // Fills the set of ten boxes in view (assembly or C) unless it holds the picture shown already.
    void fillBoxes();
    // The chosen layout's box: shown with its text while the layout is none of the five.
    void showChosenText();
    void showMessage(const QString& text);
    // The dots made, shown with their texts.
    void showPicture(hz::PictureRecord record);
    // Otsu's choice for a picture at the size and inversion of the settings.
    static int otsuOf(const hz::RgbaImage& image, hz::PictureSettings chosen);
    // Otsu's choice for the picture open, at the size and inversion chosen now.
    int otsuChoice() const;
    // The threshold follows Otsu's choice until the user moves the slider.
    void followOtsu();
    void showThreshold();
    // An SVG has no pixels of its own: it is drawn again at each size asked for.
    bool isScalable() const;

    Prompter& prompter;
    std::unique_ptr<ImageExport> exporter;
    std::vector<hz::LayoutChoice> layoutChoices; // ImageLayout's items

    QString path;
    hz::RgbaImage picture; // as read: a raster picture or an SVG at its own size
    // An SVG as last drawn, at the size box it was drawn for: drawn again only when that changes.
    hz::RgbaImage drawnSvg;
    std::optional<hz::PictureSize> drawnSvgBox;
    hz::PictureSize ownSize;
    std::optional<hz::PictureRecord> shown;
    bool thresholdChosen = false; // the user has moved the slider since the picture was opened
    bool quiet = false;           // the options are being set together: no redraw for each
    std::optional<bool> filledSet; // the set of boxes holding the picture shown: true for the C set
    QString chosenCFields;        // the C fields of the chosen layout's box, for "复制为数组元素"

    QPushButton* ImageOpen = nullptr;
    QLabel* ImageName = nullptr;
    QSpinBox* FitWidth = nullptr;
    QSpinBox* FitHeight = nullptr;
    QComboBox* DitherChoice = nullptr;
    QSlider* ThresholdSlider = nullptr;
    QLabel* ThresholdValue = nullptr;
    QCheckBox* InvertCheck = nullptr;
    QComboBox* ImageLayout = nullptr;
    QComboBox* ImageDepth = nullptr;
    ImageView* View = nullptr;
    QPushButton* AssemblySet = nullptr;
    QPushButton* CSet = nullptr;
    QLabel* SizeLabel = nullptr;
    TextPanel* Texts = nullptr;
    QPushButton* ImageExportButton = nullptr;
    QLabel* ImageMessage = nullptr;
    QWidget* optionBox = nullptr; // the options, idle until a picture is open
};

} // namespace hz::gui
