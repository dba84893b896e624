#pragma once
// The layout dialog ("自定义排列…"): choose any of the 48 byte layouts, by driver preset or by its
// five switches, and see the current record in it: the assembly and C texts as export writes them,
// and the dots read back from those bytes. Its second page finds the layout of bytes pasted from a
// user's firmware.

#include "core/glyph/glyph_record.h"
#include "core/layout/layout.h"
#include "core/library/glyph_reader.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace hz::gui {

class DotPicture;

class LayoutDialog : public QDialog {
    Q_OBJECT
public:
    // A character's glyph to match a paste against: faces receives it as the window's current source
    // draws it, first, then as other faces draw it. The status is the current source's.
    using ReferenceLookup = std::function<hz::LookupStatus(char32_t, std::vector<hz::DotCell>&)>;

    // record: the record to preview, or none. start: the layout shown first.
    LayoutDialog(const hz::GlyphRecord* record, const hz::Layout& start, ReferenceLookup reference,
                 QWidget* parent = nullptr);
    ~LayoutDialog() override;

    // The layout the switches show now.
    hz::Layout chosenLayout() const;
    void chooseLayout(const hz::Layout& layout);

private:
    void createControls();
    QWidget* createLayoutPage();
    QWidget* createMatchPage();
    void connectSignals();

    void updatePreview();
    void followPreset();
    void runMatch();
    void useMatch();

    std::optional<hz::GlyphRecord> record;
    ReferenceLookup reference;
    QString cFields; // the C preview's fields, for copying as array elements
    bool settingSwitches = false;

    QTabWidget* pages = nullptr;
    QListWidget* PresetList = nullptr;
    QComboBox* ScanChoice = nullptr;
    QComboBox* BitChoice = nullptr;
    QCheckBox* UpCheck = nullptr;
    QCheckBox* LeftCheck = nullptr;
    QCheckBox* InvertCheck = nullptr;
    QLabel* layoutLabel = nullptr;
    QPlainTextEdit* AsmPreview = nullptr;
    QPlainTextEdit* CPreview = nullptr;
    DotPicture* DotPreview = nullptr;
    QPushButton* CopyAsm = nullptr;
    QPushButton* CopyC = nullptr;
    QPlainTextEdit* PasteBox = nullptr;
    QLineEdit* PasteChar = nullptr;
    QPushButton* MatchButton = nullptr;
    QLabel* matchMessage = nullptr;
    QListWidget* MatchList = nullptr;
    QPushButton* UseButton = nullptr;
};

} // namespace hz::gui
