#pragma once
// The main window: the library and arrangement choosers, the input box, the button group, the
// glyph list, the enlarged dot matrix and the panel of arrangement texts. It owns the list of
// glyph records (the list model) and which record is current; the display and spacing settings
// live in Module1.

#include "core/layout/arrangements.h"
#include "core/layout/layout.h"
#include "core/layout/layout_presets.h"
#include "gui/common/gradient.h"
#include "gui/common/wait_cursor.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace hz {
class GlyphSource;
struct GlyphRecord;
} // namespace hz

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;
class RainButton;

namespace hz::gui {
class DotView;
class ExportAction;
class KeyPanel;
class LayoutChooser;
class GlyphListModel;
class LinkLabel;
class OtherFontItem;
class Prompter;
class TextPanel;
} // namespace hz::gui

class Form1 : public hz::gui::GradientPanel {
    Q_OBJECT
public:
    // programDir is the folder holding the font libraries; a null prompter means the real dialogs.
    explicit Form1(const QString& programDir, hz::gui::Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    // The 1-based list position of the record shown; 0 when the list is empty. Not limited to 16
    // bits: the list may hold any number of records.
    int CurrentIndex = 0;

    hz::gui::GlyphListModel& glyphList() const { return *list; }

    // Shows the record at a 0-based row: its character, its ten texts, its size and its enlarged
    // matrix; it becomes current (CurrentIndex = row + 1). The list's click handler.
    void showRecord(int row);
    // Selects a 0-based row in the list and scrolls to it, without showing it.
    void selectRow(int row);
    // Empties the view: the ten text boxes, the matrix and the current character; CurrentIndex 0.
    // The size label keeps its last text.
    void blankView();
    // Draws the current record's matrix again, with the marks as they are now.
    void redrawCurrentGlyph();
    // The record shown, or none when CurrentIndex names no row of the list.
    const hz::GlyphRecord* currentRecord() const;
    // "最近输入共： N个汉字" for the rows in the list now.
    void updateCountLabel();

    // "查找": looks up every character of the input box and appends their records.
    void runLookup();
    // The button group's one click handler, Index 1..11.
    void Command20Click(int index);

    const QString& programDir() const { return folder; }
    hz::gui::Prompter& prompter() const { return *prompts; }
    // Combo1's library, 0..5; -1 while its font item (a font from the chooser) is chosen.
    int libraryPosition() const;
    // What Combo2 has chosen: one of the five arrangements, "全部", or a layout from the layout dialog.
    hz::LayoutChoice layoutChoice() const;
    // Where lookups take their glyphs now: the chosen library with the current spacing, or the chosen
    // font; null while the font item stands without a font.
    std::shared_ptr<hz::GlyphSource> glyphSource() const;
    // The byte layout of the choice, for the C header and the display preview ("全部": 横排's).
    hz::Layout chosenLayout() const;
    // Bits a dot the texts and exports are written at: the chosen font's depth while Combo1's font
    // item is chosen, otherwise one.
    int chosenDepth() const;

    QLineEdit* inputBox() const { return Text3; }
    QComboBox* libraryChooser() const { return Combo1; }
    QComboBox* arrangementChooser() const { return Combo2; }
    QTreeView* listView() const { return ListView1; }
    hz::gui::DotView* dotView() const { return Text1; }
    hz::gui::TextPanel* textPanel() const { return Picture3; }
    hz::gui::GradientPanel* topBand() const { return Picture6; }
    RainButton* command20(int index) const { return Command20[static_cast<std::size_t>(index)]; }
    RainButton* symbolKeysButton() const { return Command3; }
    RainButton* markKeysButton() const { return Command21; }
    RainButton* imageWindowButton() const { return OpenImageWindow; }
    hz::gui::KeyPanel* keyPanel() const { return Picture1; }

signals:
    // The key panel is to be hidden: every button-group click, every finished lookup, and a click on
    // the view, the text boxes, the list or its frame.
    void keyPanelHideRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createTopBand();
    void createOutputButtons();
    void placeControls();
    void connectSignals();
    void startUp();

    // The button group's actions.
    void deleteAllRecords();
    void exportAllRecords();
    void exportCurrentRecord();
    void chooseViewForeColor();
    void chooseViewBackColor();
    void toggleBackMark();
    void deleteCurrentRecord();
    void openMeters();
    void openDesigner();
    void openHelp();
    // "导出C头文件" and "液晶预览": the list's records as a C header (or in the form FormatChoice
    // names), and on a simulated display.
    void exportHeaderFile();
    void openPreview();
    // "图片取模": the picture window, starting from the layout and depth chosen here.
    void openImageWindow();
    // "自定义排列…": the layout dialog on the current record; what it chooses becomes Combo2's choice.
    void openLayoutDialog();

    // Opens a side window modally: the hourglass while it loads, the normal pointer while it is open.
    template <typename Dialog> void openSideWindow() {
        std::unique_ptr<Dialog> dialog;
        {
            hz::gui::WaitCursor hourglass;
            dialog = std::make_unique<Dialog>(this);
        }
        dialog->exec();
    }

    void openHomePage();
    void followCurrentRow();
    // The box of a layout from the layout dialog shows while that layout is Combo2's choice.
    void followLayoutChoice();
    // Where the program looked for its libraries, when neither place holds any; empty otherwise.
    QString librariesMissingText() const;
    // The text boxes and the list's texts follow the depth of what Combo1 has chosen.
    void followDepth();
    // The choice for what takes one layout, the header and the preview: "全部" is 横排.
    hz::LayoutChoice singleChoice() const;
    // The choice at the chosen depth; nothing, after telling the user why, when it has no form there.
    std::optional<hz::LayoutChoice> writableChoice(const hz::LayoutChoice& choice);
    void drawGlyph(const hz::GlyphRecord& record);

    QString folder;
    std::unique_ptr<hz::gui::Prompter> ownPrompter;
    hz::gui::Prompter* prompts = nullptr;
    hz::gui::GlyphListModel* list = nullptr;

    hz::gui::GradientPanel* Picture6 = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* Combo1 = nullptr;
    hz::gui::OtherFontItem* fontItem = nullptr; // Combo1's seventh item
    QComboBox* Combo2 = nullptr;
    hz::gui::LayoutChooser* layoutChooser = nullptr; // Combo2's items
    QLineEdit* Text3 = nullptr;
    RainButton* Command1 = nullptr;
    RainButton* Command3 = nullptr;
    RainButton* Command21 = nullptr;
    RainButton* ExportHeader = nullptr;
    QComboBox* FormatChoice = nullptr; // what ExportHeader writes: kExportFormats' labels
    QCheckBox* CompressCheck = nullptr; // "压缩": the header's glyphs coded small
    RainButton* OpenPreview = nullptr;
    RainButton* OpenImageWindow = nullptr;
    std::array<RainButton*, 12> Command20{}; // Index 1..11; [0] unused
    QProgressBar* ProgressBar1 = nullptr;
    std::array<hz::gui::LinkLabel*, 4> contactLabels{}; // Label5(5..8)
    QGroupBox* Frame2 = nullptr;
    QTreeView* ListView1 = nullptr;
    QLabel* Label2 = nullptr;
    hz::gui::DotView* Text1 = nullptr;
    QWidget* Picture4 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label6 = nullptr;
    hz::gui::TextPanel* Picture3 = nullptr;
    hz::gui::KeyPanel* Picture1 = nullptr; // the symbol key panel, with its shadow Picture2
    std::unique_ptr<hz::gui::ExportAction> exporter;
};
