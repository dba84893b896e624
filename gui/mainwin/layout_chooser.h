#pragma once
// The arrangement chooser (Combo2) and what it holds: the five arrangements, "全部", the layout
// last chosen in the layout dialog (once there is one), and "自定义排列…", which asks for the
// dialog instead of being a choice itself.

#include "core/layout/layout_presets.h"

#include <QObject>
#include <QString>
#include <optional>

class QComboBox;

namespace hz::gui {

class LayoutChooser : public QObject {
    Q_OBJECT
public:
    static constexpr int kAllItem = hz::kArrangementCount; // "全部"

    // Fills the combo box, which stays owned by its parent.
    explicit LayoutChooser(QComboBox* combo);

    // What export all and export current write.
    hz::LayoutChoice choice() const;
    // The layout the dialog starts from: the chosen arrangement's or layout's; 横排's for "全部".
    hz::Layout currentLayout() const;
    // The item of the layout the dialog chose, if there is one.
    std::optional<hz::Layout> customLayout() const { return custom; }

    // Shows the layout as the item before "自定义排列…", in place of an earlier one, and chooses it.
    void useLayout(const hz::Layout& layout);

    static QString customItemText() { return QStringLiteral("自定义排列…"); }

signals:
    // "自定义排列…" was picked; the chooser has gone back to what was chosen before.
    void customLayoutRequested();
    // The choice is another one now: an item was picked, or the dialog's layout was put in.
    void choiceChanged();

private:
    void onIndexChanged(int index);
    int customItemIndex() const; // the item of "自定义排列…": always the last
    int layoutItemIndex() const; // the chosen layout's item; -1 before there is one

    QComboBox* combo;
    std::optional<hz::Layout> custom;
    int chosenIndex = 0;
};

} // namespace hz::gui
