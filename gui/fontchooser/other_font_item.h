#pragma once
// Combo1's seventh item: "其他字体…" until a font is chosen, then the font and its size
// ("文泉驿正黑 20"), or a library file of the user's own and its cell ("HZK24.bin 24"). Activating it
// opens the FontChooser; a font that opens, or a library file the chooser made sense of, becomes the
// item's source and is remembered among the recent fonts. A cancelled chooser or a font that fails
// to open puts Combo1 back on the item it stood on before.

#include "gui/fontchooser/font_choice.h"

#include <QObject>
#include <QSettings>
#include <memory>
#include <optional>
#include <string>

class QComboBox;
class QWidget;

namespace hz::gui {

class Prompter;

class OtherFontItem : public QObject {
    Q_OBJECT
public:
    static constexpr int kIndex = 6;
    static inline const QString kCaption = QStringLiteral("其他字体…");

    // Adds the item to the combo, after the six libraries. Library files are probed against the
    // libraries in libraryFolder.
    OtherFontItem(QComboBox& combo, Prompter& prompter, QWidget* window, std::string libraryFolder);

    // The chosen font or library file while the item is Combo1's current one; null otherwise.
    std::shared_ptr<hz::GlyphSource> source() const;
    const std::optional<FontChoice>& choice() const { return chosen; }
    // Whether the chosen source is a library file, whose refusals read as the six libraries' do.
    bool readsLibraryFile() const { return chosen && chosen->library; }

    // Opens the chooser and takes its font: what activating the item does.
    void choose();

signals:
    // A font or library file has become the item's source (perhaps the same file drawn otherwise).
    void fontTaken();

private:
    // Makes the source the item's, names the item after it and remembers the choice.
    void take(const FontChoice& picked, std::shared_ptr<hz::GlyphSource> source);

    QComboBox& combo;
    Prompter& prompter;
    QWidget* window;
    std::string libraryFolder;
    QSettings settings;
    int settledIndex = 1; // the item Combo1 returns to when a choice comes to nothing
    std::optional<FontChoice> chosen;
    std::shared_ptr<hz::GlyphSource> font;
};

} // namespace hz::gui
