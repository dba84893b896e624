#pragma once
// The spacing designer: places the 12x12 sample glyph inside a 16x16 cell with four arrows and hands
// the chosen blank columns (SpaceX) and rows (SpaceY) back to the program's settings on confirm.

#include "core/layout/arrangements.h"
#include "core/text/dot_matrix_text.h"

#include <QDialog>
#include <QString>
#include <array>

class QFrame;
class QLabel;
class QPlainTextEdit;
class RainButton;

namespace hz::gui {
class GradientPanel;
} // namespace hz::gui

class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    int spaceX() const { return X; }
    int spaceY() const { return Y; }
    const hz::Cell16& cell() const { return CellRows; }
    // The preview exactly as last written: sixteen lines, each ending in CR LF.
    const QString& previewText() const { return shownText; }

    // Rewrites the preview from the cell with the marks of the time the window opened.
    void ShowGlyph();

public slots:
    void arrowClick(int index);  // 0 left, 1 up, 2 right, 3 down
    void choiceClick(int index); // 0 confirm, 1 cancel

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void load();
    void writeLabels();

    hz::gui::GradientPanel* Picture1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    std::array<RainButton*, 4> RainButton1{};
    std::array<RainButton*, 2> RainButton2{};
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Shape1 = nullptr;

    int X = 2;
    int Y = 2;
    hz::Cell16 CellRows{};
    hz::Marks marks;
    QString shownText;
};
