#pragma once
// The pop-up key panel of 81 full-width symbols beside the input box. In insert mode a key puts its
// symbol into the input box and three caret keys move and delete; in mark mode a key becomes the mark
// the dot view draws for a set dot. A darker shadow panel sits under it, 8 px right and 7 px below.

#include "gui/common/gradient.h"

#include <QPointer>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace hz::gui {

class KeyPanel : public GradientPanel {
    Q_OBJECT
public:
    enum Mode : int { InsertMode = 0, MarkMode = 1 };
    static constexpr int kKeyCount = 81;

    // Creates the panel hidden, and its shadow "Picture2" as a sibling in parent (which must not be null).
    KeyPanel(QLineEdit* Text3, QWidget* parent);
    ~KeyPanel() override;

    void toggleInsertMode(); // "常用字符"
    void toggleMarkMode();   // "输入显示字符"; the caller checks that there is a record to redraw
    void hidePanel();        // clicks elsewhere close the panel

    bool isOpen() const { return !isHidden(); }
    int KeyPanelMode() const { return mode; }
    int LastHoverKey() const { return lastHoverKey; }

    // The symbol of key 0..80, in the order the keys stand on the panel, row by row.
    static QString keySymbol(int key);

signals:
    // Mark mode: a key made its symbol the new DotMark; the current record wants redrawing.
    void dotMarkChosen(const QString& mark);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createKeys();
    void createCaretKeys();
    void createLabel();
    void createShadow(QWidget* parent);

    void setLayoutFor(Mode newMode, int left);
    void toggleVisible();
    void keyClicked(int key);
    void keyHovered(int key);
    void backspace();
    void caretBack();
    void caretForward();

    QLineEdit* Text3;
    QPointer<QWidget> shadow;
    std::array<QPushButton*, kKeyCount> keys{};
    std::array<QPushButton*, 3> caretKeys{};
    QLabel* Label7 = nullptr;
    Mode mode = InsertMode;
    // -1 until the mouse has been over a key, so that the first key visited, key 0 included, shows.
    int lastHoverKey = -1;
};

} // namespace hz::gui
