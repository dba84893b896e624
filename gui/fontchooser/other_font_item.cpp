#include "gui/fontchooser/other_font_item.h"
#include "core/library/library_source.h"

#include "gui/common/prompter.h"
#include "gui/common/wait_cursor.h"
#include "gui/fontchooser/font_chooser.h"
#include "gui/fontchooser/font_problem_text.h"

#include <QComboBox>
#include <algorithm>

namespace hz::gui {

OtherFontItem::OtherFontItem(QComboBox& combo, Prompter& prompter, QWidget* window, std::string libraryFolder)
    : QObject(&combo), combo(combo), prompter(prompter), window(window), libraryFolder(std::move(libraryFolder)),
      settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("HzDot"), QStringLiteral("HzDot")) {
    combo.addItem(kCaption);
    settledIndex = std::max(0, combo.currentIndex());
    connect(&combo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index != kIndex)
            settledIndex = index;
    });
    connect(&combo, &QComboBox::activated, this, [this](int index) {
        if (index == kIndex)
            choose();
    });
}

std::shared_ptr<hz::GlyphSource> OtherFontItem::source() const {
    return combo.currentIndex() == kIndex ? font : nullptr;
}

void OtherFontItem::choose() {
    std::optional<FontChoice> picked;
    {
        FontChooser chooser(prompter, loadRecentFonts(settings), chosen, window, libraryFolder);
        if (chooser.exec() == QDialog::Accepted)
            picked = chooser.choice();
    }
    if (!picked) {
        combo.setCurrentIndex(settledIndex);
        return;
    }

    if (picked->library) {
        // The chooser probed the file and showed what it found; it is read with that geometry.
        take(*picked, std::make_shared<hz::UserLibrarySource>(picked->fontSpec.file, picked->library->geometry));
        return;
    }

    auto opened = [&] {
        WaitCursor hourglass;
        return hz::fontsource::FontSource::open(picked->fontSpec);
    }();
    if (!opened) {
        combo.setCurrentIndex(settledIndex);
        prompter.critical(window, QStringLiteral("无法使用该字体：\n%1").arg(fontProblemText(opened.problem())));
        return;
    }
    if (picked->name.isEmpty())
        picked->name = QString::fromStdString((*opened)->familyName());
    take(*picked, std::move(*opened));
}

void OtherFontItem::take(const FontChoice& picked, std::shared_ptr<hz::GlyphSource> source) {
    font = std::move(source);
    chosen = picked;
    rememberFont(settings, *chosen);
    combo.setItemText(kIndex, chosen->label());
    // A long family name is cut short in the combo; the tooltip says it all, and where it comes from.
    combo.setItemData(kIndex,
                      QStringLiteral("%1\n%2").arg(chosen->label(), QString::fromStdString(font->description())),
                      Qt::ToolTipRole);
    combo.setCurrentIndex(kIndex);
    settledIndex = kIndex;
    emit fontTaken();
}

} // namespace hz::gui
