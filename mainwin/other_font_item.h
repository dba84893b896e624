#pragma once
// Combo1's seventh item: "其他字体…" until a font is chosen, then the font and its size
// ("文泉驿正黑 20"). Activating it opens the FontChooser; a font that opens becomes the item's source
// and is remembered among the recent fonts. A cancelled chooser or a font that fails to open puts
// Combo1 back on the item it stood on before.

#include "mainwin/font_choice.h"

#include <QObject>
#include <QSettings>
#include <memory>
#include <optional>

class Prompter;
class QComboBox;
class QWidget;

class OtherFontItem : public QObject {
    Q_OBJECT
public:
    static constexpr int kIndex = 6;
    static inline const QString kCaption = QStringLiteral("其他字体…");

    // Adds the item to the combo, after the six libraries.
    OtherFontItem(QComboBox& combo, Prompter& prompter, QWidget* window);

    // The chosen font while the item is Combo1's current one; null otherwise.
    std::shared_ptr<hz::fontsource::FontSource> source() const;
    const std::optional<FontChoice>& choice() const { return chosen; }

    // Opens the chooser and takes its font: what activating the item does.
    void choose();

private:
    QComboBox& combo;
    Prompter& prompter;
    QWidget* window;
    QSettings settings;
    int settledIndex = 1; // the item Combo1 returns to when a choice comes to nothing
    std::optional<FontChoice> chosen;
    std::shared_ptr<hz::fontsource::FontSource> font;
};
