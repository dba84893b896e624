#pragma once
// The help window: a tree of topics on the left, the text of the topic last chosen on the right, and
// a bar between them that shares out the width when dragged.

#include <QDialog>
#include <QPointF>

class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace hz::gui {
class SplitterBar;
} // namespace hz::gui

class Form13 : public QDialog {
    Q_OBJECT
public:
    explicit Form13(QWidget* parent = nullptr);

    // Drag states as the panes receive them: entering, leaving, or moving over the pane.
    enum DragState { DragEnter = 0, DragLeave = 1, DragOver = 2 };

    int treeWidth() const;

public slots:
    // A topic replaces the whole text; the root and the branches do nothing.
    void nodeClick(QTreeWidgetItem* node);
    // The bar dragged over the tree (x in the tree's coordinates) or over the text (x in its own).
    void dragOverTree(int x, int state);
    void dragOverText(int x, int state);

private:
    void createControls();
    void placeControls();
    void connectSignals();
    void load();
    void addTopics();
    void setTreeWidth(int width);
    void followPointer(QPointF globalPosition);

    QTreeWidget* TreeView1 = nullptr;
    hz::gui::SplitterBar* Command1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
};
