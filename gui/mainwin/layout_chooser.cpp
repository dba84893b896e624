#include "gui/mainwin/layout_chooser.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace hz::gui {

LayoutChooser::LayoutChooser(QComboBox* combo) : QObject(combo), combo(combo) {
    for (int a = 0; a < hz::kArrangementCount; ++a) {
        const std::string_view text = hz::arrangementChoice(static_cast<hz::Arrangement>(a));
        combo->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    combo->addItem(QStringLiteral("全部"));
    combo->addItem(customItemText());
    connect(combo, &QComboBox::currentIndexChanged, this, &LayoutChooser::onIndexChanged);
}

int LayoutChooser::customItemIndex() const {
    return combo->count() - 1;
}

int LayoutChooser::layoutItemIndex() const {
    return custom ? kAllItem + 1 : -1;
}

hz::LayoutChoice LayoutChooser::choice() const {
    const int index = combo->currentIndex();
    if (index >= 0 && index < hz::kArrangementCount)
        return hz::LayoutChoice::of(static_cast<hz::Arrangement>(index));
    if (index == layoutItemIndex())
        return hz::LayoutChoice::of(*custom);
    return hz::LayoutChoice::all();
}

hz::Layout LayoutChooser::currentLayout() const {
    return choice().layout;
}

void LayoutChooser::useLayout(const hz::Layout& layout) {
    const QString name = QString::fromStdString(hz::layoutName(layout));
    const QSignalBlocker quiet(combo);
    if (custom)
        combo->setItemText(layoutItemIndex(), name);
    else
        combo->insertItem(customItemIndex(), name);
    custom = layout;
    chosenIndex = layoutItemIndex();
    combo->setCurrentIndex(chosenIndex);
    emit choiceChanged();
}

void LayoutChooser::onIndexChanged(int index) {
    if (index != customItemIndex() || index < 0) {
        chosenIndex = index;
        emit choiceChanged();
        return;
    }
    // "自定义排列…" is an action, not a choice: the box keeps showing what was chosen while the
    // dialog is open, and still does when it is cancelled.
    {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(chosenIndex);
    }
    emit customLayoutRequested();
}

} // namespace hz::gui
