#pragma once
// The scrolling panel of the current record's ten arrangement texts (Picture3). The five assembly
// boxes and the five C boxes share their places, so one set is visible at a time; the viewport
// shows three boxes and VScroll1 (0..2) moves the inner panel Picture5 by one box per step.
// While a layout from the layout dialog is the choice, a sixth box of twice the height follows the
// five, in both sets: ChosenLayoutText, the record's texts in that layout as export current writes
// them (VScroll1 then 0..4).

#include "core/glyph/glyph_record.h"
#include "core/layout/layout.h"

#include <QFrame>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QScrollBar;

namespace hz::gui {

class LinkLabel;

class TextPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int kBoxWidth = 329;
    static constexpr int kBoxHeight = 81;
    static constexpr int kBoxPitch = 80; // boxes overlap by their one-pixel border

    explicit TextPanel(QWidget* parent = nullptr);

    // Fills all ten boxes from the record at depth bits a dot, whichever set is visible. At more than
    // one bit the page arrangements' boxes say they are one-bit layouts.
    void showTexts(const hz::GlyphRecord& record, int depth = 1);
    void clearTexts();

    // Shows the box of a layout chosen in the layout dialog, scrolled into view, or hides it (none).
    // Its text is filled by the next showTexts.
    void setChosenLayout(const std::optional<hz::Layout>& layout);
    std::optional<hz::Layout> chosenLayout() const { return chosen; }

    // "汇编格式" and "C格式": which set of boxes is visible. The texts stay as they are.
    void showAssemblySet();
    void showCSet();
    bool showsCSet() const { return cSetShown; }

    QScrollBar* scrollBar() const { return VScroll1; }
    QWidget* innerPanel() const { return Picture5; }
    // Box k (0..4, arrangement order) of the assembly or the C set.
    QPlainTextEdit* assemblyBox(int k) const { return assemblyBoxes[static_cast<std::size_t>(k)]; }
    QPlainTextEdit* cBox(int k) const { return cBoxes[static_cast<std::size_t>(k)]; }
    // The arrow labels Label5(0..4), members of the window's link-label group.
    LinkLabel* arrowLabel(int k) const { return arrowLabels[static_cast<std::size_t>(k)]; }
    QPlainTextEdit* chosenLayoutBox() const { return chosenBox; }
    QLabel* chosenLayoutLabel() const { return chosenLabel; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void scrollTo(int value);

    QWidget* Picture5 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    std::array<QPlainTextEdit*, hz::kArrangementCount> assemblyBoxes{};
    std::array<QPlainTextEdit*, hz::kArrangementCount> cBoxes{};
    std::array<QLabel*, hz::kArrangementCount> nameLabels{};
    std::array<LinkLabel*, hz::kArrangementCount> arrowLabels{};
    QPlainTextEdit* chosenBox = nullptr;
    QLabel* chosenLabel = nullptr;
    std::optional<hz::Layout> chosen;
    QString chosenCFields; // the C fields of chosenBox's text, for "复制为数组元素"
    bool cSetShown = false;
};

} // namespace hz::gui
