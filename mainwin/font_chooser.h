#pragma once
// FontChooser: picks a font for lookups. The installed fonts by family and style, the recent
// choices first, a search box over them (FontSearch, FontList), the size in dots (SizeBox), a
// font file that is not installed (FontFileButton) and a live sample drawn from the font source's
// own glyphs (SamplePreview).

#include "mainwin/font_choice.h"

#include <QDialog>
#include <QTimer>
#include <optional>
#include <vector>

class FontSample;
class Prompter;
class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;

class FontChooser : public QDialog {
    Q_OBJECT
public:
    // `recent` is offered first, the first of them chosen; `current` (the font in use) is chosen
    // instead when given.
    FontChooser(Prompter& prompter, const std::vector<FontChoice>& recent, const std::optional<FontChoice>& current,
                QWidget* parent = nullptr);

    // The font and size chosen; nothing while no font is selected.
    std::optional<FontChoice> choice() const;

    static constexpr int kDefaultSize = 16;
    static constexpr int kSampleDelayMs = 200;

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void fillList(const std::vector<FontChoice>& recent);

    QListWidgetItem* addItem(const QString& text, const FontChoice& choice, const QString& searchText, int row = -1);
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
    QPushButton* FontFileButton = nullptr;
    FontSample* SamplePreview = nullptr;
    QDialogButtonBox* buttons = nullptr;
    QTimer sampleTimer;
};
