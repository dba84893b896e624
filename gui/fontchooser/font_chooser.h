#pragma once
// FontChooser: picks a font for lookups. The installed fonts by family and style, the recent
// choices first, a search box over them (FontSearch, FontList), the size in dots (SizeBox), a
// font file that is not installed (FontFileButton) and a live sample drawn from the font source's
// own glyphs (SamplePreview). A font's cells are fixed or as wide as each glyph (WidthChoice), its
// ambiguous-width characters ("°", Greek) full or half width (AmbiguousChoice), its dots one bit
// or grey levels of 2, 4 or 8 bits (BppChoice; library files are one bit), its one-bit outlines
// drawn keeping strokes thinner than a dot or as the six libraries were (RenderChoice). FontFileButton
// takes a library file of the user's own as well: what probing it found is shown (LibraryFindings)
// before OK, or why it cannot be read, and OK stays off.

#include "gui/fontchooser/font_choice.h"

#include <QDialog>
#include <QTimer>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

namespace hz::gui {

class FontSample;
class Prompter;

class FontChooser : public QDialog {
    Q_OBJECT
public:
    // `recent` is offered first, the first of them chosen; `current` (the font in use) is chosen
    // instead when given. Library files are probed against the libraries in libraryFolder (empty:
    // the program's own).
    FontChooser(Prompter& prompter, const std::vector<FontChoice>& recent, const std::optional<FontChoice>& current,
                QWidget* parent = nullptr, std::string libraryFolder = {});

    // The font and size chosen, or the library file; nothing while no font is selected or while
    // the selected library file could not be made sense of.
    std::optional<FontChoice> choice() const;

    static constexpr int kDefaultSize = 16;
    static constexpr int kSampleDelayMs = 200;

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void fillList(const std::vector<FontChoice>& recent);

    QListWidgetItem* addItem(const QString& text, const FontChoice& choice, const QString& searchText, int row = -1);
    QListWidgetItem* addLibraryItem(const QString& path, const LibraryFileProbe& probe, const QString& prefix, int row);
    // A remembered library file's findings, or a new probe when the file has changed since.
    LibraryFileProbe findingsOf(const FontChoice& choice);
    const LibraryFileProbe* libraryEntry(const QListWidgetItem* item) const;
    void showLibraryEntry(const QString& path, const LibraryFileProbe& probe);
    void acceptIfAllowed();
    void select(const std::optional<FontChoice>& wanted);
    void filter(const QString& search);
    void followSelection();
    void chooseFontFile();
    // The sample follows the list and the size a moment after they stop changing: fitting a font
    // to a size the first time takes up to a second or so, too long for every row passed over.
    void sampleSoon();
    void updateSample();

    Prompter& prompter;
    QLineEdit* FontSearch = nullptr;
    QListWidget* FontList = nullptr;
    QSpinBox* SizeBox = nullptr;
    QComboBox* WidthChoice = nullptr;
    QComboBox* AmbiguousChoice = nullptr;
    QComboBox* BppChoice = nullptr;
    QComboBox* RenderChoice = nullptr;
    QPushButton* FontFileButton = nullptr;
    FontSample* SamplePreview = nullptr;
    QLabel* LibraryFindings = nullptr;
    QDialogButtonBox* buttons = nullptr;
    QTimer sampleTimer;
    std::string libraryFolder;
    // The entries that are library files (items are hidden, never removed, while the chooser is up).
    std::map<const QListWidgetItem*, LibraryFileProbe> libraryEntries;
};

} // namespace hz::gui
